#include "browser_host.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "browser_calls.h"
#include "embed_tag.h"
#include "png_writer.h"
#include "url_resolver.h"
#include "window_capture.h"

namespace zel::host {
namespace {

constexpr DWORD kSettleMs = 30;  // how long the queue must stay quiet to count as idle
constexpr char kUserAgent[] = "Mozilla/4.0 (compatible; ZelBrowserHost/1.0; Windows)";

int Dimension(const EmbedTag& tag, const char* name, int fallback) {
    const auto value = tag.Attribute(name);
    if (!value) return fallback;
    const int parsed = std::atoi(value->c_str());
    return parsed > 0 ? parsed : fallback;
}

bool ReadText(const std::string& path, std::string* text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream content;
    content << in.rdbuf();
    *text = content.str();
    return true;
}

}  // namespace

BrowserHost::BrowserHost(PageOptions options) : m_options(options) {
    BrowserCalls::Fill(&m_browser, m_options.browserVersion);
    m_deliveryWindow.Reset(CreateDeliveryWindow(this));
}

BrowserHost::~BrowserHost() {
    ClosePage();
    for (auto& [page, saved] : m_savedData) FreeSavedData(saved);
    m_savedData.clear();
    m_module.Unload();
    BrowserCalls::Deactivate(this);
    // What the plug-in never gave back; it is gone, so nobody else will.
    for (void* pointer : m_allocations) std::free(pointer);
}

bool BrowserHost::LoadPlugin(const std::string& dllPath, std::string* error) {
    if (m_module.Loaded()) {
        *error = "a plug-in is already loaded";
        return false;
    }
    if (!m_deliveryWindow) {
        *error = "cannot create the host's message window";
        return false;
    }
    if (!BrowserCalls::Activate(this)) {
        *error = "another BrowserHost has a plug-in loaded";
        return false;
    }
    if (!m_module.Load(dllPath, &m_browser, error)) {
        BrowserCalls::Deactivate(this);
        return false;
    }
    return true;
}

bool BrowserHost::OpenPage(const std::string& pagePath, std::string* error) {
    if (!m_module.Loaded()) {
        *error = "no plug-in loaded";
        return false;
    }
    ClosePage();
    std::string html;
    if (!ReadText(pagePath, &html)) {
        *error = "cannot read " + pagePath;
        return false;
    }
    const std::optional<EmbedTag> tag = FindEmbedTag(html);
    if (!tag) {
        *error = pagePath + " has no <embed> tag";
        return false;
    }
    std::error_code ignored;
    const std::filesystem::path page = std::filesystem::absolute(pagePath, ignored);
    m_pagePath = page.string();
    m_pageFolder = page.parent_path().string();

    const int width = Dimension(*tag, "width", m_options.width);
    const int height = Dimension(*tag, "height", m_options.height);
    m_frameWindow.Reset(CreateFrameWindow(this, width, height, page.filename().string().c_str()));
    if (m_frameWindow) m_pluginWindow.Reset(CreatePluginWindow(this, m_frameWindow.Get(), width, height));
    if (!m_pluginWindow) {
        m_frameWindow.Reset();
        *error = "cannot create the page's windows";
        return false;
    }

    m_argStrings.clear();
    for (const auto& [name, value] : tag->attributes) {
        m_argStrings.push_back(name);
        m_argStrings.push_back(value);
    }
    m_argn.clear();
    m_argv.clear();
    for (size_t i = 0; i < m_argStrings.size(); i += 2) {
        m_argn.push_back(m_argStrings[i].data());
        m_argv.push_back(m_argStrings[i + 1].data());
    }
    m_mimeType = tag->Attribute("type").value_or("");

    // NPP_New takes the saved data over: the plug-in frees it.
    NPSavedData* saved = nullptr;
    if (auto found = m_savedData.find(m_pagePath); found != m_savedData.end()) {
        saved = found->second;
        m_savedData.erase(found);
    }
    m_instance = NPP_t{nullptr, this};
    const NPError created = m_module.Functions().newp(m_mimeType.data(), &m_instance, NP_EMBED,
                                                      static_cast<int16_t>(m_argn.size()), m_argn.data(),
                                                      m_argv.data(), saved);
    if (created != NPERR_NO_ERROR) {
        m_pluginWindow.Reset();
        m_frameWindow.Reset();
        *error = "NPP_New returned NPError " + std::to_string(created);
        return false;
    }
    m_pageOpen = true;

    m_window = NPWindow{};
    m_window.window = m_pluginWindow.Get();
    m_window.width = static_cast<uint32_t>(width);
    m_window.height = static_cast<uint32_t>(height);
    m_window.clipRect = NPRect{0, 0, static_cast<uint16_t>(height), static_cast<uint16_t>(width)};
    m_window.type = NPWindowTypeWindow;
    const NPError placed = m_module.Functions().setwindow(&m_instance, &m_window);
    if (placed != NPERR_NO_ERROR) {
        ClosePage();
        *error = "NPP_SetWindow returned NPError " + std::to_string(placed);
        return false;
    }

    if (const auto src = tag->Attribute("src"); src && !src->empty()) {
        Delivery embedded;
        embedded.url = *src;
        embedded.path = ResolveUrl(m_pageFolder, *src);
        m_pending.push_back(embedded);
        PostDelivery();
    }
    return true;
}

void BrowserHost::ClosePage() {
    if (!m_pageOpen) return;
    m_pageOpen = false;
    m_pending.clear();
    NPSavedData* saved = nullptr;
    m_module.Functions().destroy(&m_instance, &saved);
    if (saved) {
        auto& slot = m_savedData[m_pagePath];
        FreeSavedData(slot);
        slot = saved;
    }
    m_instance = NPP_t{};
    m_pluginWindow.Reset();
    m_frameWindow.Reset();
}

void BrowserHost::FreeSavedData(NPSavedData* saved) {
    if (!saved) return;
    MemFree(saved->buf);
    MemFree(saved);
}

bool BrowserHost::PumpUntilIdle(int timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                return false;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (m_pending.empty()) {
            if (MsgWaitForMultipleObjects(0, nullptr, FALSE, kSettleMs, QS_ALLINPUT) == WAIT_TIMEOUT) return true;
            continue;
        }
        // A delivery whose message was taken by a nested loop is posted again.
        if (!m_delivering) PostDelivery();
        if (GetTickCount() - start >= static_cast<DWORD>(timeoutMs)) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void BrowserHost::RunUntilPageClosed() {
    MSG message;
    while (m_pageOpen && GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void BrowserHost::OnFrameClose() {
    ClosePage();
    // Wakes a GetMessage loop that waits for the page to close.
    if (m_deliveryWindow) PostMessageA(m_deliveryWindow.Get(), WM_NULL, 0, 0);
}

const char* BrowserHost::UserAgent() const { return kUserAgent; }

void* BrowserHost::MemAlloc(uint32_t size) {
    void* pointer = std::malloc(size ? size : 1);
    if (pointer) m_allocations.insert(pointer);
    return pointer;
}

void BrowserHost::MemFree(void* pointer) {
    if (!pointer) return;
    m_allocations.erase(pointer);
    std::free(pointer);
}

void BrowserHost::MouseDown(int x, int y) {
    SendMessageA(m_pluginWindow.Get(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
}

void BrowserHost::MouseMove(int x, int y, bool leftHeld) {
    SendMessageA(m_pluginWindow.Get(), WM_MOUSEMOVE, leftHeld ? MK_LBUTTON : 0, MAKELPARAM(x, y));
}

void BrowserHost::MouseUp(int x, int y) {
    SendMessageA(m_pluginWindow.Get(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

std::vector<uint32_t> BrowserHost::CapturePixels(int* width, int* height) const {
    // What is still invalid is painted first, as the screen would show it.
    if (m_pluginWindow) UpdateWindow(m_pluginWindow.Get());
    int w = 0, h = 0;
    std::vector<uint32_t> pixels = CaptureClientPixels(m_pluginWindow.Get(), &w, &h);
    if (width) *width = w;
    if (height) *height = h;
    return pixels;
}

bool BrowserHost::WritePng(const std::string& path, std::string* error) const {
    int width = 0, height = 0;
    const std::vector<uint32_t> pixels = CapturePixels(&width, &height);
    if (pixels.empty()) {
        *error = "nothing to capture: no plug-in window";
        return false;
    }
    return WritePngFile(path, width, height, pixels, error);
}

}  // namespace zel::host
