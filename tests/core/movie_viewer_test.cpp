#include "movie_viewer.h"

#include <gtest/gtest.h>

#include "grid_movie.h"
#include "recording_window.h"
#include "temp_dir.h"

namespace zel {
namespace {

struct TestFrame : Frame {};

// Records what the viewer asks of its loading order, and what the viewer's
// tables held at that moment.
class RecordingLoader : public ViewLoader {
public:
    explicit RecordingLoader(std::vector<std::string>& log) : m_log(log) {}
    void StartLoading(MovieViewer& viewer) override {
        m_log.push_back("start views=" + std::to_string(viewer.Table().viewCount) +
                        " state=" + std::to_string(viewer.GetLoadState()) +
                        " current=" + std::to_string(viewer.GetCurrentView()) +
                        " frames=" + std::to_string(viewer.Frames().Count()) +
                        " has0=" + std::to_string(viewer.Frames().Has(0)));
    }
    void StopLoading(MovieViewer& viewer) override {
        m_log.push_back("stop views=" + std::to_string(viewer.Table().viewCount));
    }

private:
    std::vector<std::string>& m_log;
};

class Reader : public ::testing::Test {
protected:
    std::unique_ptr<MovieViewer> MakeViewer(Dialect dialect) {
        auto viewer = std::make_unique<MovieViewer>(dialect, m_window, std::make_unique<RecordingLoader>(m_loads));
        viewer->Trace().SetPath(m_dir.File(dialect == Dialect::Plugin ? "debug.txt" : "debug.out"));
        return viewer;
    }

    test::TempDir m_dir;
    test::RecordingWindow m_window;
    std::vector<std::string> m_loads;
};

TEST_F(Reader, ThePluginShowsTheWaitCursorTracesTheFileAndStartsLoading) {
    auto viewer = MakeViewer(Dialect::Plugin);
    const std::string path = m_dir.Write("grid.zel", test::GridDescription(2, 3, 320, 240, 1));
    viewer->ReadDescription(path);
    EXPECT_EQ(m_window.calls, (std::vector<std::string>{"cursor wait", "cursor arrow"}));
    EXPECT_EQ(m_dir.Read("debug.txt"), "ZEL filename = " + path + "\n");
    EXPECT_EQ(m_loads, (std::vector<std::string>{"stop views=0", "start views=6 state=0 current=0 frames=6 has0=0"}));
    EXPECT_EQ(viewer->Table().flag, 1);
}

TEST_F(Reader, ThePluginReportsNothingForAnUnreadableOrRefusedFileButStillTraces) {
    auto viewer = MakeViewer(Dialect::Plugin);
    const std::string missing = m_dir.File("missing.zel");
    const std::string refused = m_dir.Write("refused.zel", "1 8 8 0 a.jpg -1 -1 -1 -1");
    viewer->ReadDescription(missing);
    viewer->ReadDescription(refused);
    EXPECT_TRUE(m_window.messages.empty());
    EXPECT_EQ(m_window.calls, (std::vector<std::string>{"cursor wait", "cursor arrow", "cursor wait", "cursor arrow"}));
    EXPECT_EQ(m_dir.Read("debug.txt"), "ZEL filename = " + missing + "\nZEL filename = " + refused + "\n");
    EXPECT_EQ(m_loads, (std::vector<std::string>{"stop views=0", "stop views=0"}));
    EXPECT_TRUE(viewer->Table().Empty());
    EXPECT_EQ(viewer->GetLoadState(), kNothingToShow);
}

TEST_F(Reader, TheControlSaysWhyItCannotOpenOrUseADescription) {
    auto viewer = MakeViewer(Dialect::Control);
    const std::string missing = m_dir.File("missing.zel");
    viewer->ReadDescription(missing);
    const std::string refused = m_dir.Write("refused.zel", "2 320 240 0\na.jpg -1 -1 1 1\nb.jpg -1 -1 0 7\n");
    viewer->ReadDescription(refused);
    EXPECT_EQ(m_window.messages,
              (std::vector<std::string>{
                  "ERROR !!|can't open file\n" + missing + "|exclamation",
                  "ERROR !!|bad description file\n" + refused +
                      "\nline 3: view 1's slot 4 names view 7, but views run from 0 to 1 (-1 for none)|exclamation"}));
    EXPECT_EQ(m_window.Count("cursor wait"), 0u);
    EXPECT_EQ(m_dir.Read("debug.out"), "");  // the control's reader traces nothing
    EXPECT_EQ(m_loads, (std::vector<std::string>{"stop views=0", "stop views=0"}));
}

TEST_F(Reader, TheControlShowsOneMessagePerMissingMorphFileAndStillLoads) {
    auto viewer = MakeViewer(Dialect::Control);
    const std::string m1 = m_dir.File("gone1.txt");
    const std::string m2 = m_dir.File("gone2.txt");
    const std::string text = "2 320 240 1 a.jpg -1 -1 1 1 b.jpg -1 -1 0 0 2 " + m1 + " 0 1 " + m2 + " 1 0";
    viewer->ReadDescription(m_dir.Write("morph.zel", text));
    EXPECT_EQ(m_window.messages, (std::vector<std::string>{"ERROR !!|Error to open file " + m1 + " !!|exclamation",
                                                           "ERROR !!|Error to open file " + m2 + " !!|exclamation"}));
    EXPECT_EQ(viewer->Table().pairs.size(), 2u);
    EXPECT_EQ(m_loads.back(), "start views=2 state=0 current=0 frames=2 has0=0");
}

TEST_F(Reader, ANewDescriptionStopsTheLoaderBeforeReleasingTheOldOne) {
    auto viewer = MakeViewer(Dialect::Control);
    viewer->ReadDescription(m_dir.Write("a.zel", test::GridDescription(1, 4, 320, 240)));
    viewer->Frames().Publish(0, std::make_unique<TestFrame>());
    viewer->SetLoadState(kLoadFinished);
    viewer->ReadDescription(m_dir.Write("b.zel", test::GridDescription(1, 2, 320, 240)));
    EXPECT_EQ(m_loads, (std::vector<std::string>{"stop views=0", "start views=4 state=0 current=0 frames=4 has0=0",
                                                 "stop views=4", "start views=2 state=0 current=0 frames=2 has0=0"}));
    EXPECT_EQ(viewer->GetLoadState(), kNothingToShow);
    viewer.reset();
    EXPECT_EQ(m_loads.back(), "stop views=2");
}

TEST_F(Reader, AnUnusableSecondDescriptionLeavesTheViewerEmptyNotHalfReleased) {
    auto viewer = MakeViewer(Dialect::Plugin);
    viewer->ReadDescription(m_dir.Write("a.zel", test::GridDescription(1, 4, 320, 240)));
    viewer->Frames().Publish(0, std::make_unique<TestFrame>());
    viewer->SetLoadState(kLoadFinished);
    viewer->ReadDescription(m_dir.File("missing.zel"));
    EXPECT_EQ(viewer->GetLoadState(), kNothingToShow);
    EXPECT_TRUE(viewer->Table().Empty());
    EXPECT_FALSE(viewer->Frames().Has(0));
    viewer->OnDragStart(kLeftButtonFlag, 0, 0);
    viewer->OnDragMove(kLeftButtonFlag, 100, 100);
    EXPECT_EQ(viewer->GetCurrentView(), 0);
}

TEST_F(Reader, ThePluginStartsFromARestoredViewThatIsInTheMovie) {
    auto viewer = MakeViewer(Dialect::Plugin);
    EXPECT_TRUE(viewer->SetCurrentView(5));
    viewer->ReadDescription(m_dir.Write("six.zel", test::GridDescription(2, 3, 320, 240)));
    EXPECT_EQ(viewer->GetCurrentView(), 5);
    EXPECT_EQ(m_loads.back(), "start views=6 state=0 current=5 frames=6 has0=0");
    EXPECT_FALSE(viewer->SetCurrentView(6));
    EXPECT_FALSE(viewer->SetCurrentView(-1));
    EXPECT_EQ(viewer->GetCurrentView(), 5);

    // A saved view beyond a smaller movie falls back to view 0.
    viewer->ReadDescription(m_dir.Write("two.zel", test::GridDescription(1, 2, 320, 240)));
    EXPECT_EQ(viewer->GetCurrentView(), 0);
    EXPECT_EQ(viewer->GetPreviousView(), 0);
}

TEST_F(Reader, TheControlAlwaysStartsAtViewZero) {
    auto viewer = MakeViewer(Dialect::Control);
    viewer->SetCurrentView(3);
    viewer->ReadDescription(m_dir.Write("six.zel", test::GridDescription(2, 3, 320, 240)));
    EXPECT_EQ(viewer->GetCurrentView(), 0);
    EXPECT_EQ(viewer->GetPreviousView(), 0);
}

TEST_F(Reader, ATraceFileThatCannotBeOpenedIsSkipped) {
    auto viewer = MakeViewer(Dialect::Plugin);
    viewer->Trace().SetPath(m_dir.File("no-such-folder/debug.txt"));
    viewer->ReadDescription(m_dir.Write("one.zel", "1 320 240 0 a.jpg -1 -1 -1 -1"));
    EXPECT_EQ(viewer->Table().viewCount, 1);
    EXPECT_EQ(m_loads.back(), "start views=1 state=0 current=0 frames=1 has0=0");
}

}  // namespace
}  // namespace zel
