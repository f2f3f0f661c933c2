#include <gtest/gtest.h>

#include "file_names.h"

namespace zel {
namespace {

TEST(FileNames, DeviceNamesAreRefusedWithAnyExtensionOrCaseAndOrdinaryDotsAreNot) {
    struct Case {
        std::string name;
        bool plain;
    };
    const Case cases[] = {
        {"v..1.jpg", true},      {"view.JPG", true},      {"...jpg", true},       {"nullify.jpg", true},
        {"com10.jpg", true},     {"lpt0.jpg", true},      {"console.jpg", true},  {"a b.jpg", true},
        {"NUL", false},          {"nul.jpg", false},      {"Con.tar.gz", false},  {"prn", false},
        {"aux .jpg", false},     {"COM1", false},         {"lpt9.JPG", false},    {"CONOUT$.jpg", false},
        {"com\xB9.jpg", false},  {"", false},             {".", false},           {"..", false},
        {"...", false},          {". .", false},          {"a/b.jpg", false},     {"..\\up.jpg", false},
        {"c:v.jpg", false},      {"v.jpg:stream", false}, {std::string("a\0b.jpg", 7), false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsPlainFileName(c.name), c.plain) << c.name;
}

TEST(FileNames, MorphPathsStayLocalAndNeverNameADevice) {
    struct Case {
        const char* path;
        bool openable;
    };
    const Case cases[] = {
        {"pair0.mor", true},          {"morphs/pair0.mor", true}, {"..\\morphs\\p.mor", true},
        {"C:\\movies\\p.mor", true},  {"/tmp/p.mor", true},       {"C:p.mor", true},
        {"\\\\host\\share\\m", false}, {"//host/share/m", false},  {"\\/host/m", false},
        {"\\\\?\\C:\\p.mor", false},  {"\\\\.\\COM1", false},     {"COM1", false},
        {"com1:", false},             {"C:\\dir\\nul.mor", false}, {"C:AUX", false},
        {"morphs/CON/p.mor", false},  {"", false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsOpenableMorphPath(c.path), c.openable) << c.path;
}

}  // namespace
}  // namespace zel
