// ZEL.OCX's resources read back from the module by the ids of guids.h: the
// version block, the string table, the About box and property page templates,
// the toolbox bitmap, the icon group and the stored type library.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "control_registry.h"
#include "guids.h"
#include "version_info.h"

namespace zel {
namespace {

using namespace zel::control;

// Reads a DLGTEMPLATE in order: numbers, and sz_Or_Ord fields as text ("#N"
// for an ordinal); items start on DWORD boundaries.
class TemplateReader {
public:
    TemplateReader(const BYTE* base, DWORD size) : m_base(base), m_at(base), m_end(base + size) {}
    template <class T>
    T Take() {
        T value{};
        if (m_at + sizeof value > m_end) {
            m_overrun = true;
            return value;
        }
        std::memcpy(&value, m_at, sizeof value);
        m_at += sizeof value;
        return value;
    }
    std::string Text() {
        WORD first = Take<WORD>();
        if (first == 0xFFFF) return "#" + std::to_string(Take<WORD>());
        std::string text;
        for (; first != 0 && !m_overrun; first = Take<WORD>()) text.push_back(char(first));
        return text;
    }
    void AlignToDword() {
        while ((m_at - m_base) % 4 != 0) ++m_at;
    }
    bool Overrun() const { return m_overrun; }

private:
    const BYTE* m_base;
    const BYTE* m_at;
    const BYTE* m_end;
    bool m_overrun = false;
};

struct Dialog {
    DWORD style = 0;
    std::vector<short> frame;  // x, y, cx, cy
    std::string menu, windowClass, caption, font;
    WORD pointSize = 0;
    struct Item {
        DWORD style;
        std::vector<short> frame;
        WORD id;
        std::string windowClass, text;
    };
    std::vector<Item> items;
};

class ModuleResources : public ::testing::Test {
protected:
    void SetUp() override {
        m_module = LoadLibraryExA(test::OcxPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(m_module, nullptr) << test::OcxPath();
    }
    void TearDown() override {
        if (m_module) FreeLibrary(m_module);
    }

    std::vector<BYTE> Resource(int id, LPCSTR type) {
        HRSRC found = FindResourceA(m_module, MAKEINTRESOURCEA(id), type);
        if (!found) return {};
        const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(m_module, found)));
        return data ? std::vector<BYTE>(data, data + SizeofResource(m_module, found)) : std::vector<BYTE>{};
    }

    Dialog ReadDialog(int id) {
        const std::vector<BYTE> bytes = Resource(id, MAKEINTRESOURCEA(5) /* RT_DIALOG */);
        Dialog dialog;
        if (bytes.empty()) {
            ADD_FAILURE() << "no dialog " << id;
            return dialog;
        }
        TemplateReader reader(bytes.data(), DWORD(bytes.size()));
        dialog.style = reader.Take<DWORD>();
        reader.Take<DWORD>();  // extended style
        const WORD count = reader.Take<WORD>();
        for (int i = 0; i < 4; ++i) dialog.frame.push_back(reader.Take<short>());
        dialog.menu = reader.Text();
        dialog.windowClass = reader.Text();
        dialog.caption = reader.Text();
        if (dialog.style & DS_SETFONT) {
            dialog.pointSize = reader.Take<WORD>();
            dialog.font = reader.Text();
        }
        for (WORD i = 0; i < count && !reader.Overrun(); ++i) {
            reader.AlignToDword();
            Dialog::Item item{};
            item.style = reader.Take<DWORD>();
            reader.Take<DWORD>();
            for (int j = 0; j < 4; ++j) item.frame.push_back(reader.Take<short>());
            item.id = reader.Take<WORD>();
            item.windowClass = reader.Text();
            item.text = reader.Text();
            reader.Take<WORD>();  // creation data
            dialog.items.push_back(item);
        }
        EXPECT_FALSE(reader.Overrun()) << "dialog " << id << " is cut short";
        return dialog;
    }

    HMODULE m_module = nullptr;
};

using Frame = std::vector<short>;
constexpr char kButton[] = "#128";  // the predefined classes by their ordinals
constexpr char kStatic[] = "#130";

TEST_F(ModuleResources, StringTableNamesBothClassesAndThePageCaption) {
    const std::pair<int, const char*> strings[] = {
        {kIdsControlTypeName, "Zel Control"}, {kIdsPropPageTypeName, "Zel Property Page"}, {kIdsPropPageCaption, "General"}};
    for (const auto& [id, text] : strings) {
        char loaded[256] = {};
        EXPECT_GT(LoadStringA(m_module, UINT(id), loaded, sizeof loaded), 0) << id;
        EXPECT_STREQ(loaded, text) << id;
    }
}

TEST_F(ModuleResources, AboutBoxIsAModalPopupWithIconTwoLinesAndOk) {
    const Dialog about = ReadDialog(kIddAboutBox);
    EXPECT_EQ(about.caption, "About Zel Control");
    EXPECT_EQ(about.frame, (Frame{34, 22, 260, 55}));
    for (DWORD style : {DWORD(WS_POPUP), DWORD(WS_CAPTION), DWORD(WS_SYSMENU), DWORD(DS_MODALFRAME)}) {
        EXPECT_EQ(about.style & style, style) << std::hex << style;
    }
    EXPECT_FALSE(about.style & WS_CHILD);
    EXPECT_EQ(about.pointSize, 8);
    EXPECT_EQ(about.font, "MS Sans Serif");
    EXPECT_EQ(about.menu, "");
    EXPECT_EQ(about.windowClass, "");
    ASSERT_EQ(about.items.size(), 4u);

    const Dialog::Item& icon = about.items[0];
    // The static class by its ordinal or by its name: the dialog manager reads both.
    EXPECT_TRUE(icon.windowClass == kStatic || lstrcmpiA(icon.windowClass.c_str(), "Static") == 0) << icon.windowClass;
    EXPECT_EQ(icon.style & SS_TYPEMASK, DWORD(SS_ICON));
    EXPECT_EQ(icon.text, "#" + std::to_string(kIdiControl));
    EXPECT_EQ(icon.frame, (Frame{10, 10, 20, 20}));

    const Dialog::Item& title = about.items[1];
    EXPECT_EQ(title.windowClass, kStatic);
    EXPECT_EQ(title.text, "Zel Control, Version 1.0");
    EXPECT_EQ(title.frame, (Frame{40, 10, 170, 8}));

    const Dialog::Item& notice = about.items[2];
    EXPECT_EQ(notice.windowClass, kStatic);
    EXPECT_EQ(notice.style & SS_TYPEMASK, DWORD(SS_LEFT));
    EXPECT_FALSE(notice.text.empty());
    EXPECT_EQ(notice.frame, (Frame{40, 25, 170, 8}));

    const Dialog::Item& ok = about.items[3];
    EXPECT_EQ(ok.windowClass, kButton);
    EXPECT_EQ(ok.id, IDOK);
    EXPECT_EQ(ok.text, "OK");
    EXPECT_EQ(ok.style & BS_TYPEMASK, DWORD(BS_DEFPUSHBUTTON));
    EXPECT_EQ(ok.frame, (Frame{221, 7, 32, 14}));
}

TEST_F(ModuleResources, PropertyPageIsACaptionlessChildWithItsPlaceholderText) {
    const Dialog page = ReadDialog(kIddPropPage);
    EXPECT_EQ(page.style & WS_CHILD, DWORD(WS_CHILD));
    EXPECT_EQ(page.style & (WS_POPUP | WS_CAPTION), 0u);
    EXPECT_EQ(page.caption, "");
    EXPECT_EQ(page.frame[2], 250);
    EXPECT_EQ(page.frame[3], 62);
    EXPECT_EQ(page.pointSize, 8);
    EXPECT_EQ(page.font, "MS Sans Serif");
    ASSERT_EQ(page.items.size(), 1u);
    EXPECT_EQ(page.items[0].windowClass, kStatic);
    EXPECT_EQ(page.items[0].text, "TODO: Place controls to manipulate properties of Zel Control on this dialog.");
    EXPECT_EQ(page.items[0].frame, (Frame{7, 25, 229, 16}));
}

TEST_F(ModuleResources, ToolboxBitmapAndIconsAre16Colours) {
    const std::vector<BYTE> bitmap = Resource(kIdbToolbox, MAKEINTRESOURCEA(2) /* RT_BITMAP */);
    ASSERT_GE(bitmap.size(), sizeof(BITMAPINFOHEADER));
    BITMAPINFOHEADER header;
    std::memcpy(&header, bitmap.data(), sizeof header);
    EXPECT_EQ(header.biWidth, 16);
    EXPECT_EQ(header.biHeight, 15);
    EXPECT_EQ(header.biBitCount, 4);

    // GRPICONDIR: reserved, type, count, then 14-byte entries of width,
    // height, colour count, reserved, planes, bit count, size and image id.
    const std::vector<BYTE> group = Resource(kIdiControl, MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */);
    ASSERT_GE(group.size(), 6u);
    WORD count = 0;
    std::memcpy(&count, group.data() + 4, 2);
    ASSERT_EQ(count, 2);
    ASSERT_EQ(group.size(), 6u + 14u * count);
    std::vector<int> sizes;
    for (WORD i = 0; i < count; ++i) {
        const BYTE* entry = group.data() + 6 + 14 * i;
        EXPECT_EQ(entry[0], entry[1]) << "square";
        EXPECT_EQ(entry[2], 16) << "colours";
        sizes.push_back(entry[0]);
        WORD imageId = 0;
        std::memcpy(&imageId, entry + 12, 2);
        const std::vector<BYTE> image = Resource(imageId, MAKEINTRESOURCEA(3) /* RT_ICON */);
        ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER));
        BITMAPINFOHEADER imageHeader;
        std::memcpy(&imageHeader, image.data(), sizeof imageHeader);
        EXPECT_EQ(imageHeader.biWidth, entry[0]);
        EXPECT_EQ(imageHeader.biBitCount, 4);
    }
    EXPECT_EQ(sizes, (std::vector<int>{32, 16}));
    // The About box draws it through the icon loader.
    EXPECT_NE(LoadImageA(m_module, MAKEINTRESOURCEA(kIdiControl), IMAGE_ICON, 16, 16, 0), nullptr);
}

TEST_F(ModuleResources, TypeLibraryIsStoredAsTypelib1) {
    const std::vector<BYTE> library = Resource(1, "TYPELIB");
    ASSERT_GE(library.size(), 4u);
    EXPECT_EQ(std::string(library.begin(), library.begin() + 4), "MSFT");
}

TEST_F(ModuleResources, VersionBlockDescribesTheControlModule) {
    const test::VersionInfo info(test::OcxPath());
    const VS_FIXEDFILEINFO* fixed = info.Fixed();
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000001u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000001u);
    EXPECT_EQ(fixed->dwFileOS, DWORD(VOS__WINDOWS32));
    EXPECT_EQ(fixed->dwFileType, DWORD(VFT_DLL));
    EXPECT_EQ(info.Translation(), (std::pair<WORD, WORD>{0x0409, 1200}));

    const std::pair<const char*, const char*> entries[] = {
        {"FileVersion", "1, 0, 0, 1"},
        {"ProductVersion", "1, 0, 0, 1"},
        {"FileDescription", "zel OLE Control Module"},
        {"ProductName", "zel OLE Control Module"},
        {"InternalName", "ZEL"},
        {"OriginalFilename", "ZEL.OCX"},
        {"CompanyName", ""},
        {"LegalTrademarks", ""},
    };
    for (const auto& [key, text] : entries) EXPECT_EQ(info.Text("040904B0", key), text) << key;
    // VerQueryValue matches the block's name in any case; the stored name is upper case.
    const std::vector<BYTE> raw = Resource(1, MAKEINTRESOURCEA(16) /* RT_VERSION */);
    const std::u16string name = u"040904B0";
    const auto* bytes = reinterpret_cast<const BYTE*>(name.data());
    EXPECT_NE(std::search(raw.begin(), raw.end(), bytes, bytes + name.size() * 2), raw.end());
}

}  // namespace
}  // namespace zel
