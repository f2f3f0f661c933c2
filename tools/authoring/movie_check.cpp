// CheckMovie: both readers first, then the steps of check_steps.h on the table
// a shell accepted, then the summary.
#include "movie_check.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <tuple>

#include "check_steps.h"
#include "frames.h"
#include "view_graph.h"

namespace zel::authoring {

namespace {

// The plug-in reads a delivered file as a description only by these extensions.
bool PluginTakesAsDescription(const std::string& path) {
    const std::string name = std::filesystem::path(path).filename().string();
    const size_t dot = name.find_last_of('.');
    const std::string extension = dot == std::string::npos ? "" : name.substr(dot);
    return extension == ".zel" || extension == ".ZEL" || extension == ".ser" || extension == ".SER";
}

bool SameProblem(const DescriptionProblem& a, const DescriptionProblem& b) {
    return a.line == b.line && a.token == b.token && a.message == b.message;
}

void AddRefusal(Report& report, Shell shell, const DescriptionProblem& problem) {
    const std::string who = shell == Shell::Both      ? "both shells refuse"
                            : shell == Shell::Plugin ? "the plug-in refuses"
                                                     : "the control refuses";
    report.Add("refused", Severity::Error, shell, report.description, problem.line, problem.token,
               who + " the description: " + problem.message);
}

// Adds the readers' refusals; false when neither shell accepts the file.
bool ReportReaders(const DescriptionRead& plugin, const DescriptionRead& control, Report& report) {
    const bool pluginRefuses = plugin.status == ReadStatus::Refused;
    const bool controlRefuses = control.status == ReadStatus::Refused;
    if (pluginRefuses && controlRefuses && SameProblem(plugin.problem, control.problem)) {
        AddRefusal(report, Shell::Both, plugin.problem);
    } else {
        if (pluginRefuses) AddRefusal(report, Shell::Plugin, plugin.problem);
        if (controlRefuses) AddRefusal(report, Shell::Control, control.problem);
    }
    return plugin.status == ReadStatus::Ok || control.status == ReadStatus::Ok;
}

Summary Summarise(const AcceptedMovie& movie, const PictureTotals& pictures) {
    const ViewTable& table = movie.table;
    Summary summary;
    summary.views = table.viewCount;
    for (char reached : ReachableFrom(table, 0)) summary.reachableViews += reached ? 1 : 0;
    summary.viewFileBytes = pictures.fileBytes;
    const uint64_t views = uint64_t(summary.reachableViews);
    const uint64_t height = uint64_t(table.height);
    summary.controlRgbBytes = views * uint64_t(table.width) * height * 3;
    summary.pluginPacked16Bytes = views * PackedRowBytes(table.width, kDepth16) * height;
    summary.pluginPacked24Bytes = views * PackedRowBytes(table.width, kDepth24) * height;
    summary.pluginPlaneBytes = pictures.planeBytes;
    return summary;
}

}  // namespace

std::string ViewText(int32_t view) { return "view " + std::to_string(view); }

Report CheckMovie(const std::string& descriptionPath) {
    Report report;
    report.description = descriptionPath;
    std::error_code failure;
    if (std::filesystem::is_directory(descriptionPath, failure)) {
        report.Add("not-a-file", Severity::Error, Shell::Both, descriptionPath, 0, "",
                   "this is a folder, not a description file");
        return report;
    }
    const DescriptionRead plugin = ReadDescriptionFile(descriptionPath, Dialect::Plugin);
    DescriptionRead control = ReadDescriptionFile(descriptionPath, Dialect::Control);
    if (plugin.status == ReadStatus::CantOpen || control.status == ReadStatus::CantOpen) {
        report.Add("cant-open", Severity::Error, Shell::Both, descriptionPath, 0, "", "the description does not open");
        return report;
    }
    if (!PluginTakesAsDescription(descriptionPath)) {
        report.Add("description-extension", Severity::Error, Shell::Plugin, descriptionPath, 0, "",
                   "the plug-in reads a description only from a file ending in \".zel\", \".ZEL\", \".ser\" "
                   "or \".SER\"");
    }
    if (!ReportReaders(plugin, control, report)) return report;

    AcceptedMovie movie;
    movie.description = descriptionPath;
    movie.folder = std::filesystem::path(descriptionPath).parent_path().string();
    movie.table = control.status == ReadStatus::Ok ? std::move(control.table) : plugin.table;
    movie.morphProblems = std::move(control.morphProblems);
    movie.lines = LocateRecords(descriptionPath, movie.table.viewCount, movie.table.pairs.size());

    CheckNames(movie, report);
    CheckLinks(movie, report);
    CheckMorphPairs(movie, report);
    const PictureTotals pictures = CheckPictures(movie, report);
    report.summary = Summarise(movie, pictures);
    // In reading order: the description's findings line by line, then those of morph files.
    std::stable_sort(report.findings.begin(), report.findings.end(), [&](const Finding& a, const Finding& b) {
        const bool aElsewhere = a.file != descriptionPath, bElsewhere = b.file != descriptionPath;
        return std::tie(aElsewhere, a.file, a.line) < std::tie(bElsewhere, b.file, b.line);
    });
    return report;
}

}  // namespace zel::authoring
