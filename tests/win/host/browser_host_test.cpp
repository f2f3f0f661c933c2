// The browser host towards a plug-in, checked through what the fake plug-in
// recorded: binding order, NPP_New and NPP_SetWindow arguments, asynchronous
// delivery from temporary copies, notification after the stream, saved data
// handed back, and NPN_MemAlloc bookkeeping.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>

#include "host_page.h"

namespace zel::test {
namespace {

using host::BrowserHost;

std::string FileOf(const std::string& line) {
    const size_t at = line.find(" file=");
    return at == std::string::npos ? "" : line.substr(at + 6);
}

class BrowserHostWithFakePlugin : public ::testing::Test {
protected:
    void Load(host::PageOptions options = {}) {
        m_host = std::make_unique<BrowserHost>(options);
        std::string error;
        ASSERT_TRUE(m_host->LoadPlugin(FakePluginPath(), &error)) << error;
    }
    void Open(const HostPage& page) {
        std::string error;
        ASSERT_TRUE(m_host->OpenPage(page.PagePath(), &error)) << error;
    }
    std::vector<std::string> Log() const { return PluginLog(*m_host); }

    std::unique_ptr<BrowserHost> m_host;
};

TEST_F(BrowserHostWithFakePlugin, BindsWithEntryPointsThenInitializeAtTheBrowsersVersion) {
    host::PageOptions options;
    options.browserVersion = 0x0011;
    Load(options);
    const auto log = Log();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[0], "NP_GetEntryPoints size=" + std::to_string(sizeof(NPPluginFuncs)));
    EXPECT_EQ(log[1], "NP_Initialize version=17 size=" + std::to_string(sizeof(NPNetscapeFuncs)));
    EXPECT_EQ(m_host->InitializeResult(), NPERR_NO_ERROR);
}

TEST_F(BrowserHostWithFakePlugin, ShutsTheModuleDownLastWhenDestroyed) {
    HostPage page;
    const std::string logFile = page.Dir().File("plugin.log");
    ASSERT_TRUE(SetEnvironmentVariableA("ZEL_FAKE_PLUGIN_LOG", logFile.c_str()));
    Load();
    Open(page);
    m_host.reset();
    SetEnvironmentVariableA("ZEL_FAKE_PLUGIN_LOG", nullptr);
    std::vector<std::string> lines;
    std::istringstream in(page.Dir().Read("plugin.log"));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines.back(), "NP_Shutdown");
    EXPECT_EQ(lines[lines.size() - 2].rfind("NPP_Destroy saved=", 0), 0u);
}

TEST_F(BrowserHostWithFakePlugin, RefusesAMissingModuleWithAReason) {
    BrowserHost host;
    std::string error;
    EXPECT_FALSE(host.LoadPlugin(FakePluginPath() + ".missing", &error));
    EXPECT_NE(error.find("LoadLibrary"), std::string::npos) << error;
    HostPage page;
    EXPECT_FALSE(host.OpenPage(page.PagePath(), &error));
}

TEST_F(BrowserHostWithFakePlugin, NewGetsTheEmbedsAttributesAndSetWindowTheChildWindow) {
    Load();
    HostPage page;
    Open(page);
    const auto log = Log();
    const int created = FindLine(log, "NPP_New ");
    ASSERT_GE(created, 0);
    EXPECT_EQ(log[size_t(created)], "NPP_New type=application/x-Zelscope mode=1 argc=6 saved=none");
    const std::vector<std::string> expected = {
        "arg SRC=movie.zel", "arg type=application/x-Zelscope", "arg WIDTH=200", "arg height=120",
        "arg first=views/front.jpg", "arg second=missing.jpg", std::string("uagent=") + m_host->UserAgent()};
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(log.at(size_t(created) + 1 + i), expected[i]);

    HWND child = m_host->PluginWindow();
    ASSERT_TRUE(IsWindow(child));
    EXPECT_EQ(GetParent(child), m_host->FrameWindow());
    EXPECT_TRUE(IsWindowVisible(m_host->FrameWindow()));
    RECT client = {};
    GetClientRect(m_host->FrameWindow(), &client);
    EXPECT_EQ(client.right, 200);
    EXPECT_EQ(client.bottom, 120);
    const int placed = FindLine(log, "NPP_SetWindow ");
    ASSERT_GT(placed, created);
    EXPECT_EQ(log[size_t(placed)], "NPP_SetWindow hwnd=" + std::to_string(reinterpret_cast<uintptr_t>(child)) +
                                       " size=200x120 type=" + std::to_string(NPWindowTypeWindow));
}

TEST_F(BrowserHostWithFakePlugin, StreamsArriveLaterFromTheMessageLoop) {
    Load();
    HostPage page;
    Open(page);
    EXPECT_EQ(FindLine(Log(), "NPP_NewStream"), -1) << "the embedded file arrived inside OpenPage";
    ASSERT_TRUE(m_host->PumpUntilIdle());
    const auto log = Log();
    const int first = FindLine(log, "GetURLNotify url=views/front.jpg");
    const int second = FindLine(log, "GetURLNotify url=missing.jpg");
    ASSERT_GE(first, 0);
    ASSERT_GE(second, 0);
    for (int line : {first, second}) {
        EXPECT_EQ(Field(log[size_t(line)], "result"), std::to_string(NPERR_NO_ERROR));
        EXPECT_EQ(Field(log[size_t(line)], "arrivedDuringCall"), "0");
    }
    EXPECT_GT(FindLine(log, "NPP_NewStream url=views/front.jpg"), second);
}

TEST_F(BrowserHostWithFakePlugin, EachRequestStreamsThenNotifiesBeforeTheNext) {
    Load();
    HostPage page;
    Open(page);
    ASSERT_TRUE(m_host->PumpUntilIdle());
    const auto log = Log();
    const std::vector<std::string> order = {
        "NPP_NewStream url=movie.zel type=application/x-Zelscope end=300 notify=0",
        "NPP_StreamAsFile url=movie.zel size=300",
        "NPP_DestroyStream url=movie.zel reason=0",
        "NPP_NewStream url=views/front.jpg type=image/jpeg end=27 notify=1",
        "NPP_StreamAsFile url=views/front.jpg size=27",
        "NPP_DestroyStream url=views/front.jpg reason=0",
        "NPP_URLNotify url=views/front.jpg reason=0 notify=1",
        "NPP_URLNotify url=missing.jpg reason=" + std::to_string(NPRES_NETWORK_ERR) + " notify=2",
    };
    int at = 0;
    for (const std::string& expected : order) {
        const int found = FindLine(log, expected, at);
        ASSERT_GE(found, at) << "missing or out of order: " << expected;
        at = found + 1;
    }
    EXPECT_EQ(FindLine(log, "NPP_NewStream url=missing.jpg"), -1);
    EXPECT_EQ(FindLine(log, "NPP_URLNotify url=movie.zel"), -1);

    const auto& requests = m_host->Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_TRUE(requests[0].delivered);
    EXPECT_EQ(requests[0].reason, NPRES_DONE);
    EXPECT_EQ(std::filesystem::path(requests[0].resolvedPath), std::filesystem::path(page.Dir().File("views/front.jpg")));
    EXPECT_FALSE(requests[1].delivered);
    EXPECT_EQ(requests[1].reason, NPRES_NETWORK_ERR);
}

TEST_F(BrowserHostWithFakePlugin, FilesArriveAsTemporaryCopiesThatKeepTheirExtension) {
    Load();
    HostPage page;
    Open(page);
    ASSERT_TRUE(m_host->PumpUntilIdle());
    const auto log = Log();
    const int movieLine = FindLine(log, "NPP_StreamAsFile url=movie.zel");
    ASSERT_GE(movieLine, 0);
    const std::filesystem::path movieCopy = FileOf(log[size_t(movieLine)]);
    EXPECT_EQ(movieCopy.extension(), ".zel");
    EXPECT_NE(movieCopy.parent_path(), std::filesystem::path(page.Dir().Path()));

    const std::filesystem::path viewCopy = m_host->Requests().at(0).deliveredAs;
    EXPECT_EQ(viewCopy.extension(), ".jpg");
    EXPECT_NE(viewCopy.filename(), movieCopy.filename());
    std::ifstream in(viewCopy, std::ios::binary);
    const std::string copied((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    EXPECT_EQ(copied, page.FileText("views/front.jpg"));

    m_host.reset();
    EXPECT_FALSE(std::filesystem::exists(movieCopy.parent_path()));
}

TEST_F(BrowserHostWithFakePlugin, NormalStreamsArriveInChunksTheMessageLoopHandsOver) {
    Load();
    const size_t movieBytes = 2500;  // the fake takes 1000 bytes at a time
    HostPage page(std::string(kEmbedAttributes) + " stype=normal", movieBytes);
    Open(page);
    ASSERT_TRUE(m_host->PumpUntilIdle());
    const auto log = Log();
    size_t expectedOffset = 0;
    int writes = 0;
    for (int line = FindLine(log, "NPP_Write"); line >= 0 && expectedOffset < movieBytes;
         line = FindLine(log, "NPP_Write", line + 1)) {
        EXPECT_EQ(Field(log[size_t(line)], "offset"), std::to_string(expectedOffset));
        expectedOffset += std::stoul(Field(log[size_t(line)], "len"));
        ++writes;
    }
    EXPECT_EQ(expectedOffset, movieBytes);
    EXPECT_GE(writes, 3);
    EXPECT_EQ(FindLine(log, "NPP_StreamAsFile"), -1);
    EXPECT_GT(FindLine(log, "NPP_DestroyStream url=movie.zel reason=0"), FindLine(log, "NPP_Write"));
}

TEST_F(BrowserHostWithFakePlugin, SavedDataComesBackToTheSamePageOnly) {
    Load();
    HostPage page;
    Open(page);
    ASSERT_TRUE(m_host->PumpUntilIdle());
    EXPECT_EQ(m_host->OutstandingAllocations(), 1u);  // the fake's scratch block
    m_host->ClosePage();
    EXPECT_FALSE(m_host->PageOpen());
    const auto closed = Log();
    const std::string saved = Field(closed[size_t(FindLine(closed, "NPP_Destroy saved="))], "saved");
    ASSERT_FALSE(saved.empty());
    EXPECT_EQ(m_host->OutstandingAllocations(), 2u);  // the NPSavedData and its buffer, kept by the host

    Open(page);
    auto log = Log();
    EXPECT_EQ(Field(log[size_t(FindLine(log, "NPP_New", int(closed.size())))], "saved"), saved);
    EXPECT_EQ(m_host->OutstandingAllocations(), 1u) << "the plug-in freed the saved data it was given";

    m_host->ClosePage();
    const size_t before = Log().size();
    page.Dir().Write("other.html", "<embed src=movie.zel width=50 height=40>");
    std::string error;
    ASSERT_TRUE(m_host->OpenPage(page.Dir().File("other.html"), &error)) << error;
    log = Log();
    EXPECT_EQ(Field(log[size_t(FindLine(log, "NPP_New", int(before)))], "saved"), "none");
}

TEST_F(BrowserHostWithFakePlugin, RecordsStatusTextsAndClosesItsWindows) {
    Load();
    HostPage page;
    Open(page);
    ASSERT_TRUE(m_host->PumpUntilIdle());
    EXPECT_EQ(m_host->Statuses(), std::vector<std::string>{"fake: movie.zel arrived"});
    HWND frame = m_host->FrameWindow(), child = m_host->PluginWindow();
    m_host->ClosePage();
    EXPECT_FALSE(IsWindow(frame));
    EXPECT_FALSE(IsWindow(child));
    EXPECT_EQ(m_host->PluginWindow(), nullptr);
}

}  // namespace
}  // namespace zel::test
