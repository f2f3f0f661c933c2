// ZelSetup.exe run as a user runs it: from a folder holding the two files, with
// Navigator's keys prepared in the registry. The test finds the dialog by its
// caption, reads both result lines, checks that Escape does not close it and
// presses OK; then it looks at the copies and the registration.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "control_registry.h"
#include "guids.h"
#include "scoped_handle.h"
#include "temp_dir.h"
#include "wine_path.h"

namespace zel {
namespace {

using test::WindowsPath;

namespace fs = std::filesystem;

constexpr char kNavigator[] = "Software\\Netscape\\Netscape Navigator";

void SetValue(const std::string& keyPath, const char* name, const std::string& text) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    win32::ScopedRegistryKey owned(key);
    if (name) {
        ASSERT_EQ(RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                 DWORD(text.size() + 1)),
                  ERROR_SUCCESS);
    }
}

bool KeyExists(HKEY root, const char* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

struct SetupRun {
    std::string pluginLine;
    std::string controlLine;
    bool closedByEscape = true;
    DWORD exitCode = 1;
};

class Installer : public ::testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Netscape");
        test::RemoveZelRegistration();
        m_source = m_dir.Path() / "source";
        fs::create_directories(m_source);
        fs::copy_file(WindowsPath(ZEL_NPZEL_PATH), m_source / "NpZel.dll");
        fs::copy_file(test::OcxPath(), m_source / "zel.ocx");
        char system[MAX_PATH];
        GetSystemDirectoryA(system, MAX_PATH);
        m_installedControl = fs::path(system) / "zel.ocx";
    }
    void TearDown() override {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Netscape");
        test::RemoveZelRegistration();
        std::error_code ignored;
        fs::remove(m_installedControl, ignored);
    }
    std::string PluginsDirectory(const std::string& version) {
        const fs::path folder = m_dir.Path() / ("plugins-" + version);
        fs::create_directories(folder);
        SetValue(std::string(kNavigator) + "\\" + version + "\\Main", "Plugins Directory", folder.string());
        return folder.string();
    }

    SetupRun Run() {
        SetupRun run;
        std::string command = "\"" + WindowsPath(ZEL_SETUP_PATH) + "\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        const std::string folder = m_source.string();
        if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                            &process)) {
            ADD_FAILURE() << "ZelSetup.exe did not start: " << GetLastError();
            return run;
        }
        win32::ScopedKernelHandle processHandle(process.hProcess);
        win32::ScopedKernelHandle threadHandle(process.hThread);
        HWND dialog = nullptr;
        // The dialog exists while its steps still run; its lines are final once it shows.
        for (int i = 0; i < 600 && !(dialog && IsWindowVisible(dialog)); ++i) {
            dialog = FindWindowA("#32770", "Lumora Viewer Installation ");
            if (!dialog || !IsWindowVisible(dialog)) Sleep(50);
        }
        if (!dialog) {
            TerminateProcess(processHandle.Get(), 1);
            ADD_FAILURE() << "no dialog captioned \"Lumora Viewer Installation \"";
            return run;
        }
        char text[256] = {};
        GetDlgItemTextA(dialog, 1002, text, sizeof text);
        run.pluginLine = text;
        GetDlgItemTextA(dialog, 1003, text, sizeof text);
        run.controlLine = text;
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);  // what Escape sends
        run.closedByEscape = WaitForSingleObject(processHandle.Get(), 500) == WAIT_OBJECT_0;
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        if (WaitForSingleObject(processHandle.Get(), 10000) != WAIT_OBJECT_0) {
            TerminateProcess(processHandle.Get(), 1);
            ADD_FAILURE() << "OK did not end the installer";
        }
        GetExitCodeProcess(processHandle.Get(), &run.exitCode);
        return run;
    }

    test::TempDir m_dir;
    fs::path m_source;
    fs::path m_installedControl;
};

constexpr char kPluginDone[] = "Plug-in Installation Compete!";
constexpr char kPluginFailed[] = "Plug-in Installation Failed!";
constexpr char kControlDone[] = "ActiveX Control Registration Successful!";
constexpr char kControlFailed[] = "ActiveX Control Registration Failed!";

TEST_F(Installer, WithoutNavigatorThePluginFailsAndTheControlIsStillRegistered) {
    const SetupRun run = Run();
    EXPECT_EQ(run.pluginLine, kPluginFailed);
    EXPECT_EQ(run.controlLine, kControlDone);
    EXPECT_FALSE(run.closedByEscape);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(fs::exists(m_installedControl));
    // ZEL.OCX registered from where it was copied to.
    EXPECT_EQ(test::ReadClassesString("ZEL.ZelCtrl.1\\CLSID"), test::GuidText(control::kControlClsid));
    const auto server = test::ReadClassesString("CLSID\\" + test::GuidText(control::kControlClsid) + "\\InprocServer32");
    ASSERT_TRUE(server.has_value());
    EXPECT_EQ(fs::path(*server), m_installedControl);
}

TEST_F(Installer, AUsersKeyInAnyCaseIsNoVersion) {
    SetValue(std::string(kNavigator) + "\\USERS", nullptr, "");
    EXPECT_EQ(Run().pluginLine, kPluginDone);
}

TEST_F(Installer, EveryVersionReceivesThePluginReplacingAnOlderCopy) {
    const std::string first = PluginsDirectory("4.08");
    const std::string second = PluginsDirectory("4.5");
    std::ofstream(fs::path(first) / "NpZel.dll") << "an older copy";
    EXPECT_EQ(Run().pluginLine, kPluginDone);
    for (const std::string& folder : {first, second}) {
        EXPECT_EQ(fs::file_size(fs::path(folder) / "NpZel.dll"), fs::file_size(m_source / "NpZel.dll")) << folder;
    }
}

TEST_F(Installer, AVersionWithoutMainFailsAndLaterVersionsAreNotVisited) {
    SetValue(std::string(kNavigator) + "\\A-first", nullptr, "");
    const std::string later = PluginsDirectory("B-second");
    EXPECT_EQ(Run().pluginLine, kPluginFailed);
    EXPECT_FALSE(fs::exists(fs::path(later) / "NpZel.dll"));
}

TEST_F(Installer, AFailedCopyFailsTheStepButLaterVersionsStillReceiveTheirs) {
    SetValue(std::string(kNavigator) + "\\A-first\\Main", "Plugins Directory", (m_dir.Path() / "gone").string());
    const std::string later = PluginsDirectory("B-second");
    EXPECT_EQ(Run().pluginLine, kPluginFailed);
    EXPECT_EQ(fs::file_size(fs::path(later) / "NpZel.dll"), fs::file_size(m_source / "NpZel.dll"));
}

TEST_F(Installer, AMissingPluginFileIsAFailureNotASuccess) {
    PluginsDirectory("4.5");
    fs::remove(m_source / "NpZel.dll");
    EXPECT_EQ(Run().pluginLine, kPluginFailed);
}

TEST_F(Installer, AMissingOrUnregistrableControlIsAFailure) {
    fs::remove(m_source / "zel.ocx");
    SetupRun run = Run();
    EXPECT_EQ(run.controlLine, kControlFailed);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "ZEL.ZelCtrl.1"));
    std::ofstream(m_source / "zel.ocx") << "not a DLL at all";
    run = Run();
    EXPECT_EQ(run.controlLine, kControlFailed);
}

}  // namespace
}  // namespace zel
