// A view's local file is named after the remote file alone, so the loaders of
// two controls whose movies share view names would write and read one file at
// the same time. A lease gives a path to one loader from its download until
// its decode is done; another loader that wants the same path waits its turn.
#pragma once

#include <atomic>
#include <string>

namespace zel::control {

class LocalFileLease {
public:
    // Waits until no one else holds `path` (compared without letter case, as
    // the file system does) and takes it; false when `cancel` came first.
    static bool Acquire(const std::string& path, const std::atomic<bool>& cancel);
    static void Release(const std::string& path);
    static bool Held(const std::string& path);
};

}  // namespace zel::control
