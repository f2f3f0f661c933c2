// Checks of the view names themselves: what each shell will fetch by them, and
// names that Windows would take for one file.
#include <map>

#include "check_steps.h"
#include "file_names.h"

namespace zel::authoring {

namespace {

// The plug-in files a delivered picture only by its extension, case included.
bool PluginTakesAsView(const std::string& name) {
    const size_t separator = name.find_last_of("\\/");
    const size_t start = separator == std::string::npos ? 0 : separator + 1;
    const size_t dot = name.find_last_of('.');
    if (dot == std::string::npos || dot < start) return false;
    const std::string extension = name.substr(dot);
    return extension == ".jpg" || extension == ".JPG";
}

std::string Folded(const std::string& name) {
    std::string folded = name;
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    }
    return folded;
}

}  // namespace

void CheckNames(const AcceptedMovie& movie, Report& report) {
    std::map<std::string, int32_t> firstByFolded;
    for (int32_t view = 0; view < movie.table.viewCount; ++view) {
        const std::string& name = movie.Name(view);
        const int line = movie.ViewLine(view);
        if (!PluginTakesAsView(name)) {
            report.Add("plugin-name", Severity::Error, Shell::Plugin, movie.description, line, name,
                       "the plug-in files a picture only from a name ending in \".jpg\" or \".JPG\": " +
                           ViewText(view) + " never shows");
        }
        if (!IsPlainFileName(name)) {
            report.Add("control-name", Severity::Error, Shell::Control, movie.description, line, name,
                       "the control fetches only plain names beside the description (no folder, drive, "
                       "\"..\" or device name such as NUL or COM1): " + ViewText(view) + " stays black");
        }
        const auto [first, added] = firstByFolded.emplace(Folded(name), view);
        if (!added && movie.Name(first->second) != name) {
            report.Add("letter-case", Severity::Warning, Shell::Both, movie.description, line, name,
                       "differs only in letter case from " + ViewText(first->second) + "'s \"" +
                           movie.Name(first->second) + "\": on Windows both name one file");
        }
    }
}

}  // namespace zel::authoring
