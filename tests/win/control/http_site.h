// A fresh folder under the test HTTP server's root, served on 127.0.0.1. The
// server runs as the CTest fixture "http"; its root, port file and request log
// come from ZEL_HTTP_ROOT, ZEL_HTTP_PORT_FILE and ZEL_HTTP_LOG. A folder of its
// own per test also keeps Wine's URL cache from answering one test with an
// earlier test's file.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace zel::test {

class HttpSite {
public:
    // Creates a unique subfolder of the served root; throws std::runtime_error
    // when the fixture's server is not there.
    HttpSite();
    // Removes the subfolder with everything in it.
    ~HttpSite();
    HttpSite(const HttpSite&) = delete;
    HttpSite& operator=(const HttpSite&) = delete;

    // The subfolder as a Windows path: files written there are served.
    std::string Folder() const;
    // "http://127.0.0.1:<port>/<sub>/"
    std::string FolderUrl() const;
    std::string Url(const std::string& name) const { return FolderUrl() + name; }
    // Writes `bytes` to `name` in the subfolder and returns its path.
    std::string Write(const std::string& name, const std::string& bytes) const;
    // The names requested from this folder so far, in order, each followed by
    // its status: "view0.jpg 200".
    std::vector<std::string> Requests() const;
    int Port() const { return m_port; }

private:
    std::string m_sub;
    std::filesystem::path m_folder;
    std::filesystem::path m_log;
    int m_port = 0;
};

}  // namespace zel::test
