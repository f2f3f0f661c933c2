// Checks of the neighbour graph and of the morph pairs.
//
// What each shell loads: the control walks the graph breadth-first from view 0
// and never loads a view it does not reach. The plug-in requests its start view
// (view 0, or the view it restored), and every notification of a request,
// delivered or failed, requests that view's four neighbours; it shows
// "Done !!" once as many notifications as there are views have come in. So the
// plug-in reaches "Done !!" from start view S exactly when every view is
// reachable from S along the neighbour slots (links count one way only).
#include <filesystem>
#include <system_error>

#include "check_steps.h"
#include "view_graph.h"

namespace zel::authoring {

namespace {

const char* SlotName(int slot) {
    switch (slot) {
        case kSlotDown: return "down";
        case kSlotUp: return "up";
        case kSlotRight: return "right";
        case kSlotLeft: return "left";
        default: return "?";
    }
}

int32_t FirstUnset(const std::vector<char>& flags) {
    for (size_t i = 0; i < flags.size(); ++i) {
        if (!flags[i]) return int32_t(i);
    }
    return kNoView;
}

void CheckReachability(const AcceptedMovie& movie, Report& report) {
    const std::vector<char> fromZero = ReachableFrom(movie.table, 0);
    for (int32_t view = 0; view < movie.table.viewCount; ++view) {
        if (fromZero[size_t(view)]) continue;
        report.Add("unreachable", Severity::Warning, Shell::Both, movie.description, movie.ViewLine(view),
                   movie.Name(view),
                   ViewText(view) + " is not reachable from view 0: the control never loads it, and the "
                                    "plug-in started at view 0 never requests it nor shows \"Done !!\"");
    }
    const std::vector<char> starts = ViewsReachingAll(movie.table);
    const int32_t badStart = FirstUnset(starts);
    if (!starts[0] || badStart == kNoView) return;
    int64_t good = 0;
    for (char start : starts) good += start ? 1 : 0;
    const int32_t missed = FirstUnset(ReachableFrom(movie.table, badStart));
    report.Add("never-done", Severity::Warning, Shell::Plugin, movie.description, movie.ViewLine(badStart),
               movie.Name(badStart),
               "the plug-in shows \"Done !!\" from only " + std::to_string(good) + " of the " +
                   std::to_string(movie.table.viewCount) + " start views; restored to " + ViewText(badStart) +
                   ", it never requests " + ViewText(missed));
}

void CheckOneWayLinks(const AcceptedMovie& movie, Report& report) {
    for (const OneWayLink& link : OneWayLinks(movie.table)) {
        const int back = OppositeSlot(link.slot);
        const int32_t backView = movie.table.Neighbour(link.neighbour, back);
        const std::string other = ViewText(link.neighbour);
        const std::string backText = backView == kNoView
                                         ? other + " has no " + SlotName(back) + " neighbour"
                                         : other + "'s " + SlotName(back) + " neighbour is " + ViewText(backView);
        report.Add("one-way-link", Severity::Warning, Shell::Both, movie.description, movie.ViewLine(link.view),
                   movie.Name(link.view),
                   ViewText(link.view) + "'s " + SlotName(link.slot) + " neighbour is " + other + ", but " + backText +
                       ": a drag " + SlotName(link.slot) + " is not undone by a drag " + SlotName(back));
    }
}

}  // namespace

void CheckLinks(const AcceptedMovie& movie, Report& report) {
    CheckReachability(movie, report);
    CheckOneWayLinks(movie, report);
}

void CheckMorphPairs(const AcceptedMovie& movie, Report& report) {
    const ViewTable& table = movie.table;
    for (size_t p = 0; p < table.pairs.size(); ++p) {
        const MorphPair& pair = table.pairs[p];
        const int line = movie.lines.pairs.at(p);
        const bool fromA = NamesNeighbour(table, pair.viewA, pair.viewB);
        const bool fromB = NamesNeighbour(table, pair.viewB, pair.viewA);
        const std::string views = ViewText(pair.viewA) + " and " + ViewText(pair.viewB);
        if (!fromA && !fromB) {
            report.Add("pair-not-neighbours", Severity::Warning, Shell::Control, movie.description, line, pair.path,
                       "the morph pair's " + views + " are not neighbours: the pair is never used");
        } else if (!fromA || !fromB) {
            const int32_t user = fromA ? pair.viewA : pair.viewB;
            report.Add("pair-one-sided", Severity::Warning, Shell::Control, movie.description, line, pair.path,
                       "of the morph pair's " + views + ", only " + ViewText(user) +
                           " names the other as a neighbour: the pair is used from it alone");
        }
    }
    for (const MorphProblem& problem : movie.morphProblems) {
        const int line = problem.pair >= 0 && size_t(problem.pair) < movie.lines.pairs.size()
                             ? movie.lines.pairs[size_t(problem.pair)]
                             : 0;
        if (!problem.cantOpen) {
            report.Add("morph-refused", Severity::Error, Shell::Control, problem.path, problem.detail.line,
                       problem.detail.token,
                       "the control refuses this morph file and keeps no triangles for morph pair " +
                           std::to_string(problem.pair) + ": " + problem.detail.message);
            continue;
        }
        std::string message = "the morph file does not open: the control opens morph paths from its own "
                              "current folder";
        std::error_code failure;
        const std::filesystem::path beside = std::filesystem::path(movie.folder) / problem.path;
        if (!movie.folder.empty() && std::filesystem::is_regular_file(beside, failure)) {
            message += " (this one is beside the description, which is not where the control looks)";
        }
        report.Add("morph-missing", Severity::Error, Shell::Control, movie.description, line, problem.path, message);
    }
}

}  // namespace zel::authoring
