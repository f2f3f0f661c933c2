// CZelCtrl, the Zel control: one per place a container shows it. Its Url
// names a movie's description; when its window is created it fetches that
// description, builds its MovieViewer on the window and the local copy, and
// from then on hands drawing and mouse input to the viewer.
#pragma once

#include <memory>
#include <string>

#include "control_paint.h"
#include "hwnd_window.h"
#include "movie_viewer.h"
#include "ole_control.h"

namespace zel::control {

class CZelCtrl : public ole::OleControl {
public:
    CZelCtrl();
    ~CZelCtrl() override;

    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) override;
    HRESULT GetTypeLib(LCID locale, ITypeLib** typeLib) override;
    const ole::DispatchEntry* GetDispatchMap(size_t& count) const override;
    const CLSID* GetPropPageIDs(ULONG& count) override;
    UINT GetUserTypeNameID() const override;
    using OleControl::GetMiscStatus;
    DWORD GetMiscStatus() const override;

    void DoPropExchange(ole::PropExchange& exchange) override;
    void OnResetState() override;
    void OnDraw(HDC dc, const RECT& bounds, const RECT& invalid) override;

    int OnCreate(const CREATESTRUCTA* create) override;
    void OnDestroy() override;
    void OnMouseMove(UINT flags, POINT point) override;
    void OnRButtonDown(UINT flags, POINT point) override;
    void OnLButtonDown(UINT flags, POINT point) override;
    void OnLButtonUp(UINT flags, POINT point) override;

    // The viewer while the control's window exists, for those who ask how the
    // movie is doing.
    const MovieViewer* Viewer() const { return m_viewer.get(); }

private:
    friend struct CZelCtrlMaps;

    // Marks a call into the viewer that may show a message box. The box's
    // loop runs the container's messages, and a container may deactivate the
    // control from a timer meanwhile: the viewer is then released only once
    // the outermost such call has returned, never under it.
    class ViewerCall {
    public:
        explicit ViewerCall(CZelCtrl& control) : m_control(control) { ++control.m_viewerCalls; }
        ~ViewerCall();
        ViewerCall(const ViewerCall&) = delete;
        ViewerCall& operator=(const ViewerCall&) = delete;

    private:
        CZelCtrl& m_control;
    };

    void ReleaseViewer();

    // The window outlives the viewer drawn in it.
    win32::HwndWindow m_viewerWindow;
    std::unique_ptr<MovieViewer> m_viewer;
    win32::ControlPainter m_painter;
    int m_viewerCalls = 0;
    bool m_releasePending = false;
    std::string m_file;
    std::string m_url;
};

}  // namespace zel::control
