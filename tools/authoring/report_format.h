// zelcheck's two ways of printing a Report. Text: one finding per line,
//   FILE[:LINE]: error|warning: ["TOKEN": ]MESSAGE
// then a summary line and a count line. JSON: one document with the same
// findings, the summary (null when no shell accepts the description), the
// counts and the exit status.
#pragma once

#include <string>

#include "findings.h"

namespace zel::authoring {

std::string FormatFinding(const Finding& finding);
std::string FormatText(const Report& report);
std::string FormatJson(const Report& report);

}  // namespace zel::authoring
