// The control's loading order: one loader thread per viewer walks the neighbour
// graph breadth-first from view 0 (slots 3, 4, 1, 2: right, left, down, up),
// fetching, decoding and publishing one view at a time. View 0 is shown as soon
// as it is published (LoadState 2 and a synchronous repaint); when the queue is
// empty, LoadState becomes 1 and the window beeps.
//
// Everything the thread uses belongs to this loader and its viewer, so several
// controls in one process load independently. A viewer that goes away first
// stops its loader (a cancel flag tested between views and offered to the
// fetch) and waits for it while serving the loader's repaints.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

#include "view_loader.h"

namespace zel {

// What one fetch left behind.
struct FetchedFile {
    // Where the view is stored, as the trace shows it, also when the fetch failed.
    std::string localfile;
    // The file at `localfile` is this fetch's; otherwise it is never opened.
    bool arrived = false;
};

// Brings one view file of the movie to a local file.
class ViewFetcher {
public:
    virtual ~ViewFetcher() = default;
    // The folder the views are fetched from, as the trace shows it.
    virtual std::string RemoteFolder() const = 0;
    // Fetches view `name`. When the fetch fails, no file is left at its
    // localfile. Gives up soon once `cancel` is true.
    virtual FetchedFile Fetch(const std::string& name, const std::atomic<bool>& cancel) = 0;
    // The loader has read the file of a fetch that arrived and will not touch it again.
    virtual void Done(const std::string& /*local*/) {}
};

class ControlLoader : public ViewLoader {
public:
    explicit ControlLoader(std::shared_ptr<ViewFetcher> fetcher) : m_fetcher(std::move(fetcher)) {}
    ~ControlLoader() override;

    void StartLoading(MovieViewer& viewer) override;
    void StopLoading(MovieViewer& viewer) override;

    // True once the thread has walked the whole graph (or was stopped).
    bool Finished() const { return m_finished.load(std::memory_order_acquire); }

private:
    // The thread's entry: nothing it meets leaves it as an exception.
    void Run(MovieViewer& viewer);
    void ReadJPGFileThreadProc(MovieViewer& viewer);
    // Fetches, decodes and publishes one view; false once the loader is cancelled.
    bool LoadView(MovieViewer& viewer, int32_t view, const std::string& remote);

    std::shared_ptr<ViewFetcher> m_fetcher;
    std::thread m_thread;
    std::atomic<bool> m_cancel{false};
    std::atomic<bool> m_finished{true};
};

}  // namespace zel
