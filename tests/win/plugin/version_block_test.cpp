// NpZel.dll's registration data, read back with the Windows version API as a
// browser reads it to learn the MIME type and the extension.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace zel {
namespace {

class VersionBlock : public ::testing::Test {
protected:
    void SetUp() override {
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeA(ZEL_NPZEL_PATH, &ignored);
        ASSERT_GT(size, 0u) << "no version block in " << ZEL_NPZEL_PATH;
        m_block.resize(size);
        ASSERT_TRUE(GetFileVersionInfoA(ZEL_NPZEL_PATH, 0, size, m_block.data()));
    }
    std::string Text(const std::string& key) {
        void* value = nullptr;
        UINT length = 0;
        const std::string query = "\\StringFileInfo\\040904e4\\" + key;
        if (!VerQueryValueA(m_block.data(), query.c_str(), &value, &length) || !value) return "<missing>";
        return std::string(static_cast<const char*>(value));
    }
    std::vector<char> m_block;
};

TEST_F(VersionBlock, NamesTheMimeTypeExtensionAndProduct) {
    const std::pair<const char*, const char*> entries[] = {
        {"MIMEType", "application/x-Zelscope"},
        {"FileExtents", "zel"},
        {"FileOpenName", "Zelscope Source File (*.zel, *.ser)"},
        {"FileDescription", "Lumora Zelscope Plug-in for Win32"},
        {"ProductName", "Lumora Zelscope"},
        {"InternalName", "NpZel"},
        {"OriginalFilename", "NpZel.dll"},
        {"FileVersion", "1, 0, 0, 1"},
        {"ProductVersion", "1, 0, 0, 1"},
    };
    for (const auto& [key, value] : entries) EXPECT_EQ(Text(key), value) << key;
}

TEST_F(VersionBlock, FixedPartAndTranslation) {
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(m_block.data(), "\\", &value, &length));
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000001u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000001u);
    EXPECT_EQ(fixed->dwFileOS, DWORD(VOS_NT_WINDOWS32));
    EXPECT_EQ(fixed->dwFileType, DWORD(VFT_DLL));
    ASSERT_TRUE(VerQueryValueA(m_block.data(), "\\VarFileInfo\\Translation", &value, &length));
    ASSERT_EQ(length, 4u);
    const auto* words = static_cast<const WORD*>(value);
    EXPECT_EQ(words[0], 0x0409);
    EXPECT_EQ(words[1], 0x04E4);
}

}  // namespace
}  // namespace zel
