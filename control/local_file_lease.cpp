#include "local_file_lease.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>

namespace zel::control {
namespace {

std::mutex gLock;
std::condition_variable gReleased;
std::set<std::string> gHeld;

std::string Key(std::string path) {
    std::transform(path.begin(), path.end(), path.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return path;
}

}  // namespace

bool LocalFileLease::Acquire(const std::string& path, const std::atomic<bool>& cancel) {
    const std::string key = Key(path);
    std::unique_lock<std::mutex> lock(gLock);
    // The cancel flag is the loader's own, with no notification of its own:
    // look at it often while waiting.
    while (gHeld.count(key)) {
        if (cancel.load()) return false;
        gReleased.wait_for(lock, std::chrono::milliseconds(10));
    }
    if (cancel.load()) return false;
    gHeld.insert(key);
    return true;
}

void LocalFileLease::Release(const std::string& path) {
    {
        std::lock_guard<std::mutex> lock(gLock);
        gHeld.erase(Key(path));
    }
    gReleased.notify_all();
}

bool LocalFileLease::Held(const std::string& path) {
    std::lock_guard<std::mutex> lock(gLock);
    return gHeld.count(Key(path)) != 0;
}

}  // namespace zel::control
