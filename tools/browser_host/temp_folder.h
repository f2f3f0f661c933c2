// The host's private download folder: every delivered file is copied there
// under a name of its own that keeps the original's extension, because
// plug-ins route a file by its extension. Removed with everything in it.
#pragma once

#include <filesystem>
#include <string>

namespace zel::host {

class TempFolder {
public:
    TempFolder() = default;
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Copies `source` in as "<n>_<baseName>" and returns the copy's path, or ""
    // with *error set. The folder is created on first use.
    std::string CopyIn(const std::string& source, const std::string& baseName, std::string* error);
    const std::filesystem::path& Path() const { return m_path; }

private:
    bool Create(std::string* error);

    std::filesystem::path m_path;
    int m_count = 0;
};

}  // namespace zel::host
