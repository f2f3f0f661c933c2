// Verbs, in-place activation and the control's own window. The window is
// created when the container activates the control (its WM_CREATE reaches
// OnCreate) and destroyed when the container deactivates it or lets it go.
#include <windowsx.h>

#include <olectl.h>

#include "array_enum.h"
#include "class_factory.h"
#include "com_guard.h"
#include "ole_control.h"
#include "scoped_handle.h"

namespace zel::ole {
namespace {

constexpr char kWindowClass[] = "ZelOleControlWindow";

// A control's two standard verbs, as containers list them on their menus:
// Edit activates it, Properties opens its property pages.
constexpr LONG kPropertiesVerb = 1;
const OLEVERB kVerbs[] = {
    {OLEIVERB_PRIMARY, const_cast<LPOLESTR>(L"&Edit"), MF_STRING | MF_ENABLED, OLEVERBATTRIB_ONCONTAINERMENU},
    {kPropertiesVerb, const_cast<LPOLESTR>(L"&Properties..."), MF_STRING | MF_ENABLED, OLEVERBATTRIB_ONCONTAINERMENU},
};

struct VerbPolicy {
    static const IID& Iid() { return IID_IEnumOLEVERB; }
    // The caller frees each name with CoTaskMemFree.
    static bool Copy(OLEVERB& to, const OLEVERB& from) {
        to = from;
        const size_t bytes = (wcslen(from.lpszVerbName) + 1) * sizeof(wchar_t);
        to.lpszVerbName = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
        if (!to.lpszVerbName) return false;
        memcpy(to.lpszVerbName, from.lpszVerbName, bytes);
        return true;
    }
    static void Destroy(OLEVERB& verb) {
        CoTaskMemFree(verb.lpszVerbName);
        verb.lpszVerbName = nullptr;
    }
};

ATOM gWindowClass = 0;

ATOM RegisterControlClass(WNDPROC procedure) {
    ATOM& atom = gWindowClass;
    if (atom) return atom;
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = ModuleInstance();
    // No class cursor: the control sets its own cursors while the mouse moves
    // over it, and a class cursor would put the arrow back on every move.
    windowClass.hCursor = nullptr;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kWindowClass;
    atom = RegisterClassExA(&windowClass);
    return atom;
}

POINT PointOf(LPARAM lParam) { return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

}  // namespace

void OleControl::UnregisterWindowClass() {
    if (gWindowClass) UnregisterClassA(kWindowClass, ModuleInstance());
    gWindowClass = 0;
}

HRESULT OleControl::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent, LPCRECT) {
    const KeepAlive alive(*this);
    return ComGuard([&] { return RunVerb(verb, site, parent); });
}

HRESULT OleControl::RunVerb(LONG verb, IOleClientSite* site, HWND parent) {
    if (site && !m_clientSite) SetClientSite(site);
    switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_UIACTIVATE:
        return InPlaceActivate(true);
    case OLEIVERB_INPLACEACTIVATE:
        return InPlaceActivate(false);
    case OLEIVERB_HIDE:
        UIDeactivate();
        if (m_window) ShowWindow(m_window, SW_HIDE);
        return S_OK;
    case OLEIVERB_PROPERTIES:
    case kPropertiesVerb:
        return ShowProperties(parent);
    default:
        return verb > 0 ? OLEOBJ_S_INVALIDVERB : E_NOTIMPL;
    }
}

HRESULT OleControl::EnumVerbs(IEnumOLEVERB** verbs) {
    if (!verbs) return E_POINTER;
    *verbs = ArrayEnum<IEnumOLEVERB, OLEVERB, VerbPolicy>::Create(kVerbs, sizeof kVerbs / sizeof kVerbs[0]);
    return *verbs ? S_OK : E_OUTOFMEMORY;
}

HRESULT OleControl::InPlaceActivate(bool uiActivate) {
    if (!m_clientSite) return E_UNEXPECTED;
    if (!m_inPlaceActive) {
        ComPtr<IOleInPlaceSite> site = m_clientSite.As<IOleInPlaceSite>(IID_IOleInPlaceSite);
        if (!site) return E_NOINTERFACE;
        if (site->CanInPlaceActivate() != S_OK) return E_FAIL;
        if (FAILED(site->OnInPlaceActivate())) return E_FAIL;
        m_inPlaceSite = site;
        m_inPlaceActive = true;

        HWND parent = nullptr;
        RECT position{}, clip{};
        OLEINPLACEFRAMEINFO frameInfo{};
        frameInfo.cb = sizeof frameInfo;
        site->GetWindow(&parent);
        site->GetWindowContext(m_frame.Receive(), m_uiWindow.Receive(), &position, &clip, &frameInfo);
        m_position = position;
        if (!RegisterControlClass(&OleControl::WindowProc) ||
            !CreateWindowExA(0, kWindowClass, "", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, position.left,
                             position.top, position.right - position.left, position.bottom - position.top, parent,
                             nullptr, ModuleInstance(), this)) {
            InPlaceDeactivate();
            return E_FAIL;
        }
        // The container may have deactivated the control while its window was
        // being created (from a message box's loop).
        if (!m_inPlaceActive) return E_FAIL;
    }
    if (m_window && !IsWindowVisible(m_window)) ShowWindow(m_window, SW_SHOW);
    return uiActivate ? UIActivate() : S_OK;
}

HRESULT OleControl::UIActivate() {
    if (m_uiActive || !m_inPlaceSite) return S_OK;
    m_uiActive = true;
    m_inPlaceSite->OnUIActivate();
    if (m_window) SetFocus(m_window);
    IOleInPlaceActiveObject* active = this;
    if (m_frame) m_frame->SetActiveObject(active, nullptr);
    if (m_uiWindow) m_uiWindow->SetActiveObject(active, nullptr);
    if (m_frame) m_frame->SetBorderSpace(nullptr);
    return S_OK;
}

HRESULT OleControl::UIDeactivate() {
    if (!m_uiActive) return S_OK;
    m_uiActive = false;
    if (m_uiWindow) m_uiWindow->SetActiveObject(nullptr, nullptr);
    if (m_frame) m_frame->SetActiveObject(nullptr, nullptr);
    if (m_inPlaceSite) m_inPlaceSite->OnUIDeactivate(FALSE);
    return S_OK;
}

HRESULT OleControl::InPlaceDeactivate() {
    if (!m_inPlaceActive) return S_OK;
    UIDeactivate();
    m_inPlaceActive = false;
    if (m_window) DestroyWindow(m_window);
    if (m_inPlaceSite) m_inPlaceSite->OnInPlaceDeactivate();
    m_frame.Reset();
    m_uiWindow.Reset();
    m_inPlaceSite.Reset();
    return S_OK;
}

HRESULT OleControl::SetObjectRects(LPCRECT position, LPCRECT) {
    if (!position) return E_POINTER;
    m_position = *position;
    if (m_window)
        SetWindowPos(m_window, nullptr, position->left, position->top, position->right - position->left,
                     position->bottom - position->top, SWP_NOZORDER | SWP_NOACTIVATE);
    return S_OK;
}

HRESULT OleControl::GetWindow(HWND* window) {
    if (!window) return E_POINTER;
    *window = m_window;
    return m_window ? S_OK : E_FAIL;
}

HRESULT OleControl::ShowProperties(HWND parent) {
    ULONG count = 0;
    const CLSID* pages = GetPropPageIDs(count);
    IUnknown* self = static_cast<IOleObject*>(this);
    LPOLESTR caption = nullptr;
    GetUserType(USERCLASSTYPE_SHORT, &caption);
    const HRESULT result = OleCreatePropertyFrame(parent ? parent : m_window, 0, 0, caption ? caption : L"", 1,
                                                  &self, count, const_cast<CLSID*>(pages), LOCALE_USER_DEFAULT, 0,
                                                  nullptr);
    CoTaskMemFree(caption);
    return result;
}

int OleControl::OnCreate(const CREATESTRUCTA*) { return 0; }

void OleControl::OnMouseMove(UINT, POINT) {}

void OleControl::OnLButtonDown(UINT, POINT) {
    // A click makes the control the active object of its container.
    if (m_inPlaceActive && !m_uiActive) UIActivate();
}

void OleControl::OnLButtonUp(UINT, POINT) {}

void OleControl::OnRButtonDown(UINT, POINT) {}

LRESULT CALLBACK OleControl::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* control = static_cast<OleControl*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        control->m_window = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control));
    }
    auto* control = reinterpret_cast<OleControl*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!control) return DefWindowProcA(window, message, wParam, lParam);
    const KeepAlive alive(*control);
    // A handler that fails fails its message: a window that cannot be set up
    // is not created, and any other message counts as handled.
    const LRESULT result = NoThrow<LRESULT>(message == WM_CREATE ? -1 : 0, message == WM_CREATE ? -1 : 0,
                                            [&] { return control->HandleMessage(message, wParam, lParam); });
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        control->m_window = nullptr;
    }
    return result;
}

LRESULT OleControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const UINT flags = UINT(wParam);
    switch (message) {
    case WM_CREATE:
        return OnCreate(reinterpret_cast<const CREATESTRUCTA*>(lParam));
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_PAINT: {
        const win32::PaintDc paint(m_window);
        RECT bounds;
        GetClientRect(m_window, &bounds);
        if (paint.Get()) OnDraw(paint.Get(), bounds, paint.Invalid());
        return 0;
    }
    case WM_MOUSEMOVE:
        OnMouseMove(flags, PointOf(lParam));
        return 0;
    case WM_LBUTTONDOWN:
        OnLButtonDown(flags, PointOf(lParam));
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp(flags, PointOf(lParam));
        return 0;
    case WM_RBUTTONDOWN:
        OnRButtonDown(flags, PointOf(lParam));
        return 0;
    default:
        return DefWindowProcA(m_window, message, wParam, lParam);
    }
}

}  // namespace zel::ole
