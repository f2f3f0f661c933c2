// A plug-in that records every call the browser host makes, so the host's
// tests can ask it what arrived and in which order (FakePluginLog, one line per
// call; also appended to the file named by ZEL_FAKE_PLUGIN_LOG when set, which
// outlives the DLL). It asks for its streams as files (embed attribute
// stype=normal asks for NP_NORMAL), requests the embed's `first` and `second`
// URLs once the embedded stream has ended, paints its window in the embed's
// `color` (RRGGBB) and passes mouse messages on to the browser's procedure.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "npapi.h"
#include "scoped_handle.h"

namespace {

struct Instance {
    std::string first = "views/front.jpg", second = "missing.jpg";
    uint16_t streamType = NP_ASFILEONLY;
    COLORREF color = RGB(255, 0, 0);
    HWND window = nullptr;
    WNDPROC browserProc = nullptr;
    void* scratch = nullptr;  // one NPN_MemAlloc block held for the instance's life
    bool requested = false;
};

std::string gLog;
NPNetscapeFuncs* gBrowser = nullptr;
Instance* gWindowOwner = nullptr;
int gStreamsArrived = 0;
int gInstances = 0;

void Log(const std::string& line) {
    gLog += line + "\n";
    char file[MAX_PATH];
    const DWORD length = GetEnvironmentVariableA("ZEL_FAKE_PLUGIN_LOG", file, sizeof file);
    if (length > 0 && length < sizeof file) std::ofstream(file, std::ios::app) << line << "\n";
}

std::string Text(const char* text) { return text ? text : "(null)"; }
std::string Number(uintptr_t value) { return std::to_string(value); }

LRESULT CALLBACK PluginProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Instance* self = gWindowOwner;
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT client;
        GetClientRect(window, &client);
        zel::win32::ScopedGdiObject brush(CreateSolidBrush(self->color));
        FillRect(dc, &client, static_cast<HBRUSH>(brush.Get()));
        EndPaint(window, &paint);
        return 0;
    }
    if (message == WM_LBUTTONDOWN || message == WM_MOUSEMOVE || message == WM_LBUTTONUP) {
        const char* name = message == WM_LBUTTONDOWN ? "down" : message == WM_MOUSEMOVE ? "move" : "up";
        Log(std::string("mouse ") + name + " " + std::to_string(short(LOWORD(lParam))) + "," +
            std::to_string(short(HIWORD(lParam))) + " flags=" + Number(wParam));
    }
    return CallWindowProcA(self->browserProc, window, message, wParam, lParam);
}

void Unsubclass(Instance* self) {
    if (!self->window) return;
    SetWindowLongPtrA(self->window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(self->browserProc));
    self->window = nullptr;
    gWindowOwner = nullptr;
}

NPError New(NPMIMEType type, NPP instance, uint16_t mode, int16_t argc, char* argn[], char* argv[],
            NPSavedData* saved) {
    auto* self = new Instance;
    instance->pdata = self;
    std::string savedText = "none";
    if (saved) {
        savedText = std::string(static_cast<const char*>(saved->buf), size_t(saved->len));
        // The saved data is ours now.
        gBrowser->memfree(saved->buf);
        gBrowser->memfree(saved);
    }
    Log("NPP_New type=" + Text(type) + " mode=" + Number(mode) + " argc=" + std::to_string(argc) +
        " saved=" + savedText);
    for (int i = 0; i < argc; ++i) {
        Log("arg " + Text(argn[i]) + "=" + Text(argv[i]));
        const std::string name = Text(argn[i]);
        if (name == "first") self->first = argv[i];
        if (name == "second") self->second = argv[i];
        if (name == "stype" && std::string(argv[i]) == "normal") self->streamType = NP_NORMAL;
        if (name == "color") {
            const unsigned long rgb = std::strtoul(argv[i], nullptr, 16);
            self->color = RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
        }
    }
    Log("uagent=" + Text(gBrowser->uagent(instance)));
    self->scratch = gBrowser->memalloc(64);
    ++gInstances;
    return NPERR_NO_ERROR;
}

NPError Destroy(NPP instance, NPSavedData** save) {
    auto* self = static_cast<Instance*>(instance->pdata);
    Unsubclass(self);
    gBrowser->memfree(self->scratch);
    const std::string text = "instance-" + std::to_string(gInstances) + "-streams-" + std::to_string(gStreamsArrived);
    auto* saved = static_cast<NPSavedData*>(gBrowser->memalloc(sizeof(NPSavedData)));
    saved->len = static_cast<int32_t>(text.size());
    saved->buf = gBrowser->memalloc(uint32_t(text.size()));
    std::memcpy(saved->buf, text.data(), text.size());
    *save = saved;
    Log("NPP_Destroy saved=" + text);
    delete self;
    instance->pdata = nullptr;
    return NPERR_NO_ERROR;
}

NPError SetWindow(NPP instance, NPWindow* window) {
    auto* self = static_cast<Instance*>(instance->pdata);
    const auto hwnd = static_cast<HWND>(window->window);
    Log("NPP_SetWindow hwnd=" + Number(reinterpret_cast<uintptr_t>(hwnd)) + " size=" + Number(window->width) + "x" +
        Number(window->height) + " type=" + Number(window->type));
    if (hwnd && !self->window) {
        self->window = hwnd;
        gWindowOwner = self;
        self->browserProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PluginProc)));
        InvalidateRect(hwnd, nullptr, FALSE);
    }
    return NPERR_NO_ERROR;
}

NPError NewStream(NPP instance, NPMIMEType type, NPStream* stream, NPBool seekable, uint16_t* stype) {
    ++gStreamsArrived;
    Log("NPP_NewStream url=" + Text(stream->url) + " type=" + Text(type) + " end=" + Number(stream->end) +
        " notify=" + Number(reinterpret_cast<uintptr_t>(stream->notifyData)) + " seekable=" + Number(seekable));
    *stype = static_cast<Instance*>(instance->pdata)->streamType;
    return NPERR_NO_ERROR;
}

int32_t WriteReady(NPP, NPStream*) { return 1000; }

int32_t Write(NPP, NPStream*, int32_t offset, int32_t len, void*) {
    Log("NPP_Write offset=" + std::to_string(offset) + " len=" + std::to_string(len));
    return len;
}

void StreamAsFile(NPP, NPStream* stream, const char* fname) {
    long size = -1;
    if (FILE* file = std::fopen(fname, "rb")) {
        std::fseek(file, 0, SEEK_END);
        size = std::ftell(file);
        std::fclose(file);
    }
    Log("NPP_StreamAsFile url=" + Text(stream->url) + " size=" + std::to_string(size) + " file=" + Text(fname));
}

void RequestMore(NPP instance, Instance* self) {
    self->requested = true;
    const std::string urls[] = {self->first, self->second};
    for (int i = 0; i < 2; ++i) {
        const int before = gStreamsArrived;
        const NPError result =
            gBrowser->geturlnotify(instance, urls[i].c_str(), nullptr, reinterpret_cast<void*>(uintptr_t(i + 1)));
        Log("GetURLNotify url=" + urls[i] + " result=" + std::to_string(result) +
            " arrivedDuringCall=" + std::to_string(gStreamsArrived - before));
    }
}

NPError DestroyStream(NPP instance, NPStream* stream, NPReason reason) {
    Log("NPP_DestroyStream url=" + Text(stream->url) + " reason=" + std::to_string(reason));
    auto* self = static_cast<Instance*>(instance->pdata);
    if (!stream->notifyData && !self->requested) {
        gBrowser->status(instance, ("fake: " + Text(stream->url) + " arrived").c_str());
        RequestMore(instance, self);
    }
    return NPERR_NO_ERROR;
}

void UrlNotify(NPP, const char* url, NPReason reason, void* notifyData) {
    Log("NPP_URLNotify url=" + Text(url) + " reason=" + std::to_string(reason) +
        " notify=" + Number(reinterpret_cast<uintptr_t>(notifyData)));
}

}  // namespace

extern "C" {

NPError NP_EXPORT_CALL NP_GetEntryPoints(NPPluginFuncs* table);
NPError NP_EXPORT_CALL NP_Initialize(NPNetscapeFuncs* browser);
NPError NP_EXPORT_CALL NP_Shutdown();
const char* FakePluginLog();

NPError NP_EXPORT_CALL NP_GetEntryPoints(NPPluginFuncs* table) {
    Log("NP_GetEntryPoints size=" + Number(table->size));
    if (table->size < sizeof(NPPluginFuncs)) return NPERR_INVALID_FUNCTABLE_ERROR;
    table->version = 0x000B;
    table->newp = New;
    table->destroy = Destroy;
    table->setwindow = SetWindow;
    table->newstream = NewStream;
    table->destroystream = DestroyStream;
    table->asfile = StreamAsFile;
    table->writeready = WriteReady;
    table->write = Write;
    table->urlnotify = UrlNotify;
    return NPERR_NO_ERROR;
}

NPError NP_EXPORT_CALL NP_Initialize(NPNetscapeFuncs* browser) {
    Log("NP_Initialize version=" + Number(browser->version) + " size=" + Number(browser->size));
    gBrowser = browser;
    return NPERR_NO_ERROR;
}

NPError NP_EXPORT_CALL NP_Shutdown() {
    Log("NP_Shutdown");
    gBrowser = nullptr;
    return NPERR_NO_ERROR;
}

const char* FakePluginLog() { return gLog.c_str(); }

}  // extern "C"
