#include "local_fetcher.h"

#include <chrono>
#include <filesystem>
#include <new>

namespace zel::test {

FetchedFile LocalFetcher::Fetch(const std::string& name, const std::atomic<bool>& cancel) {
    std::unique_lock<std::mutex> guard(m_lock);
    m_fetched.push_back(name);
    if (m_fetched.size() > m_holdFrom) {
        m_holding = true;
        m_changed.notify_all();
        while (!m_released && !cancel) m_changed.wait_for(guard, std::chrono::milliseconds(2));
        m_holding = false;
    }
    if (m_throwing.count(name)) throw std::bad_alloc();
    return FetchedFile{(std::filesystem::path(m_folder) / name).string(), m_failing.count(name) == 0};
}

void LocalFetcher::Done(const std::string& local) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_done.push_back(local);
}

std::vector<std::string> LocalFetcher::DoneWith() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_done;
}

std::vector<std::string> LocalFetcher::Fetched() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_fetched;
}

void LocalFetcher::Release() {
    std::lock_guard<std::mutex> guard(m_lock);
    m_released = true;
    m_changed.notify_all();
}

void LocalFetcher::WaitUntilHolding() {
    std::unique_lock<std::mutex> guard(m_lock);
    m_changed.wait(guard, [this] { return m_holding; });
}

}  // namespace zel::test
