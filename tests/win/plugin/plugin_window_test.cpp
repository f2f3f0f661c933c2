// NpZel.dll in real windows: subclassing and giving back the browser's window,
// which messages it keeps, and what it paints once a movie has arrived.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <set>

#include "fake_browser.h"
#include "moviegen.h"
#include "npapi.h"
#include "readback.h"
#include "temp_dir.h"
#include "test_window.h"

namespace zel {
namespace {

struct Bound {
    Bound() : browser(0x000B) {
        module = LoadLibraryA(ZEL_NPZEL_PATH);
        auto getEntryPoints = test::LoadExport<NP_GetEntryPointsFunc>(module, "NP_GetEntryPoints");
        auto initialize = test::LoadExport<NP_InitializeFunc>(module, "NP_Initialize");
        shutdown = test::LoadExport<NP_ShutdownFunc>(module, "NP_Shutdown");
        getEntryPoints(&funcs);
        initialize(&browser.table);
    }
    ~Bound() {
        shutdown();
        FreeLibrary(module);
    }
    NPError New(NPP_t& instance) {
        return funcs.newp(const_cast<char*>("application/x-Zelscope"), &instance, NP_EMBED, 0, nullptr, nullptr,
                          nullptr);
    }
    NPError SetWindow(NPP_t& instance, NPWindow& window, HWND handle) {
        window.window = handle;
        return funcs.setwindow(&instance, &window);
    }
    // Serves request `i` as a browser would: its file as a stream that carries
    // the request's notifyData, then its notification.
    void Deliver(NPP_t& instance, const std::string& folder, size_t i) {
        const auto request = browser.requests[i];
        const std::string path = folder + "\\" + request.url;
        NPStream stream{};
        stream.url = request.url.c_str();
        stream.notifyData = request.notifyData;
        funcs.asfile(&instance, &stream, path.c_str());
        funcs.urlnotify(&instance, request.url.c_str(), NPRES_DONE, request.notifyData);
    }
    void DeliverAll(NPP_t& instance, const std::string& folder) {
        for (size_t i = 0; i < browser.requests.size(); ++i) Deliver(instance, folder, i);
    }

    test::FakeBrowser browser;
    HMODULE module;
    NP_ShutdownFunc shutdown;
    NPPluginFuncs funcs{};
};

LONG_PTR ProcedureOf(HWND window) { return GetWindowLongPtrA(window, GWLP_WNDPROC); }

TEST(PluginWindow, SubclassesKeepsItsMessagesAndGivesTheWindowBack) {
    Bound bound;
    test::TestWindow window(64, 48);
    std::vector<UINT> reachedBrowser;
    window.onMouse = [&](UINT message, WPARAM, int, int) { reachedBrowser.push_back(message); };
    const LONG_PTR own = ProcedureOf(window.Handle());
    NPP_t instance{};
    ASSERT_EQ(bound.New(instance), NPERR_NO_ERROR);
    NPWindow npWindow{};
    ASSERT_EQ(bound.SetWindow(instance, npWindow, window.Handle()), NPERR_NO_ERROR);
    EXPECT_NE(ProcedureOf(window.Handle()), own);
    for (UINT message : {WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP, WM_RBUTTONDOWN}) {
        SendMessageA(window.Handle(), message, 0, 0);
    }
    EXPECT_EQ(reachedBrowser, (std::vector<UINT>{WM_RBUTTONDOWN}));

    // The same handle again: given back and taken again, never wrapping itself.
    ASSERT_EQ(bound.SetWindow(instance, npWindow, window.Handle()), NPERR_NO_ERROR);
    ASSERT_EQ(bound.SetWindow(instance, npWindow, nullptr), NPERR_NO_ERROR);
    EXPECT_EQ(ProcedureOf(window.Handle()), own);
    SendMessageA(window.Handle(), WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(reachedBrowser.back(), UINT(WM_LBUTTONUP));

    ASSERT_EQ(bound.SetWindow(instance, npWindow, window.Handle()), NPERR_NO_ERROR);
    EXPECT_NE(ProcedureOf(window.Handle()), own);
    bound.funcs.destroy(&instance, nullptr);
    EXPECT_EQ(ProcedureOf(window.Handle()), own);
}

TEST(PluginWindow, ASecondInstancesWindowTakesOverAndTheFirstIsGivenBack) {
    Bound bound;
    test::TestWindow first(32, 32), second(32, 32);
    const LONG_PTR firstOwn = ProcedureOf(first.Handle());
    NPP_t a{}, b{};
    NPWindow windowA{}, windowB{};
    bound.New(a);
    bound.New(b);
    bound.SetWindow(a, windowA, first.Handle());
    bound.SetWindow(b, windowB, second.Handle());
    EXPECT_EQ(ProcedureOf(first.Handle()), firstOwn);
    bound.funcs.destroy(&b, nullptr);
    bound.funcs.destroy(&a, nullptr);
}

TEST(PluginWindow, ABrowserWindowDestroyedWhileSubclassedLeavesThePluginWorking) {
    Bound bound;
    NPP_t instance{};
    bound.New(instance);
    NPWindow npWindow{};
    {
        test::TestWindow doomed(32, 32);
        bound.SetWindow(instance, npWindow, doomed.Handle());
        SendMessageA(doomed.Handle(), WM_CLOSE, 0, 0);  // the browser's procedure destroys it
        EXPECT_FALSE(IsWindow(doomed.Handle()));
    }
    test::TestWindow next(32, 32);
    const LONG_PTR own = ProcedureOf(next.Handle());
    EXPECT_EQ(bound.SetWindow(instance, npWindow, next.Handle()), NPERR_NO_ERROR);
    EXPECT_NE(ProcedureOf(next.Handle()), own);
    bound.funcs.destroy(&instance, nullptr);
    EXPECT_EQ(ProcedureOf(next.Handle()), own);
}

// A ring of `cols` views of 96 x 72 (a drag step of 8 pixels); its description's path.
std::string WriteRing(const test::TempDir& dir, int cols) {
    moviegen::MovieOptions options;
    options.width = 96;
    options.height = 72;
    options.rows = 1;
    options.cols = cols;
    std::string error;
    const std::string description = moviegen::WriteMovie(dir.Path().string(), options, &error);
    EXPECT_FALSE(description.empty()) << error;
    return description;
}

TEST(PluginWindow, PaintsTheMovieOnceItArrivesAndTurnsItUnderTheMouse) {
    test::TempDir dir;
    const std::string description = WriteRing(dir, 4);
    ASSERT_FALSE(description.empty());

    Bound bound;
    test::TestWindow window(120, 90);
    window.onPaint = [](HDC dc) {
        RECT all = {0, 0, 120, 90};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    };
    NPP_t instance{};
    bound.New(instance);
    NPWindow npWindow{};
    bound.SetWindow(instance, npWindow, window.Handle());
    bound.funcs.asfile(&instance, nullptr, description.c_str());
    bound.DeliverAll(instance, dir.Path().string());
    EXPECT_EQ(bound.browser.requests.size(), 4u);
    EXPECT_EQ(bound.browser.statuses, (std::vector<std::string>{"Done !!"}));

    auto distinctColours = [](const std::vector<uint32_t>& pixels, int width, int height) {
        std::set<uint32_t> colours;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) colours.insert(pixels[size_t(y) * 120 + size_t(x)]);
        }
        return colours.size();
    };
    InvalidateRect(window.Handle(), nullptr, FALSE);
    UpdateWindow(window.Handle());
    const std::vector<uint32_t> before = test::ReadWindowPixels(window.Handle(), 120, 90);
    EXPECT_GT(distinctColours(before, 96, 72), 20u);  // a picture, not a flat fill

    SendMessageA(window.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageA(window.Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10 + 8, 10));  // 96 / 12 = 8
    const std::vector<uint32_t> after = test::ReadWindowPixels(window.Handle(), 120, 90);
    EXPECT_NE(before, after);  // painted at once, inside the mouse message
    bound.funcs.destroy(&instance, nullptr);
}

// A file that no request brought (a stray stream) is decoded for nobody, and a
// request whose own file never came files nothing: view 1 stays unreachable
// instead of showing the stray picture.
TEST(PluginWindow, AFrameIsFiledOnlyUnderTheRequestWhoseFileProducedIt) {
    test::TempDir dir;
    const std::string description = WriteRing(dir, 3);
    ASSERT_FALSE(description.empty());

    Bound bound;
    test::TestWindow window(96, 72);
    NPP_t instance{};
    bound.New(instance);
    NPWindow npWindow{};
    bound.SetWindow(instance, npWindow, window.Handle());
    bound.funcs.asfile(&instance, nullptr, description.c_str());
    bound.Deliver(instance, dir.Path().string(), 0);
    ASSERT_EQ(bound.browser.requests.size(), 3u);  // view 0's neighbours to the right and left
    const std::vector<uint32_t> view0 = test::ReadWindowPixels(window.Handle(), 96, 72);

    const std::string stray = dir.Path().string() + "\\" + bound.browser.requests[2].url;
    NPStream strayStream{};
    strayStream.url = bound.browser.requests[2].url.c_str();
    bound.funcs.asfile(&instance, &strayStream, stray.c_str());
    bound.funcs.urlnotify(&instance, bound.browser.requests[1].url.c_str(), NPRES_DONE,
                          bound.browser.requests[1].notifyData);
    bound.Deliver(instance, dir.Path().string(), 2);
    EXPECT_EQ(bound.browser.statuses, (std::vector<std::string>{"Done !!"}));

    SendMessageA(window.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 10));
    SendMessageA(window.Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(40 + 8, 10));  // right: view 1
    EXPECT_EQ(test::ReadWindowPixels(window.Handle(), 96, 72), view0);
    SendMessageA(window.Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(40, 10));  // left: view 2, its own file
    const std::vector<uint32_t> view2 = test::ReadWindowPixels(window.Handle(), 96, 72);
    EXPECT_NE(view2, view0);
    bound.funcs.destroy(&instance, nullptr);
}

// A browser that unloads the module without NP_Shutdown: the window it still
// has subclassed gets its own procedure back, so its next message does not
// jump into unloaded code.
TEST(PluginWindow, UnloadingWithoutShutdownGivesTheWindowBack) {
    test::TestWindow window(32, 32);
    std::vector<UINT> reachedBrowser;
    window.onMouse = [&](UINT message, WPARAM, int, int) { reachedBrowser.push_back(message); };
    const LONG_PTR own = ProcedureOf(window.Handle());
    if (GetModuleHandleA(ZEL_NPZEL_PATH)) GTEST_SKIP() << "another test of this process keeps NpZel.dll loaded";
    test::FakeBrowser browser(0x000B);
    HMODULE module = LoadLibraryA(ZEL_NPZEL_PATH);
    ASSERT_NE(module, nullptr);
    NPPluginFuncs funcs{};
    test::LoadExport<NP_GetEntryPointsFunc>(module, "NP_GetEntryPoints")(&funcs);
    test::LoadExport<NP_InitializeFunc>(module, "NP_Initialize")(&browser.table);
    NPP_t instance{};
    funcs.newp(const_cast<char*>("application/x-Zelscope"), &instance, NP_EMBED, 0, nullptr, nullptr, nullptr);
    NPWindow npWindow{};
    npWindow.window = window.Handle();
    funcs.setwindow(&instance, &npWindow);
    ASSERT_NE(ProcedureOf(window.Handle()), own);
    SendMessageA(window.Handle(), WM_LBUTTONDOWN, 0, 0);
    EXPECT_TRUE(reachedBrowser.empty());

    ASSERT_TRUE(FreeLibrary(module));
    EXPECT_EQ(GetModuleHandleA(ZEL_NPZEL_PATH), nullptr) << "the module is still loaded";
    EXPECT_EQ(ProcedureOf(window.Handle()), own);
    SendMessageA(window.Handle(), WM_LBUTTONDOWN, 0, 0);
    EXPECT_EQ(reachedBrowser, (std::vector<UINT>{WM_LBUTTONDOWN}));
}

}  // namespace
}  // namespace zel
