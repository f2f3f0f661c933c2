// A minimal container of our own for the control: a frame window, one site
// that records which of its calls arrived and in which order, and a property
// bag that hands the control its <PARAM>-style properties before activation,
// as a web page does.
#pragma once

#include <windows.h>

#include <ocidl.h>
#include <oleidl.h>

#include <map>
#include <string>
#include <vector>

#include "com_ptr.h"
#include "test_window.h"

namespace zel::test {

// A property bag over a map of names to strings.
class MapPropertyBag : public IPropertyBag {
public:
    MapPropertyBag() = default;
    explicit MapPropertyBag(std::map<std::wstring, std::wstring> values) : m_values(std::move(values)) {}
    virtual ~MapPropertyBag() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override { return --m_references; }
    HRESULT STDMETHODCALLTYPE Read(LPCOLESTR name, VARIANT* value, IErrorLog* log) override;
    HRESULT STDMETHODCALLTYPE Write(LPCOLESTR name, VARIANT* value) override;

    const std::map<std::wstring, std::wstring>& Values() const { return m_values; }

private:
    std::map<std::wstring, std::wstring> m_values;
    ULONG m_references = 1;
};

class TestContainer : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame {
public:
    TestContainer(int width, int height);
    virtual ~TestContainer();
    TestContainer(const TestContainer&) = delete;
    TestContainer& operator=(const TestContainer&) = delete;

    // Gives the control this site, loads `params` through IPersistPropertyBag
    // and activates it in place; the result of the first step that failed.
    HRESULT Embed(IUnknown* control, const std::map<std::wstring, std::wstring>& params);
    // Closes the control and takes the site back.
    void Remove();

    HWND Window() const { return m_frame.Handle(); }
    // The control's own window, once it is active in place.
    HWND ControlWindow() const;
    const std::vector<std::string>& Calls() const { return m_calls; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override { return --m_references; }

    // IOleClientSite
    HRESULT STDMETHODCALLTYPE SaveObject() override { return Record("SaveObject", S_OK); }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** moniker) override;
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** container) override;
    HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return Record("CanInPlaceActivate", S_OK); }
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return Record("OnInPlaceActivate", S_OK); }
    HRESULT STDMETHODCALLTYPE OnUIActivate() override { return Record("OnUIActivate", S_OK); }
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                               LPRECT clip, LPOLEINPLACEFRAMEINFO info) override;
    HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return Record("OnUIDeactivate", S_OK); }
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return Record("OnInPlaceDeactivate", S_OK); }
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return S_OK; }

    // IOleInPlaceUIWindow, IOleInPlaceFrame
    HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR) override;
    HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

private:
    HRESULT Record(const char* call, HRESULT result) {
        m_calls.emplace_back(call);
        return result;
    }

    TestWindow m_frame;
    int m_width;
    int m_height;
    ole::ComPtr<IOleObject> m_control;
    std::vector<std::string> m_calls;
    ULONG m_references = 1;
};

}  // namespace zel::test
