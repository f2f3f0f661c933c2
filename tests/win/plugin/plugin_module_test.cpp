// NpZel.dll through its exports, as a browser binds to it: the function
// tables, the version rules, instances, saved data and the stream routing.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "fake_browser.h"
#include "grid_movie.h"
#include "npapi.h"
#include "stream_routing.h"
#include "temp_dir.h"
#include "test_window.h"

namespace zel {
namespace {

struct Module {
    Module() {
        handle = LoadLibraryA(ZEL_NPZEL_PATH);
        getEntryPoints = test::LoadExport<NP_GetEntryPointsFunc>(handle, "NP_GetEntryPoints");
        initialize = test::LoadExport<NP_InitializeFunc>(handle, "NP_Initialize");
        shutdown = test::LoadExport<NP_ShutdownFunc>(handle, "NP_Shutdown");
    }
    HMODULE handle;
    NP_GetEntryPointsFunc getEntryPoints;
    NP_InitializeFunc initialize;
    NP_ShutdownFunc shutdown;
};

Module& TheModule() {
    static Module module;
    return module;
}

class Plugin : public ::testing::Test {
protected:
    void Bind(uint16_t version) {
        m_browser.reset();
        m_browser = std::make_unique<test::FakeBrowser>(version);
        ASSERT_NE(TheModule().getEntryPoints, nullptr) << "NpZel.dll or its exports not found";
        ASSERT_EQ(TheModule().getEntryPoints(&m_funcs), NPERR_NO_ERROR);
        m_initResult = TheModule().initialize(&m_browser->table);
    }
    void SetUp() override { Bind(0x000B); }
    void TearDown() override {
        TheModule().shutdown();
        m_browser.reset();
    }
    NPError New(NPSavedData* saved = nullptr) {
        return m_funcs.newp(const_cast<char*>("application/x-Zelscope"), &m_instance, NP_EMBED, 0, nullptr,
                            nullptr, saved);
    }
    NPSavedData* SavedIndex(int32_t view) {
        auto* data = static_cast<NPSavedData*>(m_browser->table.memalloc(sizeof(NPSavedData)));
        data->len = 4;
        data->buf = m_browser->table.memalloc(4);
        std::memcpy(data->buf, &view, 4);
        return data;
    }

    std::unique_ptr<test::FakeBrowser> m_browser;
    NPPluginFuncs m_funcs{};
    NPError m_initResult = -1;
    NPP_t m_instance{};
};

TEST(PluginExports, RefuseNullTablesAndAMajorVersionAboveZero) {
    EXPECT_EQ(TheModule().getEntryPoints(nullptr), NPERR_INVALID_FUNCTABLE_ERROR);
    EXPECT_EQ(TheModule().initialize(nullptr), NPERR_INVALID_FUNCTABLE_ERROR);
    test::FakeBrowser browser(0x0109);
    NPPluginFuncs funcs{};
    TheModule().getEntryPoints(&funcs);
    EXPECT_EQ(TheModule().initialize(&browser.table), NPERR_INCOMPATIBLE_VERSION_ERROR);
    EXPECT_EQ(TheModule().shutdown(), NPERR_NO_ERROR);
}

TEST(PluginExports, OfferNotificationsOnlyToBrowsersOfVersion09AndLater) {
    for (uint16_t version : {uint16_t{0x0008}, uint16_t{0x000B}}) {
        test::FakeBrowser browser(version);
        NPPluginFuncs funcs{};
        void* const sentinel = &funcs;
        funcs.javaClass = sentinel;
        ASSERT_EQ(TheModule().getEntryPoints(&funcs), NPERR_NO_ERROR);
        EXPECT_EQ(funcs.version, 9);
        EXPECT_EQ(funcs.event, nullptr);
        for (void* slot : {(void*)funcs.newp, (void*)funcs.destroy, (void*)funcs.setwindow, (void*)funcs.newstream,
                           (void*)funcs.destroystream, (void*)funcs.asfile, (void*)funcs.writeready,
                           (void*)funcs.write, (void*)funcs.print}) {
            EXPECT_NE(slot, nullptr);
        }
        EXPECT_EQ(TheModule().initialize(&browser.table), NPERR_NO_ERROR);
        if (version == 0x0008) {
            EXPECT_EQ(funcs.urlnotify, nullptr);
            EXPECT_EQ(funcs.javaClass, sentinel);
        } else {
            EXPECT_NE(funcs.urlnotify, nullptr);
            EXPECT_EQ(funcs.javaClass, nullptr);
        }
        TheModule().shutdown();
    }
}

TEST_F(Plugin, SavesTheCurrentViewAndRestoresItInTheNextInstance) {
    ASSERT_EQ(m_initResult, NPERR_NO_ERROR);
    ASSERT_EQ(New(SavedIndex(7)), NPERR_NO_ERROR);
    EXPECT_EQ(m_browser->allocations, 1);  // the saved blocks are freed; the record stays
    NPSavedData* saved = nullptr;
    ASSERT_EQ(m_funcs.destroy(&m_instance, &saved), NPERR_NO_ERROR);
    ASSERT_NE(saved, nullptr);
    EXPECT_EQ(saved->len, 4);
    const uint8_t* bytes = static_cast<const uint8_t*>(saved->buf);
    EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + 4), (std::vector<uint8_t>{7, 0, 0, 0}));
    EXPECT_EQ(m_instance.pdata, nullptr);
    EXPECT_EQ(m_browser->allocations, 2);  // the browser keeps the saved data
    ASSERT_EQ(New(saved), NPERR_NO_ERROR);
    EXPECT_EQ(m_browser->allocations, 1);
    m_funcs.destroy(&m_instance, nullptr);
    EXPECT_EQ(m_browser->allocations, 0);
}

// The saved index belongs to the page's own movie: a smaller movie shown in
// between must not turn it away before that movie's description is back.
TEST_F(Plugin, ASavedViewIsJudgedByTheDescriptionThatArrivesNotTheOneStillLoaded) {
    test::TempDir dir;
    ASSERT_EQ(New(), NPERR_NO_ERROR);
    const std::string small = dir.Write("small.zel", test::GridDescription(1, 2, 120, 96));
    m_funcs.asfile(&m_instance, nullptr, small.c_str());
    m_funcs.destroy(&m_instance, nullptr);
    m_browser->requests.clear();

    ASSERT_EQ(New(SavedIndex(7)), NPERR_NO_ERROR);
    const std::string large = dir.Write("large.zel", test::GridDescription(2, 4, 120, 96));
    m_funcs.asfile(&m_instance, nullptr, large.c_str());
    ASSERT_EQ(m_browser->requests.size(), 1u);
    EXPECT_EQ(m_browser->requests[0].url, "r1c3.jpg");  // view 7 of the 2 x 4 grid
    NPSavedData* saved = nullptr;
    m_funcs.destroy(&m_instance, &saved);
    ASSERT_NE(saved, nullptr);
    EXPECT_EQ(*static_cast<const int32_t*>(saved->buf), 7);

    // Beyond the movie that arrives, the walk starts at view 0.
    ASSERT_EQ(New(SavedIndex(12)), NPERR_NO_ERROR);
    m_browser->requests.clear();
    m_funcs.asfile(&m_instance, nullptr, large.c_str());
    ASSERT_EQ(m_browser->requests.size(), 1u);
    EXPECT_EQ(m_browser->requests[0].url, "r0c0.jpg");
    m_funcs.destroy(&m_instance, nullptr);
    m_browser->table.memfree(saved->buf);
    m_browser->table.memfree(saved);
}

TEST_F(Plugin, SavedDataTooShortOrWithoutABufferIsFreedUnread) {
    auto* shortData = SavedIndex(5);
    shortData->len = 2;
    ASSERT_EQ(New(shortData), NPERR_NO_ERROR);
    NPSavedData* saved = nullptr;
    m_funcs.destroy(&m_instance, &saved);
    ASSERT_NE(saved, nullptr);
    int32_t view = -1;
    std::memcpy(&view, saved->buf, 4);
    EXPECT_EQ(view, 0);
    auto* empty = static_cast<NPSavedData*>(m_browser->table.memalloc(sizeof(NPSavedData)));
    *empty = {4, nullptr};
    m_browser->table.memfree(saved->buf);
    m_browser->table.memfree(saved);
    ASSERT_EQ(New(empty), NPERR_NO_ERROR);
    m_funcs.destroy(&m_instance, nullptr);
    EXPECT_EQ(m_browser->allocations, 0);
}

TEST_F(Plugin, OutOfMemoryInNewAndInDestroyIsHandled) {
    m_browser->failAllocationsFrom = 0;
    EXPECT_EQ(New(), NPERR_OUT_OF_MEMORY_ERROR);
    EXPECT_EQ(m_instance.pdata, nullptr);
    NPWindow window{};
    EXPECT_EQ(m_funcs.setwindow(&m_instance, &window), NPERR_GENERIC_ERROR);
    NPSavedData* saved = nullptr;
    EXPECT_EQ(m_funcs.destroy(&m_instance, &saved), NPERR_NO_ERROR);
    EXPECT_EQ(saved, nullptr);

    m_browser->failAllocationsFrom = 2;  // the record, then the NPSavedData; not its buffer
    ASSERT_EQ(New(), NPERR_NO_ERROR);
    EXPECT_EQ(m_funcs.destroy(&m_instance, &saved), NPERR_NO_ERROR);
    EXPECT_EQ(saved, nullptr);
    EXPECT_EQ(m_browser->allocations, 0);
}

TEST_F(Plugin, AnswersTheSimpleCallsAsABrowserExpects) {
    EXPECT_EQ(m_funcs.newp(nullptr, nullptr, NP_EMBED, 0, nullptr, nullptr, nullptr), NPERR_INVALID_INSTANCE_ERROR);
    ASSERT_EQ(New(), NPERR_NO_ERROR);
    EXPECT_EQ(m_funcs.writeready(&m_instance, nullptr), 10);
    char data[1000] = {};
    EXPECT_EQ(m_funcs.write(&m_instance, nullptr, 0, 1000, data), 1000);
    EXPECT_EQ(m_funcs.destroystream(nullptr, nullptr, NPRES_DONE), NPERR_INVALID_INSTANCE_ERROR);
    EXPECT_EQ(m_funcs.destroystream(&m_instance, nullptr, NPRES_NETWORK_ERR), NPERR_NO_ERROR);
    uint16_t type = NP_NORMAL;
    EXPECT_EQ(m_funcs.newstream(&m_instance, nullptr, nullptr, false, &type), NPERR_NO_ERROR);
    EXPECT_EQ(type, NP_ASFILEONLY);
    NPPrint full{};
    full.mode = NP_FULL;
    full.print.fullPrint.pluginPrinted = true;
    m_funcs.print(&m_instance, &full);
    EXPECT_FALSE(full.print.fullPrint.pluginPrinted);
    NPPrint embedded{};
    embedded.mode = NP_EMBED;
    embedded.print.embedPrint.platformPrint = &embedded;
    m_funcs.print(&m_instance, &embedded);
    EXPECT_EQ(embedded.print.embedPrint.platformPrint, &embedded);
    m_funcs.print(&m_instance, nullptr);
    m_funcs.asfile(&m_instance, nullptr, nullptr);  // a stream the browser could not store
    EXPECT_EQ(m_funcs.setwindow(&m_instance, nullptr), NPERR_GENERIC_ERROR);
    m_funcs.destroy(&m_instance, nullptr);
}

TEST_F(Plugin, ReadsDescriptionsAndRequestsTheStartViewWithARecordOfItsIndex) {
    test::TempDir dir;
    ASSERT_EQ(New(), NPERR_NO_ERROR);
    const std::string description = dir.Write("grid.zel", test::GridDescription(2, 3, 120, 96));
    m_funcs.asfile(&m_instance, nullptr, description.c_str());
    ASSERT_EQ(m_browser->requests.size(), 1u);
    EXPECT_EQ(m_browser->requests[0].url, "r0c0.jpg");
    ASSERT_NE(m_browser->requests[0].notifyData, nullptr);
    int32_t view = -1;
    std::memcpy(&view, m_browser->requests[0].notifyData, 4);
    EXPECT_EQ(view, 0);
    // A failed request is notified: the record is the plug-in's to free.
    m_funcs.urlnotify(&m_instance, "r0c0.jpg", NPRES_NETWORK_ERR, m_browser->requests[0].notifyData);
    EXPECT_EQ(m_browser->requests.size(), 4u);  // the neighbours of view 0: down 3, right 1, left 2
    for (auto& request : m_browser->requests) {
        if (&request != &m_browser->requests[0]) m_funcs.urlnotify(&m_instance, "", NPRES_NETWORK_ERR, request.notifyData);
    }
    m_funcs.destroy(&m_instance, nullptr);
}

TEST_F(Plugin, WithABrowserOlderThan09NoViewIsEverRequested) {
    TheModule().shutdown();
    Bind(0x0008);
    test::TempDir dir;
    ASSERT_EQ(New(), NPERR_NO_ERROR);
    const std::string description = dir.Write("grid.zel", test::GridDescription(1, 2, 120, 96));
    m_funcs.asfile(&m_instance, nullptr, description.c_str());
    EXPECT_TRUE(m_browser->requests.empty());
    m_funcs.destroy(&m_instance, nullptr);
}

TEST(StreamRouting, ByTheLastComponentsExtensionCaseIncluded) {
    using plugin::StreamFileKind;
    const std::pair<const char*, StreamFileKind> cases[] = {
        {"C:\\cache\\movie.zel", StreamFileKind::Description}, {"movie.ZEL", StreamFileKind::Description},
        {"a/b/old.ser", StreamFileKind::Description},         {"old.SER", StreamFileKind::Description},
        {"C:\\t\\view.jpg", StreamFileKind::View},             {"VIEW.JPG", StreamFileKind::View},
        {"movie.Zel", StreamFileKind::Ignored},                {"view.jpeg", StreamFileKind::Ignored},
        {"C:\\dir.zel\\file", StreamFileKind::Ignored},        {"dir.jpg/file", StreamFileKind::Ignored},
        {"noextension", StreamFileKind::Ignored},              {"", StreamFileKind::Ignored},
    };
    for (const auto& [path, kind] : cases) EXPECT_EQ(plugin::ClassifyStreamFile(path), kind) << path;
}

}  // namespace
}  // namespace zel
