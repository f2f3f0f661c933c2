// The Report's counting of findings and the names printed for severities and shells.
#include "findings.h"

#include <algorithm>

namespace zel::authoring {

void Report::Add(std::string kind, Severity severity, Shell shell, std::string file, int line, std::string token,
                 std::string message) {
    findings.push_back({std::move(kind), severity, shell, std::move(file), line, std::move(token), std::move(message)});
}

int Report::Count(Severity severity) const {
    return int(std::count_if(findings.begin(), findings.end(),
                             [severity](const Finding& finding) { return finding.severity == severity; }));
}

int Report::ExitStatus() const {
    if (Count(Severity::Error) > 0) return kExitErrors;
    return Count(Severity::Warning) > 0 ? kExitWarnings : kExitClean;
}

const char* SeverityName(Severity severity) { return severity == Severity::Error ? "error" : "warning"; }

const char* ShellName(Shell shell) {
    switch (shell) {
        case Shell::Plugin:
            return "plug-in";
        case Shell::Control:
            return "control";
        case Shell::Both:
            break;
    }
    return "both";
}

}  // namespace zel::authoring
