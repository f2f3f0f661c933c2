// What zelcheck finds in a movie: one Finding per fault, each tied to a file and,
// where it applies, to a line and the token read there; and a Summary of the
// movie's size. Errors are faults that make a shell refuse the movie or show it
// wrongly; warnings are faults a shell survives.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zel::authoring {

enum class Severity { Warning, Error };

// The shell a finding concerns.
enum class Shell { Both, Plugin, Control };

struct Finding {
    std::string kind;  // what was found, e.g. "refused", "missing-file", "one-way-link"
    Severity severity = Severity::Error;
    Shell shell = Shell::Both;
    std::string file;  // the description, a view file or a morph file
    int line = 0;      // 0 when not tied to one line
    std::string token; // "" when not tied to one token
    std::string message;
};

struct Summary {
    int64_t views = 0;
    int64_t reachableViews = 0;  // from view 0, where both shells start a new movie
    uint64_t viewFileBytes = 0;  // every distinct view file once
    // What each shell holds once every view reachable from view 0 is loaded.
    uint64_t controlRgbBytes = 0;
    uint64_t pluginPacked16Bytes = 0;
    uint64_t pluginPacked24Bytes = 0;
    uint64_t pluginPlaneBytes = 0;  // the plug-in's decoding buffer, grown for large pictures
};

// Exit statuses of zelcheck and zelmake.
inline constexpr int kExitClean = 0;
inline constexpr int kExitWarnings = 1;
inline constexpr int kExitErrors = 2;
inline constexpr int kExitUsage = 3;  // bad arguments: nothing was checked

struct Report {
    std::string description;  // the path as given
    std::vector<Finding> findings;
    std::optional<Summary> summary;  // none when no shell accepts the description

    void Add(std::string kind, Severity severity, Shell shell, std::string file, int line, std::string token,
             std::string message);
    int Count(Severity severity) const;
    int ExitStatus() const;
};

const char* SeverityName(Severity severity);
// "both", "plug-in" or "control".
const char* ShellName(Shell shell);

}  // namespace zel::authoring
