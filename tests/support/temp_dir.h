// A private folder for one test, removed with everything in it afterwards.
#pragma once

#include <filesystem>
#include <string>

namespace zel::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    // Writes `text` byte for byte to `name` inside the folder and returns its path.
    std::string Write(const std::string& name, const std::string& text) const;
    std::string File(const std::string& name) const { return (m_path / name).string(); }
    // A text file inside the folder, read in text mode (so "\r\n" on Windows
    // reads as "\n"), or "" if it does not exist.
    std::string Read(const std::string& name) const;

private:
    std::filesystem::path m_path;
};

}  // namespace zel::test
