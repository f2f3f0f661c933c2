#include "temp_dir.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <sstream>

namespace zel::test {

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count() % 1000000000;
    m_path = std::filesystem::temp_directory_path() /
             ("zel-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(m_path);
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::string TempDir::Write(const std::string& name, const std::string& text) const {
    const std::filesystem::path file = m_path / name;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
    return file.string();
}

std::string TempDir::Read(const std::string& name) const {
    std::ifstream in(m_path / name);
    if (!in) return "";
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

}  // namespace zel::test
