// Printing a Report as text lines or as one JSON document.
#include "report_format.h"

#include "json_writer.h"

namespace zel::authoring {

namespace {

std::string Plural(int64_t count, const std::string& one) {
    return std::to_string(count) + " " + one + (count == 1 ? "" : "s");
}

void WriteFinding(JsonWriter& json, const Finding& finding) {
    json.BeginObject();
    json.Key("kind");
    json.String(finding.kind);
    json.Key("severity");
    json.String(SeverityName(finding.severity));
    json.Key("shell");
    json.String(ShellName(finding.shell));
    json.Key("file");
    json.String(finding.file);
    json.Key("line");
    if (finding.line > 0) {
        json.Number(finding.line);
    } else {
        json.Null();
    }
    json.Key("token");
    if (finding.token.empty()) {
        json.Null();
    } else {
        json.String(finding.token);
    }
    json.Key("message");
    json.String(finding.message);
    json.EndObject();
}

void WriteSummary(JsonWriter& json, const Summary& summary) {
    json.BeginObject();
    const std::pair<const char*, uint64_t> members[] = {
        {"views", uint64_t(summary.views)},
        {"reachableViews", uint64_t(summary.reachableViews)},
        {"viewFileBytes", summary.viewFileBytes},
        {"controlRgbBytes", summary.controlRgbBytes},
        {"pluginPacked16Bytes", summary.pluginPacked16Bytes},
        {"pluginPacked24Bytes", summary.pluginPacked24Bytes},
        {"pluginPlaneBytes", summary.pluginPlaneBytes},
    };
    for (const auto& [name, value] : members) {
        json.Key(name);
        json.Unsigned(value);
    }
    json.EndObject();
}

}  // namespace

std::string FormatFinding(const Finding& finding) {
    std::string line = finding.file;
    if (finding.line > 0) line += ":" + std::to_string(finding.line);
    line += std::string(": ") + SeverityName(finding.severity) + ": ";
    if (!finding.token.empty()) line += "\"" + finding.token + "\": ";
    return line + finding.message;
}

std::string FormatText(const Report& report) {
    std::string text;
    for (const Finding& finding : report.findings) text += FormatFinding(finding) + "\n";
    if (report.summary) {
        const Summary& s = *report.summary;
        text += report.description + ": summary: " + Plural(s.views, "view") + ", " + std::to_string(s.reachableViews) +
                " reachable from view 0, " + std::to_string(s.viewFileBytes) + " bytes of view files; loaded: " +
                "control " + std::to_string(s.controlRgbBytes) + " bytes of RGB frames, plug-in " +
                std::to_string(s.pluginPacked16Bytes) + " bytes of frames at 16 bits or " +
                std::to_string(s.pluginPacked24Bytes) + " at 24 bits, plus " + std::to_string(s.pluginPlaneBytes) +
                " bytes of decoding planes\n";
    }
    text += report.description + ": " + Plural(report.Count(Severity::Error), "error") + ", " +
            Plural(report.Count(Severity::Warning), "warning") + "\n";
    return text;
}

std::string FormatJson(const Report& report) {
    JsonWriter json;
    json.BeginObject();
    json.Key("description");
    json.String(report.description);
    json.Key("findings");
    json.BeginArray();
    for (const Finding& finding : report.findings) WriteFinding(json, finding);
    json.EndArray();
    json.Key("summary");
    if (report.summary) {
        WriteSummary(json, *report.summary);
    } else {
        json.Null();
    }
    json.Key("errors");
    json.Number(report.Count(Severity::Error));
    json.Key("warnings");
    json.Number(report.Count(Severity::Warning));
    json.Key("exitStatus");
    json.Number(report.ExitStatus());
    json.EndObject();
    return json.Text();
}

}  // namespace zel::authoring
