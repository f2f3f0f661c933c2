#include "about_box.h"

#include <windows.h>

#include "class_factory.h"
#include "guids.h"

namespace zel::control {
namespace {

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

}  // namespace

void ShowAboutBox() {
    DialogBoxParamA(ole::ModuleInstance(), MAKEINTRESOURCEA(kIddAboutBox), nullptr, &AboutProc, 0);
}

}  // namespace zel::control
