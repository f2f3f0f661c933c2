// The control's download service against a real HTTP server on 127.0.0.1,
// through Wine's urlmon: what arrives in the temporary folder, what a failed,
// refused or cancelled download leaves there (nothing), and the status
// callback each download gets.
#include <gtest/gtest.h>

#include <windows.h>

#include <urlmon.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>
#include <vector>

#include "download.h"
#include "download_status.h"
#include "local_file_lease.h"
#include "http_site.h"
#include "slow_server.h"
#include "temp_dir.h"

namespace zel::control {
namespace {

std::string TempFolder() {
    char buffer[MAX_PATH + 1];
    const DWORD length = GetTempPathA(sizeof buffer, buffer);
    return std::string(buffer, length);
}

bool FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Bytes a text-mode copy, a zero-terminated copy or a truncation would
// change: every byte value first, then pseudo-random ones.
std::string Pattern(size_t size, unsigned seed) {
    std::string bytes(size, '\0');
    unsigned state = seed;
    for (size_t i = 0; i < size; ++i) {
        state = state * 1103515245u + 12345u;
        bytes[i] = static_cast<char>(i < 256 ? i : (state >> 16) & 0xff);
    }
    return bytes;
}

class DownloadTest : public ::testing::Test {
protected:
    ~DownloadTest() override {
        for (const std::string& name : m_names) DeleteFileA((m_temp + name).c_str());
    }

    // Test programs run side by side in one Wine prefix and share its
    // temporary folder, so every local name is made unique.
    std::string Name(const std::string& base) {
        static int counter = 0;
        m_names.push_back("zel-dl-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter++) +
                          "-" + base);
        return m_names.back();
    }

    std::string Trace() const { return m_dir.Read("debug.out"); }

    const std::string m_temp = TempFolder();
    test::HttpSite m_site;
    test::TempDir m_dir;
    TraceFile m_trace{m_dir.File("debug.out"), "at"};
    std::vector<std::string> m_names;
};

TEST_F(DownloadTest, FilesArriveByteForByteUnderTheTemporaryFolderAndEachIsTraced) {
    struct Case {
        std::string name;
        std::string bytes;
    };
    const std::vector<Case> cases = {
        {Name("empty.zel"), ""},
        {Name("view0.jpg"), Pattern(1000, 1)},
        {Name("v..1.jpg"), Pattern(2000, 3)},
        {Name("large.jpg"), Pattern(700001, 2)},
    };
    std::string expectedTrace;
    std::vector<std::string> expectedRequests;
    for (const Case& c : cases) {
        m_site.Write(c.name, c.bytes);
        std::string localfile;
        EXPECT_TRUE(DownloadToTemp(m_site.FolderUrl(), c.name, localfile, m_trace)) << c.name;
        EXPECT_EQ(localfile, m_temp + c.name);
        EXPECT_TRUE(FileExists(localfile)) << localfile;
        EXPECT_TRUE(ReadBytes(localfile) == c.bytes) << c.name << " differs";
        expectedTrace += "remotefile = " + m_site.Url(c.name) + "\n";
        expectedRequests.push_back(c.name + " 200");
    }
    EXPECT_EQ(Trace(), expectedTrace);
    EXPECT_EQ(m_site.Requests(), expectedRequests);
}

TEST_F(DownloadTest, AMissingFileLeavesNoFileNotEvenAnOlderOneOfThatName) {
    std::vector<std::string> expectedRequests;
    for (const bool older : {false, true}) {
        const std::string name = Name(older ? "stale.jpg" : "missing.jpg");
        if (older) WriteBytes(m_temp + name, "from an earlier movie");
        std::string localfile;
        EXPECT_FALSE(DownloadToTemp(m_site.FolderUrl(), name, localfile, m_trace)) << name;
        EXPECT_EQ(localfile, m_temp + name);
        EXPECT_FALSE(FileExists(localfile)) << "the error page or the older file is still at " << localfile;
        expectedRequests.push_back(name + " 404");
    }
    EXPECT_EQ(m_site.Requests(), expectedRequests);
}

TEST_F(DownloadTest, AServerThatDoesNotAnswerLeavesNoFile) {
    const std::string name = Name("unreachable.jpg");
    WriteBytes(m_temp + name, "from an earlier movie");
    const std::string folder = "http://127.0.0.1:" + std::to_string(test::ClosedPort()) + "/";
    std::string localfile;
    EXPECT_FALSE(DownloadToTemp(folder, name, localfile, m_trace));
    EXPECT_FALSE(FileExists(m_temp + name));
    EXPECT_EQ(Trace(), "remotefile = " + folder + name + "\n");
}

TEST_F(DownloadTest, ADownloadCancelledBeforeItStartsLeavesNoFile) {
    const std::string name = Name("cancelled.jpg");
    m_site.Write(name, Pattern(5000, 3));
    WriteBytes(m_temp + name, "from an earlier movie");
    const std::atomic<bool> cancel{true};
    std::string localfile;
    EXPECT_FALSE(DownloadToTemp(m_site.FolderUrl(), name, localfile, m_trace, &cancel));
    EXPECT_FALSE(FileExists(m_temp + name));
}

TEST_F(DownloadTest, ADownloadCancelledWhileTheBodyArrivesEndsAndLeavesNoPartialFile) {
    const std::string name = Name("slow.jpg");
    test::SlowServer server;
    std::atomic<bool> cancel{false};
    std::string localfile;
    bool arrived = true;
    // A slow transfer that keeps making progress outlasts the stall limit.
    std::thread download([&] {
        arrived = DownloadToTemp(server.FolderUrl(), name, localfile, m_trace, &cancel, std::chrono::milliseconds(300));
    });
    const bool sending = server.WaitUntilSending();
    // Let a good part of the body reach the file, over several stall limits, before giving up.
    for (int i = 0; i < 2000 && server.BytesSent() < 256 * 1024; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_GE(server.BytesSent(), 256u * 1024u) << "the transfer ended early";
    cancel = true;
    download.join();
    EXPECT_TRUE(sending) << "the download never started";
    EXPECT_FALSE(arrived);
    EXPECT_LT(server.BytesSent(), test::SlowServer::kBodySize);
    EXPECT_FALSE(FileExists(m_temp + name));
}

TEST_F(DownloadTest, ATransferThatStallsFailsAfterTheStallLimitAndLeavesNoFile) {
    const std::string name = Name("stalled.jpg");
    WriteBytes(m_temp + name, "from an earlier movie");
    test::SlowServer server(test::SlowServer::Pace::Stall);
    // Should the limit not work, the server ends the transfer after 10 s.
    std::atomic<bool> done{false};
    std::thread fallback([&] {
        for (int i = 0; i < 1000 && !done; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        server.LetGo();
    });
    std::string localfile;
    const auto start = std::chrono::steady_clock::now();
    const bool arrived = DownloadToTemp(server.FolderUrl(), name, localfile, m_trace, nullptr, std::chrono::milliseconds(1000));
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    done = true;
    fallback.join();
    std::printf("[ figure ] a transfer stalled after two bytes was given up after %lld ms (limit 1000 ms)\n",
                static_cast<long long>(took.count()));
    EXPECT_EQ(server.BytesSent(), 2u);
    EXPECT_FALSE(arrived);
    EXPECT_LT(took.count(), 10000) << "only the server's giving up ended the transfer";
    EXPECT_FALSE(FileExists(m_temp + name));
}

TEST_F(DownloadTest, NamesThatWouldLeaveTheTemporaryFolderOrReachADeviceAreRefusedWithoutARequest) {
    const std::string file = Name("escape.jpg");
    m_site.Write(file, "must not arrive");
    std::filesystem::create_directories(std::filesystem::path(m_site.Folder()) / "sub");
    m_site.Write("sub\\" + file, "must not arrive");
    const std::vector<std::string> names = {
        "../" + file, "..\\" + file, "sub/" + file, "sub\\" + file, "C:" + file, "..", ".", "",
        std::string(300, 'n') + ".jpg", "NUL", "nul.jpg", "COM1.jpg", "Con.tar.gz", "lpt9.JPG", "aux .jpg",
    };
    std::string expectedTrace;
    for (const std::string& name : names) {
        std::string localfile;
        EXPECT_FALSE(DownloadToTemp(m_site.FolderUrl(), name, localfile, m_trace)) << name;
        EXPECT_EQ(localfile, m_temp + name);
        expectedTrace += "remotefile = " + m_site.Url(name) + "\n";
    }
    EXPECT_EQ(m_site.Requests(), std::vector<std::string>{});
    EXPECT_EQ(Trace(), expectedTrace);
    EXPECT_FALSE(FileExists(m_temp + file));
    EXPECT_FALSE(FileExists(m_temp + "..\\" + file));
    EXPECT_FALSE(FileExists(m_temp + "sub\\" + file));
}

TEST_F(DownloadTest, PathsUpToMaxPathAndUrlsUpTo2083CharactersAreFetchedLongerOnesRefused) {
    const std::string prefix = Name("");
    ASSERT_LT(m_temp.size() + prefix.size() + 8, size_t{MAX_PATH});
    const size_t fits = MAX_PATH - 1 - m_temp.size() - prefix.size();
    // One file name component holds at most 255 characters.
    if (prefix.size() + fits > 255) GTEST_SKIP() << "the temporary folder's path is too short for this case";
    const std::string longest = prefix + std::string(fits, 'v');
    const std::string tooLong = prefix + std::string(fits + 1, 'v');
    m_names.push_back(longest);
    m_names.push_back(tooLong);
    m_site.Write(longest, "longest");
    m_site.Write(tooLong, "too long");
    std::string localfile;
    EXPECT_TRUE(DownloadToTemp(m_site.FolderUrl(), longest, localfile, m_trace));
    EXPECT_EQ(localfile.size(), size_t{MAX_PATH - 1});
    EXPECT_EQ(ReadBytes(m_temp + longest), "longest");
    EXPECT_FALSE(DownloadToTemp(m_site.FolderUrl(), tooLong, localfile, m_trace));
    EXPECT_FALSE(FileExists(m_temp + tooLong));

    // The server has no such folders: a request that goes out gets a 404.
    const std::string name = Name("u.jpg");
    const std::string padding(2083 - m_site.FolderUrl().size() - name.size() - 1, 'd');
    EXPECT_FALSE(DownloadToTemp(m_site.FolderUrl() + padding + "/", name, localfile, m_trace));
    EXPECT_EQ(m_site.Url(padding + "/" + name).size(), 2083u);
    EXPECT_FALSE(DownloadToTemp(m_site.FolderUrl() + padding + "d/", name, localfile, m_trace));
    EXPECT_FALSE(FileExists(m_temp + name));
    const std::vector<std::string> expected = {longest + " 200", padding + "/" + name + " 404"};
    EXPECT_EQ(m_site.Requests(), expected);
}

TEST(DownloadStatusCallbackTest, AnswersItsThreeInterfacesAndNullsTheOutPointerForOthers) {
    const auto callback = DownloadStatusCallback::Create(nullptr);
    IUnknown* identity = nullptr;
    ASSERT_EQ(callback->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
    ASSERT_NE(identity, nullptr);
    for (const IID& iid : {IID_IUnknown, IID_IBindStatusCallback, IID_IHttpNegotiate}) {
        IUnknown* answer = nullptr;
        ASSERT_EQ(callback->QueryInterface(iid, reinterpret_cast<void**>(&answer)), S_OK);
        ASSERT_NE(answer, nullptr);
        IUnknown* again = nullptr;
        ASSERT_EQ(answer->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&again)), S_OK);
        EXPECT_EQ(again, identity) << "one object, one identity";
        again->Release();
        answer->Release();
    }
    for (const IID& iid : {IID_IDispatch, IID_IHttpNegotiate2, IID_IAuthenticate, IID_IServiceProvider,
                           IID_IWindowForBindingUI, IID_IBindStatusCallbackEx}) {
        void* answer = &identity;
        EXPECT_EQ(callback->QueryInterface(iid, &answer), E_NOINTERFACE);
        EXPECT_EQ(answer, nullptr);
    }
    EXPECT_EQ(callback->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
    identity->Release();
}

TEST(DownloadStatusCallbackTest, CountsReferencesFromManyThreadsAtOnce) {
    const auto callback = DownloadStatusCallback::Create(nullptr);
    std::atomic<bool> start{false};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            while (!start) std::this_thread::yield();
            for (int i = 0; i < 1000000; ++i) {
                callback->AddRef();
                callback->Release();
            }
        });
    }
    start = true;
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(callback->AddRef(), 2u);
    EXPECT_EQ(callback->Release(), 1u);
}

TEST(DownloadStatusCallbackTest, ProgressAbortsOnceTheCancelFlagIsSet) {
    std::atomic<bool> cancel{false};
    const auto callback = DownloadStatusCallback::Create(&cancel);
    EXPECT_EQ(callback->OnProgress(10, 100, BINDSTATUS_DOWNLOADINGDATA, L"x"), S_OK);
    EXPECT_FALSE(callback->Aborted());
    cancel = true;
    EXPECT_EQ(callback->OnProgress(20, 100, BINDSTATUS_DOWNLOADINGDATA, L"x"), E_ABORT);
    EXPECT_TRUE(callback->Aborted());
}

TEST_F(DownloadTest, AFetcherWorksOnAThreadWithoutComAndLeavesItThatWay) {
    const std::string name = Name("view1.jpg");
    const std::string missing = Name("view2.jpg");
    m_site.Write(name, Pattern(3000, 4));
    DownloadFetcher fetcher(m_site.FolderUrl(), m_trace);
    const std::atomic<bool> cancel{false};
    FetchedFile fetched, failed{"not run", true};
    HRESULT afterwards = E_FAIL;
    std::thread([&] {
        fetched = fetcher.Fetch(name, cancel);
        failed = fetcher.Fetch(missing, cancel);
        afterwards = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        if (SUCCEEDED(afterwards)) CoUninitialize();
    }).join();
    EXPECT_TRUE(fetched.arrived);
    EXPECT_EQ(fetched.localfile, m_temp + name);
    EXPECT_TRUE(ReadBytes(m_temp + name) == Pattern(3000, 4));
    EXPECT_FALSE(failed.arrived);
    EXPECT_EQ(failed.localfile, m_temp + missing);
    EXPECT_FALSE(FileExists(m_temp + missing));
    EXPECT_EQ(afterwards, S_OK) << "COM was left initialised on the loader's thread";
}

TEST_F(DownloadTest, AFetcherWorksOnAThreadInTheMultithreadedApartment) {
    const std::string name = Name("view3.jpg");
    m_site.Write(name, Pattern(3000, 5));
    DownloadFetcher fetcher(m_site.FolderUrl(), m_trace);
    const std::atomic<bool> cancel{false};
    FetchedFile fetched;
    HRESULT afterwards = E_FAIL;
    std::thread([&] {
        if (FAILED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) return;
        fetched = fetcher.Fetch(name, cancel);
        afterwards = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        if (SUCCEEDED(afterwards)) CoUninitialize();
        CoUninitialize();
    }).join();
    EXPECT_TRUE(fetched.arrived);
    EXPECT_EQ(fetched.localfile, m_temp + name);
    EXPECT_TRUE(ReadBytes(m_temp + name) == Pattern(3000, 5));
    EXPECT_EQ(afterwards, S_FALSE) << "the thread's own apartment did not survive the download";
}

// Each download has its own status: a 404 on one thread must not make a
// download on another look failed, nor the other way round.
TEST_F(DownloadTest, TwoFetchersOnTwoThreadsEachGetTheirOwnFiles) {
    test::HttpSite otherSite;
    constexpr int kViews = 8;
    std::vector<std::string> ours, theirs;
    for (int v = 0; v < kViews; ++v) {
        ours.push_back(Name("a" + std::to_string(v) + ".jpg"));
        theirs.push_back(Name("b" + std::to_string(v) + ".jpg"));
        m_site.Write(ours[v], Pattern(20000 + v, 10 + v));
        // Every other view of the second movie is missing.
        if (v % 2 == 0) otherSite.Write(theirs[v], Pattern(30000 + v, 20 + v));
    }
    DownloadFetcher ourFetcher(m_site.FolderUrl(), m_trace);
    DownloadFetcher theirFetcher(otherSite.FolderUrl(), m_trace);
    const std::atomic<bool> cancel{false};
    std::vector<FetchedFile> ourPaths(kViews), theirPaths(kViews);
    std::thread first([&] {
        for (int v = 0; v < kViews; ++v) ourPaths[v] = ourFetcher.Fetch(ours[v], cancel);
    });
    std::thread second([&] {
        for (int v = 0; v < kViews; ++v) theirPaths[v] = theirFetcher.Fetch(theirs[v], cancel);
    });
    first.join();
    second.join();
    for (int v = 0; v < kViews; ++v) {
        EXPECT_TRUE(ourPaths[v].arrived) << ours[v];
        EXPECT_EQ(ourPaths[v].localfile, m_temp + ours[v]);
        EXPECT_TRUE(ReadBytes(m_temp + ours[v]) == Pattern(20000 + v, 10 + v)) << ours[v];
        EXPECT_EQ(theirPaths[v].arrived, v % 2 == 0) << theirs[v];
        EXPECT_EQ(theirPaths[v].localfile, m_temp + theirs[v]);
        if (v % 2 == 0) {
            EXPECT_TRUE(ReadBytes(m_temp + theirs[v]) == Pattern(30000 + v, 20 + v)) << theirs[v];
        } else {
            EXPECT_FALSE(FileExists(m_temp + theirs[v]));
        }
    }
    EXPECT_EQ(m_site.Requests().size(), size_t{kViews});
    EXPECT_EQ(otherSite.Requests().size(), size_t{kViews});
    std::istringstream trace(Trace());
    EXPECT_EQ(std::distance(std::istream_iterator<std::string>(trace), std::istream_iterator<std::string>()),
              2 * kViews * 3) << "one \"remotefile = <url>\" line per fetch";
}

TEST_F(DownloadTest, FetchersOfTheSameNameTakeTurnsUntilTheLoaderIsDoneWithTheFile) {
    test::HttpSite otherSite;
    const std::string name = Name("same.jpg");
    m_site.Write(name, Pattern(5000, 1));
    otherSite.Write(name, Pattern(7000, 2));
    DownloadFetcher ours(m_site.FolderUrl(), m_trace);
    DownloadFetcher theirs(otherSite.FolderUrl(), m_trace);
    const std::atomic<bool> noCancel{false};

    const FetchedFile first = ours.Fetch(name, noCancel);
    const std::string& path = first.localfile;
    ASSERT_TRUE(first.arrived);
    ASSERT_EQ(path, m_temp + name);
    EXPECT_TRUE(LocalFileLease::Held(path));
    std::atomic<bool> fetched{false};
    FetchedFile theirPath;
    std::thread other([&] {
        theirPath = theirs.Fetch(name, noCancel);
        fetched = true;
    });
    // While our loader still reads the file, the other one waits for it.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(fetched.load());
    EXPECT_TRUE(ReadBytes(path) == Pattern(5000, 1));
    ours.Done(path);
    other.join();
    EXPECT_TRUE(theirPath.arrived);
    EXPECT_EQ(theirPath.localfile, path);
    EXPECT_TRUE(ReadBytes(path) == Pattern(7000, 2));

    // A loader that is stopped while it waits gives up at once.
    std::atomic<bool> cancel{false};
    std::thread stopped([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        cancel = true;
    });
    EXPECT_FALSE(ours.Fetch(name, cancel).arrived);
    stopped.join();
    theirs.Done(path);
    EXPECT_FALSE(LocalFileLease::Held(path));
}

}  // namespace
}  // namespace zel::control
