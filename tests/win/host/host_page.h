// What the host tests share: a page embedding the fake plug-in in a private
// folder (with the files it asks for), where the fake plug-in is, and its log.
#pragma once

#include <string>
#include <vector>

#include "browser_host.h"
#include "temp_dir.h"

namespace zel::test {

inline constexpr char kEmbedAttributes[] =
    R"(SRC="movie.zel" type="application/x-Zelscope" WIDTH=200 height='120' first="views/front.jpg" second=missing.jpg)";

class HostPage {
public:
    // A page whose <embed> carries `attributes`, movie.zel of `movieBytes` bytes and views/front.jpg.
    explicit HostPage(const std::string& attributes = kEmbedAttributes, size_t movieBytes = 300);

    std::string PagePath() const { return m_dir.File("page.html"); }
    const TempDir& Dir() const { return m_dir; }
    std::string FileText(const std::string& name) const;

private:
    TempDir m_dir;
};

// The fake plug-in DLL, built beside the test program.
std::string FakePluginPath();

// The fake plug-in's log lines so far (empty when no plug-in is loaded).
std::vector<std::string> PluginLog(const host::BrowserHost& host);

// The first line at or after `from` that starts with `prefix`, or -1.
int FindLine(const std::vector<std::string>& lines, const std::string& prefix, int from = 0);
// The text after "key=" in `line`, up to the next space.
std::string Field(const std::string& line, const std::string& key);

}  // namespace zel::test
