// The control in a minimal container of our own that hands it its Url as a
// web page does, before activation, with movies served over HTTP on
// 127.0.0.1: what it downloads, what it paints, how it answers the mouse,
// and how it goes away.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "com_ptr.h"
#include "dialog_watcher.h"
#include "frames.h"
#include "http_site.h"
#include "moviegen.h"
#include "morph.h"
#include "shows_view.h"
#include "slow_server.h"
#include "strings.h"
#include "temp_dir.h"
#include "test_container.h"
#include "view_decode.h"
#include "zel_ctrl.h"

namespace zel::control {
namespace {

using ole::ComPtr;

// Test programs run side by side in one Wine prefix and share its temporary
// folder, where the control stores what it fetches: every movie here has
// names of its own, so no program reads another's copy.
moviegen::MovieOptions SmallMovie(int cols) {
    static int counter = 0;
    const std::string prefix = "c" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter++);
    moviegen::MovieOptions options;
    options.descriptionName = prefix + ".zel";
    options.viewPattern = prefix + "_r%d_c%02d.jpg";
    options.rows = 1;
    options.cols = cols;
    options.width = 64;
    options.height = 48;
    return options;
}

// Writes the movie into the site and returns its description's Url.
std::string Serve(const test::HttpSite& site, const moviegen::MovieOptions& options) {
    std::string error;
    EXPECT_FALSE(moviegen::WriteMovie(site.Folder(), options, &error).empty()) << error;
    return site.Url(options.descriptionName);
}

// A new control, with a pointer to its C++ side for the test's questions.
struct Control {
    Control() : object(new CZelCtrl()), owner(static_cast<IOleObject*>(object)) {}
    CZelCtrl* object;
    ComPtr<IOleObject> owner;
    const MovieViewer& Viewer() const { return *object->Viewer(); }
};

std::vector<std::string> Lines(const std::string& path) {
    std::ifstream file(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
}

// A page that removes the control on a timer: it deactivates the control
// (and, unless told to keep one, lets go of every reference) while the
// control's message box is up, then answers the box.
struct LettingGo {
    test::TestContainer* container = nullptr;
    ComPtr<IOleObject>* lastReference = nullptr;
    std::string boxText;
};
LettingGo* gLettingGo = nullptr;

void CALLBACK LetGoWhileTheBoxIsUp(HWND window, UINT, UINT_PTR timer, DWORD) {
    HWND box = FindWindowA("#32770", "ERROR !!");
    if (!gLettingGo || !box || !IsWindowVisible(box) || GetWindowThreadProcessId(box, nullptr) != GetCurrentThreadId())
        return;
    KillTimer(window, timer);
    char text[1024] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    gLettingGo->boxText = text;
    gLettingGo->container->Remove();
    if (gLettingGo->lastReference) gLettingGo->lastReference->Reset();
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

class InContainer : public ::testing::Test {
protected:
    void SetUp() override {
        // "debug.out" is written to the current folder.
        m_previousFolder = std::filesystem::current_path();
        std::filesystem::current_path(m_traceDir.Path());
    }
    void TearDown() override { std::filesystem::current_path(m_previousFolder); }

    std::string TraceFile() const { return m_traceDir.File("debug.out"); }

    test::TempDir m_traceDir;
    std::filesystem::path m_previousFolder;
};

TEST_F(InContainer, AMovieOverHttpLoadsPaintsViewZeroAndTurnsUnderTheMouse) {
    test::HttpSite site;
    const moviegen::MovieOptions options = SmallMovie(6);
    const std::string url = Serve(site, options);
    Control control;
    test::TestContainer container(options.width, options.height);
    ASSERT_EQ(container.Embed(control.owner.Get(), {{L"Url", ole::Widen(url)}}), S_OK);
    HWND window = container.ControlWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_NE(control.object->Viewer(), nullptr);
    ASSERT_TRUE(test::TestWindow::PumpUntil([&] { return control.Viewer().GetLoadState() == kLoadFinished; }));

    // The description first, then every view of the ring, each fetched once.
    const std::vector<std::string> requests = site.Requests();
    ASSERT_EQ(requests.size(), 7u);
    EXPECT_EQ(requests[0], options.descriptionName + " 200");
    for (int col = 0; col < 6; ++col)
        EXPECT_NE(std::find(requests.begin(), requests.end(), moviegen::ViewName(options, 0, col) + " 200"),
                  requests.end())
            << col;

    // The trace: the description's download, then the window's creation.
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::vector<std::string> trace = Lines(TraceFile());
    ASSERT_GE(trace.size(), 5u);
    EXPECT_EQ(trace[0], "remotefile = " + url);
    EXPECT_EQ(trace[1], "localfile = " + std::string(temp) + options.descriptionName);
    EXPECT_EQ(trace[2], "m_url = " + url);
    EXPECT_EQ(trace[3], "gszUrl = " + site.FolderUrl());
    EXPECT_EQ(trace[4], "gszFile = " + options.descriptionName);

    const std::string folder = site.Folder() + "\\";
    EXPECT_TRUE(test::ShowsView(window, folder + moviegen::ViewName(options, 0, 0), options.width, options.height));

    // A right click tells where it was.
    {
        test::DialogWatcher watcher("Mouse Position");
        SendMessageA(window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 12));
        ASSERT_TRUE(watcher.Wait());
        EXPECT_EQ(watcher.Text(), "( 10 , 12 )");
    }

    // A drag of one step (a twelfth of the width) to the right turns the
    // object to view 0's right neighbour; releasing the button is not
    // forwarded, and moving without it steps no further.
    const int32_t right = control.Viewer().Table().Neighbour(0, kSlotRight);
    ASSERT_NE(right, kNoView);
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_SIZEALL));
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20 + options.width / 12, 20));
    EXPECT_EQ(control.Viewer().GetCurrentView(), right);
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(20 + options.width / 12, 20));
    SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(60, 20));
    EXPECT_EQ(control.Viewer().GetCurrentView(), right);
    EXPECT_TRUE(test::ShowsView(window, folder + control.Viewer().Table().names[size_t(right)], options.width, options.height));
    // The click made the control the container's active object.
    const auto& calls = container.Calls();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "OnUIActivate"), calls.end());

    // Once the window exists, a new Url is only stored.
    ComPtr<IDispatch> dispatch = control.owner.As<IDispatch>(IID_IDispatch);
    VARIANT argument;
    argument.vt = VT_BSTR;
    argument.bstrVal = SysAllocString(L"http://127.0.0.1:1/other.zel");
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&argument, &named, 1, 1};
    EXPECT_EQ(dispatch->Invoke(2, IID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr), S_OK);
    VariantClear(&argument);
    test::TestWindow::PumpUntil([] { return false; }, 200);
    EXPECT_EQ(site.Requests().size(), 7u);
    EXPECT_EQ(control.Viewer().Table().viewCount, 6);
}

TEST_F(InContainer, AMissingDescriptionIsReportedAndAStaleCopyIsNeverRead) {
    test::HttpSite site;
    const std::string name = "missing-" + std::to_string(GetCurrentProcessId()) + ".zel";
    // An earlier download of the same name, still in the temporary folder.
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string stale = std::string(temp) + name;
    std::ofstream(stale) << "1 64 48 0\nview.jpg -1 -1 -1 -1\n";

    Control control;
    test::TestContainer container(64, 48);
    test::DialogWatcher error("ERROR !!");
    ASSERT_EQ(container.Embed(control.owner.Get(), {{L"Url", ole::Widen(site.Url(name))}}), S_OK);
    ASSERT_TRUE(error.Wait());
    EXPECT_EQ(error.Text(), "can't open file\n" + stale);
    EXPECT_FALSE(std::filesystem::exists(stale));
    EXPECT_EQ(control.Viewer().GetLoadState(), kNothingToShow);
    ASSERT_EQ(site.Requests(), std::vector<std::string>{name + " 404"});

    // With nothing shown, a right click says nothing.
    test::DialogWatcher none("Mouse Position", 1500);
    SendMessageA(container.ControlWindow(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    EXPECT_FALSE(none.Wait());
    EXPECT_EQ(none.Seen(), 0);
}

TEST_F(InContainer, AViewTheServerDoesNotHaveIsBlackAndTheRestStillLoad) {
    test::HttpSite site;
    const moviegen::MovieOptions options = SmallMovie(4);
    const std::string url = Serve(site, options);
    const std::string lost = moviegen::ViewName(options, 0, 2);
    std::filesystem::remove(site.Folder() + "\\" + lost);

    Control control;
    test::TestContainer container(options.width, options.height);
    ASSERT_EQ(container.Embed(control.owner.Get(), {{L"Url", ole::Widen(url)}}), S_OK);
    ASSERT_TRUE(test::TestWindow::PumpUntil([&] { return control.Viewer().GetLoadState() == kLoadFinished; }));
    const std::vector<std::string> requests = site.Requests();
    EXPECT_NE(std::find(requests.begin(), requests.end(), lost + " 404"), requests.end());

    const MovieViewer& viewer = control.Viewer();
    for (int32_t view = 0; view < 4; ++view) {
        const auto* frame = viewer.Frames().GetAs<RgbFrame>(view);
        ASSERT_NE(frame, nullptr) << view;
        const std::vector<uint8_t> pixels = frame->Pixels();
        const bool black = std::all_of(pixels.begin(), pixels.end(), [](uint8_t b) { return b == 0; });
        EXPECT_EQ(black, viewer.Table().names[size_t(view)] == lost) << view;
    }
}

// Views whose headers claim 65500 x 65500 pixels: the loader decodes no more
// than the frame of one, refuses the other (a progressive claim would read
// every claimed row first), and the movie loads to its end.
TEST_F(InContainer, ViewsWhoseHeadersClaimGiantPicturesCostOnlyTheirFrame) {
    test::HttpSite site;
    moviegen::MovieOptions options = SmallMovie(4);
    const std::string url = Serve(site, options);
    const std::string folder = site.Folder() + "\\";
    const std::string claimed = moviegen::ViewName(options, 0, 1);
    const std::string refused = moviegen::ViewName(options, 0, 2);
    ASSERT_TRUE(moviegen::ClaimSize(folder + claimed, 65500, 65500));
    std::string error;
    ASSERT_TRUE(moviegen::WriteJpeg(folder + refused, moviegen::RenderView(options, 0, 2), {85, true, false, 0}, &error));
    ASSERT_TRUE(moviegen::ClaimSize(folder + refused, 65500, 65500));

    const auto start = std::chrono::steady_clock::now();
    Control control;
    {
        test::TestContainer container(options.width, options.height);
        ASSERT_EQ(container.Embed(control.owner.Get(), {{L"Url", ole::Widen(url)}}), S_OK);
        ASSERT_TRUE(test::TestWindow::PumpUntil([&] { return control.Viewer().GetLoadState() == kLoadFinished; }));
        std::printf("figure: a movie with two 65500 x 65500 claims loaded in %.2f s\n",
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        const MovieViewer& viewer = control.Viewer();
        const auto* shown = viewer.Frames().GetAs<RgbFrame>(1);
        ASSERT_NE(shown, nullptr);
        RgbFrame expected(options.width, options.height);
        ASSERT_EQ(DecodeIntoRgbFrame(folder + claimed, expected), 1);
        EXPECT_EQ(shown->Pixels(), expected.Pixels());
        const auto* black = viewer.Frames().GetAs<RgbFrame>(2);
        ASSERT_NE(black, nullptr);
        const std::vector<uint8_t> pixels = black->Pixels();
        EXPECT_TRUE(std::all_of(pixels.begin(), pixels.end(), [](uint8_t b) { return b == 0; }));
    }
}

TEST_F(InContainer, NamesThatReachADeviceAreNeitherFetchedNorOpenedAndDotsInsideANameAreOrdinary) {
    test::HttpSite site;
    const moviegen::MovieOptions options = SmallMovie(3);
    Serve(site, options);
    std::filesystem::rename(site.Folder() + "\\" + moviegen::ViewName(options, 0, 1), site.Folder() + "\\v..1.jpg");
    const std::string first = moviegen::ViewName(options, 0, 0);
    site.Write("devices.zel", "3 64 48 0\n" + first + " -1 -1 1 2\nv..1.jpg -1 -1 2 0\nCOM1.jpg -1 -1 0 1\n");
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);

    Control control;
    test::TestContainer container(64, 48);
    ASSERT_EQ(container.Embed(control.owner.Get(), {{L"Url", ole::Widen(site.Url("devices.zel"))}}), S_OK);
    ASSERT_TRUE(test::TestWindow::PumpUntil([&] { return control.Viewer().GetLoadState() == kLoadFinished; }));
    EXPECT_EQ(site.Requests(), (std::vector<std::string>{"devices.zel 200", first + " 200", "v..1.jpg 200"}));
    const auto expected = NewRgbFrame(64, 48, RgbFrame::Fill::Black);
    ASSERT_EQ(DecodeIntoRgbFrame(site.Folder() + "\\v..1.jpg", *expected), 1);
    const auto* dotted = control.Viewer().Frames().GetAs<RgbFrame>(1);
    ASSERT_NE(dotted, nullptr);
    EXPECT_TRUE(dotted->Pixels() == expected->Pixels());
    // A refused view is traced where it would have been stored, like any other.
    const std::vector<std::string> trace = Lines(TraceFile());
    const auto refused = std::find(trace.begin(), trace.end(), "remotefile = " + site.FolderUrl() + " COM1.jpg");
    ASSERT_LT(refused + 1, trace.end());
    EXPECT_EQ(refused[1], "localfile = " + std::string(temp) + "COM1.jpg");

    // A description named like a device is neither fetched nor opened.
    Control named;
    test::TestContainer other(64, 48);
    test::DialogWatcher error("ERROR !!");
    ASSERT_EQ(other.Embed(named.owner.Get(), {{L"Url", ole::Widen(site.Url("nul.zel"))}}), S_OK);
    ASSERT_TRUE(error.Wait());
    EXPECT_EQ(error.Text(), "can't open file\n" + std::string(temp) + "nul.zel");
    EXPECT_EQ(site.Requests().size(), 3u);
    const std::vector<std::string> after = Lines(TraceFile());
    EXPECT_NE(std::find(after.begin(), after.end(), "localfile = " + std::string(temp) + "nul.zel"), after.end());
}

TEST_F(InContainer, MorphPathsToSharesOrDevicesAreNeverOpenedAndAHugeMorphFileIsReadOnlyToItsLimit) {
    test::HttpSite site;
    const moviegen::MovieOptions options = SmallMovie(2);
    Serve(site, options);
    const std::string first = moviegen::ViewName(options, 0, 0);
    const std::string second = moviegen::ViewName(options, 0, 1);
    // Relative morph paths count from the current folder, as stored movies expect.
    m_traceDir.Write("pair.mor", "CORR 1 2 3 4 CORR 5 6 7 8 CORR 9 10 11 12 POLY 0 1 2 BACKGROUND 1 2 3\n");
    std::string huge;
    while (huge.size() <= 16 * kMaxMorphFileBytes) huge += "CORR 1 2 3 4\nPOLY 0 0 0\n";
    m_traceDir.Write("huge.mor", huge);
    site.Write("morphs.zel", "2 64 48 1\n" + first + " -1 -1 1 1\n" + second +
                                 " -1 -1 0 0\n4\npair.mor 0 1\n\\\\host\\share\\m.mor 0 1\nCOM1 1 0\nhuge.mor 1 0\n");

    Control control;
    test::TestContainer container(64, 48);
    test::DialogWatcher errors("ERROR !!", 20000, 3);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(container.Embed(control.owner.Get(), {{L"Url", ole::Widen(site.Url("morphs.zel"))}}), S_OK);
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    ASSERT_TRUE(errors.Wait());
    std::printf("[ figure ] a %zu-byte morph file is refused after %llu bytes; the window was made in %lld ms\n",
                huge.size(), static_cast<unsigned long long>(kMaxMorphFileBytes), static_cast<long long>(took.count()));
    const std::string notOpened =
        " !!\nnot opened: the control opens a morph file on this computer, never a network share or a device";
    ASSERT_EQ(errors.Texts().size(), 3u);
    EXPECT_EQ(errors.Texts()[0], "Error to read file \\\\host\\share\\m.mor" + notOpened);
    EXPECT_EQ(errors.Texts()[1], "Error to read file COM1" + notOpened);
    EXPECT_EQ(errors.Texts()[2].rfind("Error to read file huge.mor !!\nline ", 0), 0u) << errors.Texts()[2];
    EXPECT_NE(errors.Texts()[2].find(": the file is longer than 1048576 bytes"), std::string::npos);

    const ViewTable& table = control.Viewer().Table();
    ASSERT_EQ(table.pairs.size(), 4u);
    ASSERT_EQ(table.pairs[0].triangles.size(), 1u);
    EXPECT_EQ(table.pairs[0].background, (std::array<int32_t, 3>{1, 2, 3}));
    for (size_t p = 1; p < 4; ++p) EXPECT_TRUE(table.pairs[p].triangles.empty()) << p;
    EXPECT_TRUE(test::TestWindow::PumpUntil([&] { return control.Viewer().GetLoadState() == kLoadFinished; }));
}

TEST_F(InContainer, ClosingWhileAViewTransferStallsReturnsAtOnce) {
    // The description arrives whole; every view sends its headers and two
    // bytes, then nothing more.
    test::SlowServer server(test::SlowServer::Pace::Stall);
    const moviegen::MovieOptions options = SmallMovie(3);
    server.Serve(options.descriptionName, moviegen::DescriptionText(options));
    Control control;
    auto container = std::make_unique<test::TestContainer>(64, 48);
    ASSERT_EQ(container->Embed(control.owner.Get(), {{L"Url", ole::Widen(server.FolderUrl() + options.descriptionName)}}),
              S_OK);
    ASSERT_TRUE(server.WaitUntilSending());

    // A control that hangs is freed when the server gives up after 10 s, so
    // the test ends either way.
    std::atomic<bool> closed{false};
    std::thread fallback([&] {
        for (int i = 0; i < 1000 && !closed; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        server.LetGo();
    });
    const auto start = std::chrono::steady_clock::now();
    container->Remove();
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    closed = true;
    fallback.join();
    std::printf("[ figure ] Close against a stalled view transfer returned in %lld ms\n",
                static_cast<long long>(took.count()));
    EXPECT_LT(took.count(), 10000) << "Close returned only when the server let the transfer go";
    EXPECT_EQ(control.object->Viewer(), nullptr);
}

TEST_F(InContainer, AContainerThatLetsTheControlGoWhileItsMessageBoxIsUpNeverReachesAReleasedViewer) {
    test::HttpSite site;
    const moviegen::MovieOptions options = SmallMovie(4);
    Serve(site, options);
    moviegen::MovieOptions boxed = options;
    boxed.flag = 1;  // a morph section follows, naming a file that is not there
    site.Write("boxed.zel", moviegen::DescriptionText(boxed) + "1\nmissing.mor 0 1\n");

    for (const bool keepReference : {true, false}) {
        Control control;
        CZelCtrl* object = control.object;
        test::TestContainer container(64, 48);
        LettingGo lettingGo{&container, keepReference ? nullptr : &control.owner, ""};
        gLettingGo = &lettingGo;
        SetTimer(container.Window(), 1, 10, &LetGoWhileTheBoxIsUp);
        const HRESULT activated = container.Embed(control.owner.Get(), {{L"Url", ole::Widen(site.Url("boxed.zel"))}});
        gLettingGo = nullptr;
        EXPECT_EQ(lettingGo.boxText, "Error to open file missing.mor !!") << keepReference;
        EXPECT_TRUE(FAILED(activated)) << "the control was let go while it was being activated";
        if (keepReference) {
            EXPECT_EQ(object->GetSafeHwnd(), nullptr);
            EXPECT_EQ(object->Viewer(), nullptr);
        }
        // A loader started once the box was answered is stopped with the viewer.
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        const size_t requests = site.Requests().size();
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        EXPECT_EQ(site.Requests().size(), requests);
        EXPECT_LT(requests, 1u + 4u + (keepReference ? 0u : 1u + 4u));
    }
}

TEST_F(InContainer, TwoControlsInOneProcessEachLoadTheirOwnMovie) {
    test::HttpSite firstSite, secondSite;
    // Both movies name their views alike, as movies made by one tool do; only
    // the pictures differ.
    moviegen::MovieOptions first = SmallMovie(5);
    moviegen::MovieOptions second = SmallMovie(3);
    second.rows = 2;
    second.viewPattern = first.viewPattern;
    const std::string firstUrl = Serve(firstSite, first);
    const std::string secondUrl = Serve(secondSite, second);

    Control a, b;
    test::TestContainer containerA(64, 48), containerB(64, 48);
    ASSERT_EQ(containerA.Embed(a.owner.Get(), {{L"Url", ole::Widen(firstUrl)}}), S_OK);
    ASSERT_EQ(containerB.Embed(b.owner.Get(), {{L"Url", ole::Widen(secondUrl)}}), S_OK);
    ASSERT_TRUE(test::TestWindow::PumpUntil([&] {
        return a.Viewer().GetLoadState() == kLoadFinished && b.Viewer().GetLoadState() == kLoadFinished;
    }));
    EXPECT_EQ(firstSite.Requests().size(), 1u + 5u);
    EXPECT_EQ(secondSite.Requests().size(), 1u + 6u);
    EXPECT_TRUE(test::ShowsView(containerA.ControlWindow(), firstSite.Folder() + "\\" + moviegen::ViewName(first, 0, 0), 64, 48));
    EXPECT_TRUE(
        test::ShowsView(containerB.ControlWindow(), secondSite.Folder() + "\\" + moviegen::ViewName(second, 0, 0), 64, 48));
    // Every view holds its own movie's picture.
    for (const auto& [control, site] : {std::pair<Control*, test::HttpSite*>{&a, &firstSite}, {&b, &secondSite}}) {
        const MovieViewer& viewer = control->Viewer();
        for (int32_t view = 0; view < viewer.Table().viewCount; ++view) {
            const auto expected = NewRgbFrame(64, 48, RgbFrame::Fill::Black);
            ASSERT_EQ(DecodeIntoRgbFrame(site->Folder() + "\\" + viewer.Table().names[size_t(view)], *expected), 1);
            const auto* loaded = viewer.Frames().GetAs<RgbFrame>(view);
            ASSERT_NE(loaded, nullptr);
            EXPECT_TRUE(loaded->Pixels() == expected->Pixels()) << viewer.Table().names[size_t(view)];
        }
    }
}

TEST_F(InContainer, AControlDestroyedWhileItsLoaderIsMidMovieGoesAwayAtOnce) {
    test::HttpSite site;
    moviegen::MovieOptions options = SmallMovie(12);
    options.rows = 3;
    options.width = 320;
    options.height = 240;
    const std::string url = Serve(site, options);

    auto control = std::make_unique<Control>();
    auto container = std::make_unique<test::TestContainer>(320, 240);
    ASSERT_EQ(container->Embed(control->owner.Get(), {{L"Url", ole::Widen(url)}}), S_OK);
    ASSERT_TRUE(test::TestWindow::PumpUntil([&] { return control->Viewer().GetLoadState() == kStillLoading; }));
    // Closing destroys the window and with it the viewer, whose loader stops.
    container.reset();
    ASSERT_EQ(control->object->Viewer(), nullptr);
    control.reset();
    // A request the loader sent just before it was cancelled may reach the
    // server's log a little later; after that, nothing more may come.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const size_t fetched = site.Requests().size();
    EXPECT_LT(fetched, 1u + 36u);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_EQ(site.Requests().size(), fetched);
}

}  // namespace
}  // namespace zel::control
