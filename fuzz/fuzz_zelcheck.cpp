// Fuzz target: zelcheck's whole check of a movie, its description with the
// pictures and morph files beside it (one input holds them all, see
// movie_bundle.h), then both of its reports. Besides the sanitizers and any
// exception escaping the check, it holds zelcheck to what it prints: one line
// per finding, valid JSON, a summary exactly when a shell accepts the movie.
#include <algorithm>
#include <cstring>

#include "findings.h"
#include "fuzz_check.h"
#include "json_check.h"
#include "movie_bundle.h"
#include "movie_check.h"
#include "report_format.h"
#include "scratch_folder.h"

namespace {

using namespace zel;
using namespace zel::authoring;

void CheckFindings(const Report& report) {
    for (const Finding& finding : report.findings) {
        ZEL_FUZZ_CHECK(!finding.kind.empty() && !finding.message.empty() && !finding.file.empty());
        ZEL_FUZZ_CHECK(finding.line >= 0);
    }
    const int status = report.ExitStatus();
    ZEL_FUZZ_CHECK(status == kExitClean || status == kExitWarnings || status == kExitErrors);
    const auto refuses = [&](Shell shell) {
        return std::any_of(report.findings.begin(), report.findings.end(), [shell](const Finding& finding) {
            return finding.kind == "refused" && (finding.shell == shell || finding.shell == Shell::Both);
        });
    };
    ZEL_FUZZ_CHECK(report.summary.has_value() != (refuses(Shell::Plugin) && refuses(Shell::Control)));
    if (report.summary) {
        const Summary& summary = *report.summary;
        ZEL_FUZZ_CHECK(summary.views >= 1);
        ZEL_FUZZ_CHECK(summary.reachableViews >= 1 && summary.reachableViews <= summary.views);
    }
}

void CheckPrinted(const Report& report) {
    const std::string text = FormatText(report);
    const size_t lines = size_t(std::count(text.begin(), text.end(), '\n'));
    ZEL_FUZZ_CHECK(lines == report.findings.size() + (report.summary ? 2 : 1));
    ZEL_FUZZ_CHECK(fuzz::IsValidJson(FormatJson(report)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Names with a separator could reach devices outside the scratch folder
    // (see fuzz_description.cpp); pictures hold no '/' that matters.
    const std::vector<fuzz::BundleFile> files = fuzz::SplitBundle(data, size);
    if (std::memchr(files[0].data, '/', files[0].size) != nullptr) return 0;
    fuzz::ClearScratchFolder();
    for (const fuzz::BundleFile& file : files) fuzz::WriteScratchFile(file.name, file.data, file.size);

    const Report report = CheckMovie(fuzz::ScratchFolder() + "/" + fuzz::kBundleDescription);
    CheckFindings(report);
    CheckPrinted(report);
    return 0;
}
