#include "property_page.h"

#include <olectl.h>

#include "class_factory.h"
#include "com_guard.h"

namespace zel::ole {
namespace {

// A copy of a resource string for the caller to free with CoTaskMemFree.
LPOLESTR LoadTaskString(int id) {
    const wchar_t* text = nullptr;
    const int length = LoadStringW(ModuleInstance(), UINT(id), reinterpret_cast<LPWSTR>(&text), 0);
    auto* copy = static_cast<LPOLESTR>(CoTaskMemAlloc((size_t(length > 0 ? length : 0) + 1) * sizeof(wchar_t)));
    if (!copy) return nullptr;
    if (length > 0) memcpy(copy, text, size_t(length) * sizeof(wchar_t));
    copy[length > 0 ? length : 0] = L'\0';
    return copy;
}

}  // namespace

PropertyPage::PropertyPage(int dialogId, int captionId) : m_dialogId(dialogId), m_captionId(captionId) {
    LockModule();
}

PropertyPage::~PropertyPage() {
    if (m_window) DestroyWindow(m_window);
    UnlockModule();
}

HRESULT PropertyPage::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (iid != IID_IUnknown && iid != IID_IPropertyPage) return E_NOINTERFACE;
    *object = static_cast<IPropertyPage*>(this);
    AddRef();
    return S_OK;
}

ULONG PropertyPage::Release() {
    const ULONG left = --m_references;
    if (left == 0) delete this;
    return left;
}

HRESULT PropertyPage::SetPageSite(IPropertyPageSite* site) {
    m_site = ComPtr<IPropertyPageSite>::Share(site);
    return S_OK;
}

INT_PTR CALLBACK PropertyPage::DialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

HRESULT PropertyPage::Activate(HWND parent, LPCRECT area, BOOL) {
    if (m_window) return E_UNEXPECTED;
    m_window = CreateDialogParamW(ModuleInstance(), MAKEINTRESOURCEW(m_dialogId), parent, &PropertyPage::DialogProc, 0);
    if (!m_window) return E_OUTOFMEMORY;
    if (area) Move(area);
    return ComGuard([&] {
        DoDataExchange(false);
        return S_OK;
    });
}

HRESULT PropertyPage::Deactivate() {
    if (!m_window) return E_UNEXPECTED;
    DestroyWindow(m_window);
    m_window = nullptr;
    return S_OK;
}

SIZE PropertyPage::MeasureDialog() const {
    SIZE size{0, 0};
    // A page is a child dialog, so the hidden probe needs a parent window.
    HWND probe = CreateDialogParamW(ModuleInstance(), MAKEINTRESOURCEW(m_dialogId), GetDesktopWindow(),
                                    &PropertyPage::DialogProc, 0);
    if (!probe) return size;
    RECT rect;
    GetWindowRect(probe, &rect);
    DestroyWindow(probe);
    size.cx = rect.right - rect.left;
    size.cy = rect.bottom - rect.top;
    return size;
}

HRESULT PropertyPage::GetPageInfo(PROPPAGEINFO* info) {
    if (!info) return E_POINTER;
    info->cb = sizeof *info;
    info->pszTitle = LoadTaskString(m_captionId);
    info->size = MeasureDialog();
    info->pszDocString = nullptr;
    info->pszHelpFile = nullptr;
    info->dwHelpContext = 0;
    return info->pszTitle ? S_OK : E_OUTOFMEMORY;
}

HRESULT PropertyPage::SetObjects(ULONG count, IUnknown** objects) {
    if (count && !objects) return E_POINTER;
    m_objects.clear();
    return ComGuard([&] {
        for (ULONG i = 0; i < count; ++i) m_objects.push_back(ComPtr<IUnknown>::Share(objects[i]));
        return S_OK;
    });
}

HRESULT PropertyPage::Show(UINT command) {
    if (!m_window) return E_UNEXPECTED;
    ShowWindow(m_window, int(command));
    return S_OK;
}

HRESULT PropertyPage::Move(LPCRECT area) {
    if (!area) return E_POINTER;
    if (!m_window) return E_UNEXPECTED;
    MoveWindow(m_window, area->left, area->top, area->right - area->left, area->bottom - area->top, TRUE);
    return S_OK;
}

HRESULT PropertyPage::Apply() {
    return ComGuard([&] {
        if (m_window) DoDataExchange(true);
        m_dirty = false;
        return S_OK;
    });
}

}  // namespace zel::ole
