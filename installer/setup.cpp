// ZelSetup.exe: both steps run while dialog 101 is being set up, so the dialog
// appears with both results in place; it stays until OK or Enter (Escape does
// not close it, and it has no close box). The exit code is 0 whatever happened.
#include <windows.h>

#include "install.h"
#include "no_throw.h"
#include "resource.h"

namespace {

HINSTANCE gInstance = nullptr;

void ShowResult(HWND dialog, int item, UINT text) {
    char line[256];
    LoadStringA(gInstance, text, line, sizeof line);
    SetDlgItemTextA(dialog, item, line);
}

INT_PTR CALLBACK SetupDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: {
        // A step that throws (out of memory) has failed; nothing leaves the dialog.
        const int plugin = zel::NoThrow(0, 0, [] { return zel::installer::InstallPlugin("NpZel.dll"); });
        const int control = zel::NoThrow(0, 0, [] { return zel::installer::InstallControl("zel.ocx"); });
        ShowResult(dialog, IDC_PLUGIN_RESULT, plugin ? IDS_PLUGIN_DONE : IDS_PLUGIN_FAILED);
        ShowResult(dialog, IDC_CONTROL_RESULT, control ? IDS_CONTROL_DONE : IDS_CONTROL_FAILED);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) EndDialog(dialog, 1);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    gInstance = instance;
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_SETUP), nullptr, SetupDialog, 0);
    return 0;
}
