#include "host_page.h"

#include <windows.h>

#include <fstream>
#include <sstream>

namespace zel::test {

HostPage::HostPage(const std::string& attributes, size_t movieBytes) {
    m_dir.Write("page.html", "<html><head><title>fake</title></head>\n<body><p>An object:</p>\n<EMBED " +
                                 attributes + ">\n</body></html>\n");
    std::string movie = "2 200 120 0\n";
    while (movie.size() < movieBytes) movie += char('a' + movie.size() % 26);
    m_dir.Write("movie.zel", movie);
    m_dir.Write("views/front.jpg", std::string("\xFF\xD8 not really a picture \xFF\xD9", 27));
}

std::string HostPage::FileText(const std::string& name) const {
    std::ifstream in(m_dir.File(name), std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::string FakePluginPath() {
    char program[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, program, sizeof program);
    std::string folder(program, length);
    folder.erase(folder.find_last_of("\\/") + 1);
    return folder + ZEL_FAKE_PLUGIN_NAME;
}

std::vector<std::string> PluginLog(const host::BrowserHost& host) {
    using LogFunction = const char* (*)();
    const FARPROC proc = host.PluginExport("FakePluginLog");
    if (!proc) return {};
    const auto log = reinterpret_cast<LogFunction>(reinterpret_cast<void (*)()>(proc));
    std::vector<std::string> lines;
    std::istringstream in(log());
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

int FindLine(const std::vector<std::string>& lines, const std::string& prefix, int from) {
    for (int i = std::max(from, 0); i < static_cast<int>(lines.size()); ++i)
        if (lines[size_t(i)].compare(0, prefix.size(), prefix) == 0) return i;
    return -1;
}

std::string Field(const std::string& line, const std::string& key) {
    const std::string marker = " " + key + "=";
    const size_t at = line.find(marker);
    if (at == std::string::npos) return "";
    const size_t start = at + marker.size();
    return line.substr(start, line.find(' ', start) - start);
}

}  // namespace zel::test
