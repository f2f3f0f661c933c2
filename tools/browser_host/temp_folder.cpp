#include "temp_folder.h"

#include <windows.h>

#include <atomic>

namespace zel::host {

TempFolder::~TempFolder() {
    if (m_path.empty()) return;
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

bool TempFolder::Create(std::string* error) {
    static std::atomic<int> folders{0};
    std::error_code failure;
    const std::filesystem::path base = std::filesystem::temp_directory_path(failure);
    if (failure) {
        *error = "no temporary folder: " + failure.message();
        return false;
    }
    const std::filesystem::path path = base / ("zel-host-" + std::to_string(GetCurrentProcessId()) + "-" +
                                               std::to_string(GetTickCount()) + "-" + std::to_string(folders++));
    if (!std::filesystem::create_directories(path, failure)) {
        *error = "cannot create " + path.string() + ": " + failure.message();
        return false;
    }
    m_path = path;
    return true;
}

std::string TempFolder::CopyIn(const std::string& source, const std::string& baseName, std::string* error) {
    if (m_path.empty() && !Create(error)) return "";
    const std::filesystem::path target = m_path / (std::to_string(++m_count) + "_" + baseName);
    std::error_code failure;
    if (!std::filesystem::copy_file(source, target, std::filesystem::copy_options::overwrite_existing, failure)) {
        *error = "cannot copy " + source + ": " + failure.message();
        return "";
    }
    return target.string();
}

}  // namespace zel::host
