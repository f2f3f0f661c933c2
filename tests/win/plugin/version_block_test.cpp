// NpZel.dll's registration data, read back with the Windows version API as a
// browser reads it to learn the MIME type and the extension.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <utility>

#include "version_info.h"

namespace zel {
namespace {

class VersionBlock : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_info.Valid()) << "no version block in " << ZEL_NPZEL_PATH; }
    std::string Text(const std::string& key) { return m_info.Text("040904e4", key); }
    test::VersionInfo m_info{ZEL_NPZEL_PATH};
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
    const VS_FIXEDFILEINFO* fixed = m_info.Fixed();
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000001u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000001u);
    EXPECT_EQ(fixed->dwFileOS, DWORD(VOS_NT_WINDOWS32));
    EXPECT_EQ(fixed->dwFileType, DWORD(VFT_DLL));
    EXPECT_EQ(m_info.Translation(), (std::pair<WORD, WORD>{0x0409, 0x04E4}));
}

}  // namespace
}  // namespace zel
