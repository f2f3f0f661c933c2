// ZelSetup.exe's resources as stored: dialog 101 (caption with its trailing
// space, styles, size, font, items and positions), the four result strings and
// icon group 104.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include "wine_path.h"

namespace zel {
namespace {

using test::WindowsPath;

// Reads the parts of a DLGTEMPLATE: a WORD array of a resource id or a
// NUL-terminated UTF-16 string, aligned as the template format says.
class TemplateReader {
public:
    explicit TemplateReader(const BYTE* at) : m_at(at) {}
    template <class T>
    T Take() {
        T value;
        std::memcpy(&value, m_at, sizeof value);
        m_at += sizeof value;
        return value;
    }
    std::string Text() {  // sz_Or_Ord read as text ("#id" for an ordinal)
        WORD first = Take<WORD>();
        if (first == 0xFFFF) return "#" + std::to_string(Take<WORD>());
        std::string text;
        while (first != 0) {
            text.push_back(char(first));
            first = Take<WORD>();
        }
        return text;
    }
    void AlignToDword(const BYTE* base) {
        while ((m_at - base) % 4 != 0) ++m_at;
    }

private:
    const BYTE* m_at;
};

struct Item {
    DWORD style;
    short x, y, cx, cy;
    WORD id;
    std::string windowClass, text;
};

class SetupResources : public ::testing::Test {
protected:
    void SetUp() override {
        m_module = LoadLibraryExA(WindowsPath(ZEL_SETUP_PATH).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(m_module, nullptr);
    }
    void TearDown() override { FreeLibrary(m_module); }
    HMODULE m_module = nullptr;
};

TEST_F(SetupResources, Dialog101IsLaidOutAsStored) {
    HRSRC found = FindResourceA(m_module, MAKEINTRESOURCEA(101), MAKEINTRESOURCEA(5) /* RT_DIALOG */);
    ASSERT_NE(found, nullptr);
    const BYTE* base = static_cast<const BYTE*>(LockResource(LoadResource(m_module, found)));
    TemplateReader reader(base);
    const DWORD style = reader.Take<DWORD>();
    reader.Take<DWORD>();  // extended style
    const WORD count = reader.Take<WORD>();
    reader.Take<short>();
    reader.Take<short>();
    const short cx = reader.Take<short>();
    const short cy = reader.Take<short>();
    EXPECT_EQ(reader.Text(), "");  // no menu
    EXPECT_EQ(reader.Text(), "");  // the standard dialog class
    EXPECT_EQ(reader.Text(), "Lumora Viewer Installation ");
    EXPECT_EQ(reader.Take<WORD>(), 10);
    EXPECT_EQ(reader.Text(), "System");
    EXPECT_EQ(cx, 214);
    EXPECT_EQ(cy, 64);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_TRUE((style & WS_CAPTION) == WS_CAPTION);
    EXPECT_TRUE(style & DS_MODALFRAME);
    EXPECT_TRUE(style & DS_CENTER);
    EXPECT_FALSE(style & WS_SYSMENU);  // hence no close box
    ASSERT_EQ(count, 4);

    Item items[4];
    for (Item& item : items) {
        reader.AlignToDword(base);
        item.style = reader.Take<DWORD>();
        reader.Take<DWORD>();
        item.x = reader.Take<short>();
        item.y = reader.Take<short>();
        item.cx = reader.Take<short>();
        item.cy = reader.Take<short>();
        item.id = reader.Take<WORD>();
        item.windowClass = reader.Text();
        item.text = reader.Text();
        reader.Take<WORD>();  // creation data
    }
    // Button, static, static, static: class ordinals 0x80 and 0x82.
    EXPECT_EQ(items[0].windowClass, "#128");
    EXPECT_EQ(items[0].id, IDOK);
    EXPECT_EQ(items[0].text, "OK");
    EXPECT_TRUE(items[0].style & WS_TABSTOP);
    EXPECT_EQ((std::vector<short>{items[0].x, items[0].y, items[0].cx, items[0].cy}),
              (std::vector<short>{73, 43, 67, 12}));
    EXPECT_EQ(items[1].id, 1002);
    EXPECT_EQ((std::vector<short>{items[1].x, items[1].y, items[1].cx, items[1].cy}),
              (std::vector<short>{54, 7, 152, 14}));
    EXPECT_EQ(items[2].id, 1003);
    EXPECT_EQ((std::vector<short>{items[2].x, items[2].y, items[2].cx, items[2].cy}),
              (std::vector<short>{54, 24, 149, 12}));
    for (const Item* text : {&items[1], &items[2]}) {
        EXPECT_EQ(text->windowClass, "#130");
        EXPECT_EQ(text->text, "");
        EXPECT_EQ(text->style & SS_TYPEMASK, DWORD(SS_LEFT));
        EXPECT_TRUE(text->style & WS_GROUP);
    }
    // The static class, by its ordinal or by its name: the dialog manager reads both.
    EXPECT_TRUE(items[3].windowClass == "#130" || lstrcmpiA(items[3].windowClass.c_str(), "Static") == 0)
        << items[3].windowClass;
    EXPECT_EQ(items[3].style & SS_TYPEMASK, DWORD(SS_ICON));
    EXPECT_EQ(items[3].text, "#104");
    EXPECT_EQ((std::vector<short>{items[3].x, items[3].y, items[3].cx, items[3].cy}),
              (std::vector<short>{22, 16, 13, 13}));
}

TEST_F(SetupResources, TheResultStringsAreStoredAsTheyAre) {
    const std::pair<UINT, const char*> strings[] = {{1, "Plug-in Installation Compete!"},
                                                    {2, "Plug-in Installation Failed!"},
                                                    {3, "ActiveX Control Registration Successful!"},
                                                    {4, "ActiveX Control Registration Failed!"}};
    for (const auto& [id, text] : strings) {
        char loaded[256] = {};
        LoadStringA(m_module, id, loaded, sizeof loaded);
        EXPECT_STREQ(loaded, text) << id;
    }
}

TEST_F(SetupResources, IconGroup104HoldsOne32By32ImageOf16Colours) {
    HRSRC found = FindResourceA(m_module, MAKEINTRESOURCEA(104), MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */);
    ASSERT_NE(found, nullptr);
    const BYTE* group = static_cast<const BYTE*>(LockResource(LoadResource(m_module, found)));
    WORD count = 0;
    std::memcpy(&count, group + 4, 2);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(group[6], 32);   // width
    EXPECT_EQ(group[7], 32);   // height
    EXPECT_EQ(group[8], 16);   // colours
}

}  // namespace
}  // namespace zel
