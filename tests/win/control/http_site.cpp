#include "http_site.h"

#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include "wine_path.h"

namespace zel::test {
namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value) {
        throw std::runtime_error(std::string(name) +
                                 " is not set: run the test through ctest, which starts the http fixture");
    }
    return value;
}

int ReadPort(const std::string& file) {
    std::ifstream in(WindowsPath(file));
    int port = 0;
    if (!(in >> port) || port <= 0 || port > 65535) {
        throw std::runtime_error("no port in " + file + ": the http fixture's server is not running");
    }
    return port;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The server logs request paths as the client sent them: %XX-encoded.
std::string PercentDecoded(const std::string& text) {
    std::string decoded;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 && HexDigit(text[i + 2]) >= 0) {
            decoded += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

}  // namespace

HttpSite::HttpSite() {
    const std::string root = Environment("ZEL_HTTP_ROOT");
    m_port = ReadPort(Environment("ZEL_HTTP_PORT_FILE"));
    m_log = WindowsPath(Environment("ZEL_HTTP_LOG"));
    // Unique across the test programs running at once and across runs, whose
    // downloads Wine's URL cache remembers.
    static std::atomic<int> counter{0};
    const auto stamp = std::chrono::system_clock::now().time_since_epoch().count();
    m_sub = "site-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter++) + "-" +
            std::to_string(stamp);
    m_folder = std::filesystem::path(WindowsPath(root)) / m_sub;
    std::filesystem::create_directories(m_folder);
}

HttpSite::~HttpSite() {
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
}

std::string HttpSite::Folder() const { return m_folder.string(); }

std::string HttpSite::FolderUrl() const {
    return "http://127.0.0.1:" + std::to_string(m_port) + "/" + m_sub + "/";
}

std::string HttpSite::Write(const std::string& name, const std::string& bytes) const {
    const std::filesystem::path file = m_folder / name;
    std::ofstream(file, std::ios::binary) << bytes;
    return file.string();
}

// A request line of the log reads: 127.0.0.1 - - [date] "GET /<sub>/<name> HTTP/1.1" 200 -
std::vector<std::string> HttpSite::Requests() const {
    std::vector<std::string> requests;
    std::ifstream in(m_log);
    const std::string folder = " /" + m_sub + "/";
    std::string line;
    while (std::getline(in, line)) {
        // A last line without its newline may still be being written.
        if (in.eof()) break;
        const size_t start = line.find(folder);
        if (start == std::string::npos) continue;
        const size_t nameStart = start + folder.size();
        const size_t nameEnd = line.find(" HTTP/", nameStart);
        if (nameEnd == std::string::npos) continue;
        const size_t statusStart = line.find("\" ", nameEnd);
        if (statusStart == std::string::npos) continue;
        const size_t statusEnd = line.find(' ', statusStart + 2);
        const std::string status = line.substr(statusStart + 2, statusEnd - (statusStart + 2));
        requests.push_back(PercentDecoded(line.substr(nameStart, nameEnd - nameStart)) + " " + status);
    }
    return requests;
}

}  // namespace zel::test
