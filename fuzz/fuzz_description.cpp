// Fuzz target: a description file as a page delivers it, read by both shells'
// readers. Besides the sanitizers it checks what an accepted table promises
// the viewer (every neighbour inside the table, one record per view, names
// that fit the shell's buffer, morph pairs indexed only where their views
// meet), that a refusal names a line of the file, and that the two dialects
// agree wherever their grammars coincide.
#include <algorithm>
#include <cstring>

#include "description.h"
#include "fuzz_check.h"
#include "scratch_folder.h"

namespace {

using namespace zel;

bool IsNameToken(const std::string& name, size_t limit) {
    return !name.empty() && name.size() <= limit && name.find_first_of(std::string(" \t\n\r\v\f\0", 7)) == std::string::npos;
}

void CheckPairs(const ViewTable& table) {
    for (const MorphPair& pair : table.pairs) {
        ZEL_FUZZ_CHECK(table.HasView(pair.viewA) && table.HasView(pair.viewB));
        ZEL_FUZZ_CHECK(IsNameToken(pair.path, kMaxMorphPathLength));
    }
    if (table.flag == 0) {
        ZEL_FUZZ_CHECK(table.pairs.empty());
        return;
    }
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        ZEL_FUZZ_CHECK(table.pairIndex[size_t(slot - 1)].size() == size_t(table.viewCount));
        for (int32_t view = 0; view < table.viewCount; ++view) {
            const int32_t p = table.PairIndex(view, slot);
            if (p == kNoView) continue;
            ZEL_FUZZ_CHECK(p >= 0 && size_t(p) < table.pairs.size());
            const MorphPair& pair = table.pairs[size_t(p)];
            const int32_t other = table.Neighbour(view, slot);
            ZEL_FUZZ_CHECK((view == pair.viewA && other == pair.viewB) || (view == pair.viewB && other == pair.viewA));
        }
    }
}

void CheckAccepted(const DescriptionRead& read, Dialect dialect) {
    const ViewTable& table = read.table;
    ZEL_FUZZ_CHECK(table.viewCount >= 1);
    ZEL_FUZZ_CHECK(table.width >= kMinPictureSide && table.width <= kMaxPictureSide);
    ZEL_FUZZ_CHECK(table.height >= kMinPictureSide && table.height <= kMaxPictureSide);
    ZEL_FUZZ_CHECK(uint64_t(table.viewCount) * uint64_t(table.width) * uint64_t(table.height) * 3 <= kMaxMovieBytes);
    ZEL_FUZZ_CHECK(table.names.size() == size_t(table.viewCount));
    for (const std::string& name : table.names) ZEL_FUZZ_CHECK(IsNameToken(name, MaxNameLength(dialect)));
    for (const auto& slot : table.slots) {
        ZEL_FUZZ_CHECK(slot.size() == size_t(table.viewCount));
        for (int32_t neighbour : slot) ZEL_FUZZ_CHECK(neighbour == kNoView || table.HasView(neighbour));
    }
    if (dialect == Dialect::Plugin) {
        ZEL_FUZZ_CHECK(table.pairs.empty() && read.morphProblems.empty());
        return;
    }
    CheckPairs(table);
    for (const MorphProblem& problem : read.morphProblems) {
        ZEL_FUZZ_CHECK(problem.pair >= 0 && size_t(problem.pair) < table.pairs.size());
        ZEL_FUZZ_CHECK(problem.path == table.pairs[size_t(problem.pair)].path);
    }
}

void CheckRead(const DescriptionRead& read, Dialect dialect, int lines) {
    ZEL_FUZZ_CHECK(read.status != ReadStatus::CantOpen);
    if (read.status == ReadStatus::Ok) {
        CheckAccepted(read, dialect);
        return;
    }
    ZEL_FUZZ_CHECK(!read.problem.message.empty());
    ZEL_FUZZ_CHECK(read.problem.line >= 0 && read.problem.line <= lines);
    ZEL_FUZZ_CHECK(!DescribeProblem(read.problem).empty());
}

bool SameViews(const ViewTable& a, const ViewTable& b) {
    return a.viewCount == b.viewCount && a.width == b.width && a.height == b.height && a.flag == b.flag &&
           a.names == b.names && a.slots == b.slots;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A name with a separator could reach a device outside the scratch folder
    // as a morph path (/dev/zero never ends); names without one stay inside.
    if (std::memchr(data, '/', size) != nullptr) return 0;
    const std::string path = zel::fuzz::WriteScratchFile("input.zel", data, size);
    const int lines = 1 + int(std::count(data, data + size, uint8_t('\n')));

    const DescriptionRead plugin = ReadDescriptionFile(path, Dialect::Plugin);
    const DescriptionRead control = ReadDescriptionFile(path, Dialect::Control);
    CheckRead(plugin, Dialect::Plugin, lines);
    CheckRead(control, Dialect::Control, lines);

    // Up to the view records the grammars are one; the plug-in's names are shorter.
    if (plugin.status == ReadStatus::Ok && plugin.table.flag == 0) {
        ZEL_FUZZ_CHECK(control.status == ReadStatus::Ok && SameViews(plugin.table, control.table));
    }
    if (control.status == ReadStatus::Ok) {
        const auto& names = control.table.names;
        const bool pluginFits = std::all_of(names.begin(), names.end(), [](const std::string& name) {
            return name.size() <= MaxNameLength(Dialect::Plugin);
        });
        if (pluginFits) ZEL_FUZZ_CHECK(plugin.status == ReadStatus::Ok && SameViews(plugin.table, control.table));
    }
    return 0;
}
