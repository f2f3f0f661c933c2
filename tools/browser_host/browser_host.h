// A small NPAPI browser of our own that behaves as a browser does towards one
// plug-in DLL and one page with an <embed>. The plug-in is called in this order:
// NP_GetEntryPoints, NP_Initialize; per page NPP_New, NPP_SetWindow, then for
// the embed's src and every requested URL, one after another from the message
// loop: NPP_NewStream, NPP_StreamAsFile (or NPP_WriteReady/NPP_Write),
// NPP_DestroyStream, NPP_URLNotify; NPP_Destroy when the page closes; NP_Shutdown
// last. Only one host may have a plug-in loaded at a time (NPN_MemAlloc carries
// no instance, so allocations are booked to that host).
#pragma once

#include <windows.h>

#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "host_windows.h"
#include "npapi.h"
#include "plugin_module.h"
#include "scoped_handle.h"
#include "temp_folder.h"

namespace zel::host {

struct PageOptions {
    int width = 320, height = 240;  // the plug-in window's size when the embed gives none
    uint16_t browserVersion = 0x000B;  // NPNetscapeFuncs.version: major << 8 | minor
};

class BrowserHost : private HostWindowEvents {
public:
    struct Request {
        std::string url;           // as the plug-in asked
        std::string resolvedPath;  // the local file it names ("" when none)
        NPError result = NPERR_NO_ERROR;  // what the NPN call returned
        bool notify = false;       // NPN_GetURLNotify (true) or NPN_GetURL
        bool delivered = false;    // a stream reached NPP_DestroyStream with NPRES_DONE
        NPReason reason = NPRES_USER_BREAK;  // how it ended (USER_BREAK while pending or when dropped)
        std::string deliveredAs;   // the temporary copy handed to the plug-in
    };

    explicit BrowserHost(PageOptions options = {});
    ~BrowserHost() override;
    BrowserHost(const BrowserHost&) = delete;
    BrowserHost& operator=(const BrowserHost&) = delete;

    bool LoadPlugin(const std::string& dllPath, std::string* error);
    NPError InitializeResult() const { return m_module.InitializeResult(); }
    // An export of the loaded plug-in (null when absent), for tests that ask it about itself.
    FARPROC PluginExport(const char* name) const { return m_module.Export(name); }

    bool OpenPage(const std::string& pagePath, std::string* error);
    // Dispatches messages until no delivery is queued and the queue stays quiet
    // briefly; false when `timeoutMs` passes first.
    bool PumpUntilIdle(int timeoutMs = 10000);
    // Runs the message loop until the page closes (the user closes the frame).
    void RunUntilPageClosed();
    void ClosePage();
    bool PageOpen() const { return m_pageOpen; }

    HWND PluginWindow() const { return m_pluginWindow.Get(); }
    HWND FrameWindow() const { return m_frameWindow.Get(); }
    const std::vector<std::string>& Statuses() const { return m_statuses; }
    const std::vector<Request>& Requests() const { return m_requests; }
    std::vector<UINT> MessagesReachingBrowserProc() const { return m_browserProcMessages; }
    size_t OutstandingAllocations() const { return m_allocations.size(); }
    const char* UserAgent() const;

    void MouseDown(int x, int y);
    void MouseMove(int x, int y, bool leftHeld = true);
    void MouseUp(int x, int y);

    // The plug-in window's client area as the screen shows it, 0x00RRGGBB rows from the top.
    std::vector<uint32_t> CapturePixels(int* width = nullptr, int* height = nullptr) const;
    bool WritePng(const std::string& path, std::string* error) const;

private:
    friend struct BrowserCalls;

    struct Delivery {
        std::string url;
        std::string path;
        void* notifyData = nullptr;
        bool notify = false;
        bool stream = true;               // false for a targeted request: notify only
        size_t request = kNoRequest;      // index into m_requests; kNoRequest for the embed's src
    };
    static constexpr size_t kNoRequest = static_cast<size_t>(-1);

    void OnBrowserProcMessage(UINT message) override { m_browserProcMessages.push_back(message); }
    void OnFrameClose() override;
    void OnDeliverPosted() override;

    NPError QueueRequest(NPP instance, const char* url, const char* target, bool notify, void* notifyData);
    void PostDelivery();
    void DeliverNext();
    NPReason Stream(const Delivery& delivery, std::string* deliveredAs);
    NPReason WriteChunks(NPStream* stream, const std::string& path);
    void FreeSavedData(NPSavedData* saved);
    void* MemAlloc(uint32_t size);
    void MemFree(void* pointer);

    PageOptions m_options;
    NPNetscapeFuncs m_browser{};
    PluginModule m_module;
    TempFolder m_temp;
    win32::ScopedWindow m_deliveryWindow;
    win32::ScopedWindow m_frameWindow;
    win32::ScopedWindow m_pluginWindow;

    NPP_t m_instance{};
    NPWindow m_window{};
    bool m_pageOpen = false;
    std::string m_pagePath;
    std::string m_pageFolder;
    std::string m_mimeType;
    std::vector<std::string> m_argStrings;  // kept for the instance's life: plug-ins may keep argv
    std::vector<char*> m_argn, m_argv;
    std::map<std::string, NPSavedData*> m_savedData;  // by page path

    std::deque<Delivery> m_pending;
    bool m_delivering = false;
    bool m_deliveryPosted = false;
    std::vector<Request> m_requests;
    std::vector<std::string> m_statuses;
    std::vector<UINT> m_browserProcMessages;
    std::set<void*> m_allocations;
};

}  // namespace zel::host
