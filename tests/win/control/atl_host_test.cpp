// ZEL.OCX, registered by regsvr32, in Wine's ATL host: a container nobody
// here wrote. The host creates the control by its ProgID, loads it from a
// stream (as a saved document would) or starts it new, and activates it in
// its window. The test sees only what a user would: the HTTP requests, the
// pixels, the cursor and the message boxes.
#include <gtest/gtest.h>

#include <ole2.h>
#include <olectl.h>

#include <chrono>
#include <functional>
#include <thread>

#include "com_ptr.h"
#include "control_registry.h"
#include "description.h"
#include "dialog_watcher.h"
#include "frames.h"
#include "guids.h"
#include "http_site.h"
#include "load_export.h"
#include "moviegen.h"
#include "shows_view.h"
#include "strings.h"
#include "test_window.h"
#include "view_decode.h"

namespace zel::control {
namespace {

using ole::ComPtr;

using AtlAxWinInitFunction = BOOL(WINAPI*)();
using AtlAxCreateControlFunction = HRESULT(WINAPI*)(LPCOLESTR, HWND, IStream*, IUnknown**);
using AtlAxGetControlFunction = HRESULT(WINAPI*)(HWND, IUnknown**);

class AtlHost : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_EQ(test::RegisterZelForSuite(), 0u);
    }
    static void TearDownTestSuite() { test::UnregisterZelAfterSuite(); }

    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        m_atl = LoadLibraryA("atl.dll");
        ASSERT_NE(m_atl, nullptr);
        m_init = test::LoadExport<AtlAxWinInitFunction>(m_atl, "AtlAxWinInit");
        m_create = test::LoadExport<AtlAxCreateControlFunction>(m_atl, "AtlAxCreateControl");
        m_getControl = test::LoadExport<AtlAxGetControlFunction>(m_atl, "AtlAxGetControl");
        ASSERT_TRUE(m_init && m_create && m_getControl);
        ASSERT_TRUE(m_init());
    }
    void TearDown() override { OleUninitialize(); }

    HMODULE m_atl = nullptr;
    AtlAxWinInitFunction m_init = nullptr;
    AtlAxCreateControlFunction m_create = nullptr;
    AtlAxGetControlFunction m_getControl = nullptr;
};

// The control's state as a document would have saved it, with `url` set.
ComPtr<IStream> SavedControl(const std::string& url) {
    ComPtr<IDispatch> control;
    EXPECT_EQ(CoCreateInstance(kControlClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, control.ReceiveVoid()),
              S_OK);
    if (!control) return {};
    VARIANT argument;
    argument.vt = VT_BSTR;
    argument.bstrVal = ole::NewBstr(url);
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&argument, &named, 1, 1};
    EXPECT_EQ(control->Invoke(2, IID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr), S_OK);
    VariantClear(&argument);
    ComPtr<IStream> stream;
    CreateStreamOnHGlobal(nullptr, TRUE, stream.Receive());
    EXPECT_EQ(control.As<IPersistStreamInit>(IID_IPersistStreamInit)->Save(stream.Get(), TRUE), S_OK);
    stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr);
    return stream;
}

TEST_F(AtlHost, ASavedControlLoadsItsMovieShowsViewZeroAndTurnsUnderADrag) {
    test::HttpSite site;
    moviegen::MovieOptions options;
    // Names of its own: other test programs share the prefix's temporary folder.
    const std::string prefix = "a" + std::to_string(GetCurrentProcessId());
    options.descriptionName = prefix + ".zel";
    options.viewPattern = prefix + "_r%d_c%02d.jpg";
    options.rows = 2;
    options.cols = 4;
    options.width = 48;
    options.height = 36;
    std::string error;
    const std::string description = moviegen::WriteMovie(site.Folder(), options, &error);
    ASSERT_FALSE(description.empty()) << error;
    const DescriptionRead movie = ReadDescriptionFile(description, Dialect::Control);
    ASSERT_EQ(movie.status, ReadStatus::Ok);

    test::TestWindow host(options.width, options.height);
    ComPtr<IStream> saved = SavedControl(site.Url(options.descriptionName));
    ASSERT_TRUE(saved);
    ComPtr<IUnknown> container;
    ASSERT_EQ(m_create(L"ZEL.ZelCtrl.1", host.Handle(), saved.Get(), container.Receive()), S_OK);
    HWND window = GetWindow(host.Handle(), GW_CHILD);
    ASSERT_NE(window, nullptr);

    // Every view is reachable from view 0 in this grid, so all are fetched.
    ASSERT_TRUE(test::TestWindow::PumpUntil([&] { return site.Requests().size() == 1u + 8u; })) << site.Requests().size();
    EXPECT_EQ(site.Requests().front(), options.descriptionName + " 200");
    // The drag cursor changes once the last view is in (LoadState 1).
    ASSERT_TRUE(test::TestWindow::PumpUntil([&] {
        SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
        return GetCursor() == LoadCursorA(nullptr, IDC_SIZEALL);
    }));
    const std::string folder = site.Folder() + "\\";
    EXPECT_TRUE(test::ShowsView(window, folder + movie.table.names[0], options.width, options.height));

    const int32_t right = movie.table.Neighbour(0, kSlotRight);
    ASSERT_NE(right, kNoView);
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10 + options.width / 12, 10));
    EXPECT_TRUE(test::ShowsView(window, folder + movie.table.names[size_t(right)], options.width, options.height));

    // The host hands out the control it made; it answers by name.
    ComPtr<IUnknown> control;
    ASSERT_EQ(m_getControl(host.Handle(), control.Receive()), S_OK);
    ComPtr<IDispatch> dispatch = control.As<IDispatch>(IID_IDispatch);
    ASSERT_TRUE(dispatch);
    LPOLESTR names[] = {const_cast<LPOLESTR>(L"Url")};
    DISPID id = 0;
    EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK);
    EXPECT_EQ(id, 2);
}

TEST_F(AtlHost, AnAtlAxWinWindowNamingTheProgIdStartsTheControlWithNoUrl) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    test::TestWindow parent(64, 48);
    // An empty Url leaves nothing to fetch: the viewer is given the bare
    // temporary folder and says it cannot open it.
    test::DialogWatcher error("ERROR !!");
    HWND host = CreateWindowExA(0, "AtlAxWin", "ZEL.ZelCtrl.1", WS_CHILD | WS_VISIBLE, 0, 0, 64, 48, parent.Handle(),
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(host, nullptr);
    ASSERT_TRUE(error.Wait());
    EXPECT_EQ(error.Text(), std::string("can't open file\n") + temp);

    ComPtr<IUnknown> control;
    ASSERT_EQ(m_getControl(host, control.Receive()), S_OK);
    ComPtr<IOleObject> object = control.As<IOleObject>(IID_IOleObject);
    ASSERT_TRUE(object);
    CLSID clsid{};
    EXPECT_EQ(object->GetUserClassID(&clsid), S_OK);
    EXPECT_EQ(clsid, kControlClsid);
    DestroyWindow(host);
}

TEST_F(AtlHost, TheControlListsEditAndPropertiesAndItsPropertiesVerbOpensTheGeneralPage) {
    ComPtr<IOleObject> control;
    ASSERT_EQ(CoCreateInstance(kControlClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, control.ReceiveVoid()),
              S_OK);
    ComPtr<IEnumOLEVERB> verbs;
    ASSERT_EQ(control->EnumVerbs(verbs.Receive()), S_OK);
    OLEVERB listed[3] = {};
    ULONG fetched = 0;
    EXPECT_EQ(verbs->Next(3, listed, &fetched), S_FALSE);
    ASSERT_EQ(fetched, 2u);
    EXPECT_EQ(listed[0].lVerb, OLEIVERB_PRIMARY);
    EXPECT_STREQ(listed[0].lpszVerbName, L"&Edit");
    EXPECT_STREQ(listed[1].lpszVerbName, L"&Properties...");
    for (ULONG i = 0; i < fetched; ++i) {
        EXPECT_TRUE(listed[i].grfAttribs & OLEVERBATTRIB_ONCONTAINERMENU) << i;
        CoTaskMemFree(listed[i].lpszVerbName);
    }

    test::TestWindow owner(64, 48);
    // The frame's title is the control's short type name, as the system's
    // property sheet words it.
    test::DialogWatcher frame("Properties for Zel Control");
    EXPECT_EQ(control->DoVerb(listed[1].lVerb, nullptr, nullptr, 0, owner.Handle(), nullptr), S_OK);
    EXPECT_TRUE(frame.Wait());
    EXPECT_EQ(frame.Seen(), 1);
}

}  // namespace
}  // namespace zel::control
