// A property page on a dialog template of the module: the frame (for
// instance OleCreatePropertyFrame) hands it a page site and the objects being
// edited, activates it inside its own window, and asks it to apply. A page
// class names its template and caption and exchanges its data in
// DoDataExchange; a page that exchanges nothing never changes a property.
#pragma once

#include <windows.h>

#include <ocidl.h>

#include <atomic>
#include <vector>

#include "com_ptr.h"

namespace zel::ole {

class PropertyPage : public IPropertyPage {
public:
    PropertyPage(int dialogId, int captionId);
    virtual ~PropertyPage();
    PropertyPage(const PropertyPage&) = delete;
    PropertyPage& operator=(const PropertyPage&) = delete;

    // Moves data between the page's controls and the objects; `saving` is true
    // when applying.
    virtual void DoDataExchange(bool saving) = 0;
    virtual HRESULT GetClassID(CLSID* clsid) = 0;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override;

    // IPropertyPage
    HRESULT STDMETHODCALLTYPE SetPageSite(IPropertyPageSite* site) override;
    HRESULT STDMETHODCALLTYPE Activate(HWND parent, LPCRECT area, BOOL modal) override;
    HRESULT STDMETHODCALLTYPE Deactivate() override;
    HRESULT STDMETHODCALLTYPE GetPageInfo(PROPPAGEINFO* info) override;
    HRESULT STDMETHODCALLTYPE SetObjects(ULONG count, IUnknown** objects) override;
    HRESULT STDMETHODCALLTYPE Show(UINT command) override;
    HRESULT STDMETHODCALLTYPE Move(LPCRECT area) override;
    HRESULT STDMETHODCALLTYPE IsPageDirty() override { return m_dirty ? S_OK : S_FALSE; }
    HRESULT STDMETHODCALLTYPE Apply() override;
    HRESULT STDMETHODCALLTYPE Help(LPCOLESTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG*) override { return S_FALSE; }

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // The dialog's size in pixels, measured on a hidden copy of the template.
    SIZE MeasureDialog() const;

    std::atomic<ULONG> m_references{1};
    int m_dialogId;
    int m_captionId;
    ComPtr<IPropertyPageSite> m_site;
    std::vector<ComPtr<IUnknown>> m_objects;
    HWND m_window = nullptr;
    bool m_dirty = false;
};

}  // namespace zel::ole
