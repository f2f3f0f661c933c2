// ZEL.OCX registered and unregistered by the real regsvr32.exe, the registry
// read back entry by entry; and the two ways registration can fail: a module
// without a type library, and unregistering once the type library is gone.
#include <gtest/gtest.h>

#include <windows.h>
#include <olectl.h>

#include <string>

#include "control_registry.h"
#include "guids.h"
#include "registration.h"

namespace zel {
namespace {

using namespace zel::control;
using test::ClassesKeyExists;
using test::GuidText;
using test::ReadClassesString;
using test::RunRegsvr32;

// regsvr32's exit code when DllRegisterServer or DllUnregisterServer fails.
constexpr DWORD kRegsvr32ServerFailed = 5;

class Registration : public ::testing::Test {
protected:
    void SetUp() override { test::RemoveZelRegistration(); }
    void TearDown() override { test::RemoveZelRegistration(); }

    const std::string m_ocx = test::OcxPath();
    const std::string m_quotedOcx = "\"" + m_ocx + "\"";
    const std::string m_control = "CLSID\\" + GuidText(kControlClsid);
    const std::string m_page = "CLSID\\" + GuidText(kPropPageClsid);
    const std::string m_typeLib = "TypeLib\\" + GuidText(kTypeLibId);
};

struct Expected {
    std::string key;
    const char* name;
    std::string value;
};

TEST_F(Registration, Regsvr32WritesEveryEntryAndItsUnregisterRemovesThemAll) {
    ASSERT_EQ(RunRegsvr32("/s " + m_quotedOcx), 0u);

    const std::string architecture = sizeof(void*) == 8 ? "win64" : "win32";
    const Expected entries[] = {
        {m_control, nullptr, "Zel Control"},
        {m_control + "\\InprocServer32", nullptr, m_ocx},
        {m_control + "\\InprocServer32", "ThreadingModel", "Apartment"},
        {m_control + "\\ProgID", nullptr, "ZEL.ZelCtrl.1"},
        {m_control + "\\ToolboxBitmap32", nullptr, m_ocx + ", 1"},
        {m_control + "\\MiscStatus", nullptr, "0"},
        {m_control + "\\MiscStatus\\1", nullptr, "131473"},
        {m_control + "\\TypeLib", nullptr, GuidText(kTypeLibId)},
        {m_control + "\\Version", nullptr, "1.0"},
        {"ZEL.ZelCtrl.1", nullptr, "Zel Control"},
        {"ZEL.ZelCtrl.1\\CLSID", nullptr, GuidText(kControlClsid)},
        {m_page, nullptr, "Zel Property Page"},
        {m_page + "\\InprocServer32", nullptr, m_ocx},
        {m_page + "\\InprocServer32", "ThreadingModel", "Apartment"},
        // The type library, registered from the module itself.
        {m_typeLib + "\\1.0", nullptr, "zel OLE Control module"},
        {m_typeLib + "\\1.0\\409\\" + architecture, nullptr, m_ocx},
        {"Interface\\" + GuidText(kDispatchIid), nullptr, "_DZel"},
        {"Interface\\" + GuidText(kDispatchIid) + "\\TypeLib", nullptr, GuidText(kTypeLibId)},
        {"Interface\\" + GuidText(kEventsIid), nullptr, "_DZelEvents"},
    };
    for (const Expected& entry : entries) {
        EXPECT_EQ(ReadClassesString(entry.key, entry.name).value_or("<missing>"), entry.value)
            << entry.key << " " << (entry.name ? entry.name : "(default)");
    }
    for (const char* mark : {"\\Control", "\\Insertable"}) {
        EXPECT_TRUE(ClassesKeyExists(m_control + mark)) << mark;
    }
    EXPECT_TRUE(ClassesKeyExists("ZEL.ZelCtrl.1\\Insertable"));
    // The property page class is created by its CLSID only.
    EXPECT_FALSE(ClassesKeyExists(m_page + "\\ProgID"));
    EXPECT_FALSE(ClassesKeyExists(kPropPageProgId));
    EXPECT_FALSE(ClassesKeyExists(m_page + "\\Insertable"));

    ASSERT_EQ(RunRegsvr32("/u /s " + m_quotedOcx), 0u);
    for (const std::string& key : {m_control, m_page, std::string("ZEL.ZelCtrl.1"), m_typeLib,
                                   "Interface\\" + GuidText(kDispatchIid), "Interface\\" + GuidText(kEventsIid)}) {
        EXPECT_FALSE(ClassesKeyExists(key)) << key << " is left after unregistering";
    }
}

TEST_F(Registration, AModuleWithoutATypeLibraryRegistersNoClass) {
    // The test program itself has no TYPELIB resource (and no string table).
    EXPECT_EQ(RegisterServer(GetModuleHandleA(nullptr)), SELFREG_E_TYPELIB);
    for (const std::string& key : {m_control, m_page, std::string("ZEL.ZelCtrl.1"), m_typeLib}) {
        EXPECT_FALSE(ClassesKeyExists(key)) << key;
    }
}

TEST_F(Registration, UnregisteringWithoutTheTypeLibraryFailsAndKeepsBothClasses) {
    ASSERT_EQ(RunRegsvr32("/s " + m_quotedOcx), 0u);
    ASSERT_EQ(RegDeleteTreeA(HKEY_CLASSES_ROOT, m_typeLib.c_str()), ERROR_SUCCESS);

    EXPECT_EQ(UnregisterServer(GetModuleHandleA(nullptr)), SELFREG_E_TYPELIB);
    EXPECT_EQ(RunRegsvr32("/u /s " + m_quotedOcx), kRegsvr32ServerFailed);
    EXPECT_EQ(ReadClassesString(m_control).value_or("<missing>"), "Zel Control");
    EXPECT_EQ(ReadClassesString("ZEL.ZelCtrl.1\\CLSID").value_or("<missing>"), GuidText(kControlClsid));
    EXPECT_EQ(ReadClassesString(m_page).value_or("<missing>"), "Zel Property Page");
}

}  // namespace
}  // namespace zel
