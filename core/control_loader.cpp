#include "control_loader.h"

#include "control_walk.h"
#include "movie_viewer.h"
#include "no_throw.h"

namespace zel {

ControlLoader::~ControlLoader() {
    // The viewer stops its loader before it goes; this only covers a loader
    // that was never handed to one.
    m_cancel = true;
    if (m_thread.joinable()) m_thread.join();
}

void ControlLoader::StartLoading(MovieViewer& viewer) {
    if (m_thread.joinable()) StopLoading(viewer);
    m_cancel = false;
    m_finished = false;
    // Without a thread the movie stays unloaded, as if no view had arrived.
    const bool started = NoThrow(false, false, [&] {
        m_thread = std::thread([this, &viewer] { Run(viewer); });
        return true;
    });
    if (!started) m_finished = true;
}

void ControlLoader::StopLoading(MovieViewer& viewer) {
    if (!m_thread.joinable()) return;
    m_cancel = true;
    // The thread may be inside a synchronous repaint of the viewer's window,
    // which needs this (the window's) thread: serve it while waiting.
    viewer.Window().WaitServing([this] { return Finished(); });
    m_thread.join();
}

void ControlLoader::Run(MovieViewer& viewer) {
    NoThrow(false, false, [&] {
        ReadJPGFileThreadProc(viewer);
        return true;
    });
    m_finished.store(true, std::memory_order_release);
}

void ControlLoader::ReadJPGFileThreadProc(MovieViewer& viewer) {
    viewer.Trace().Append("in ReadJPGFileThreadProc\n");
    const std::string remote = m_fetcher->RemoteFolder();
    ControlWalk walk(viewer.Table());
    while (!m_cancel) {
        const std::optional<int32_t> view = walk.Next();
        if (!view) break;
        // A view that cannot be loaded (memory that cannot be had) has failed;
        // loading goes on with the next.
        if (!NoThrow(true, true, [&] { return LoadView(viewer, *view, remote); })) break;
    }
    if (!m_cancel) FinishControlLoading(viewer);
}

bool ControlLoader::LoadView(MovieViewer& viewer, int32_t view, const std::string& remote) {
    const std::string& name = viewer.Table().names[size_t(view)];
    const FetchedFile fetched = m_fetcher->Fetch(name, m_cancel);
    viewer.Trace().Append("remotefile = %s %s\nlocalfile = %s\n", remote.c_str(), name.c_str(),
                          fetched.localfile.c_str());
    if (m_cancel) {
        if (fetched.arrived) m_fetcher->Done(fetched.localfile);
        return false;
    }
    FileControlView(viewer, view, fetched.localfile, fetched.arrived);
    if (fetched.arrived) m_fetcher->Done(fetched.localfile);
    return true;
}

}  // namespace zel
