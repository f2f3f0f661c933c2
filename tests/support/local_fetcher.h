// A ViewFetcher over a local folder for the loader tests: it records the order
// of fetches, can fail chosen views, and can hold a fetch until released or
// cancelled, to catch a loader in the middle of a movie.
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "control_loader.h"

namespace zel::test {

class LocalFetcher : public ViewFetcher {
public:
    explicit LocalFetcher(std::string folder) : m_folder(std::move(folder)) {}

    std::string RemoteFolder() const override { return m_folder; }
    FetchedFile Fetch(const std::string& name, const std::atomic<bool>& cancel) override;
    void Done(const std::string& local) override;

    std::vector<std::string> Fetched() const;
    // The local paths the loader said it was done with, in order.
    std::vector<std::string> DoneWith() const;
    void Fail(const std::string& name) { m_failing.insert(name); }
    // Fetching `name` throws std::bad_alloc, as running out of memory would.
    void Throw(const std::string& name) { m_throwing.insert(name); }
    // Fetches from the `count`-th on wait until Release() or the loader cancels.
    void HoldFrom(size_t count) { m_holdFrom = count; }
    void Release();
    // Waits until a fetch is being held.
    void WaitUntilHolding();

private:
    std::string m_folder;
    std::set<std::string> m_failing;
    std::set<std::string> m_throwing;
    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    std::vector<std::string> m_fetched;
    std::vector<std::string> m_done;
    size_t m_holdFrom = SIZE_MAX;
    bool m_holding = false;
    bool m_released = false;
};

}  // namespace zel::test
