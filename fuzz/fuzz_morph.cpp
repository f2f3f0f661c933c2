// Fuzz target: a morph file, as the control reads the files its description's
// morph section names. A refused file must leave its pair as a missing file
// would (background 0, 0, 0, no triangles) and say on which line it stopped.
#include <algorithm>

#include "fuzz_check.h"
#include "morph.h"
#include "scratch_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zel;
    const std::string path = fuzz::WriteScratchFile("input.mor", data, size);
    const MorphFileRead read = ReadMorphFile(path);
    ZEL_FUZZ_CHECK(read.status != ReadStatus::CantOpen);
    if (read.status == ReadStatus::Ok) {
        ZEL_FUZZ_CHECK(read.problem.message.empty());
        return 0;
    }
    const int lines = 1 + int(std::count(data, data + size, uint8_t('\n')));
    ZEL_FUZZ_CHECK(read.triangles.empty());
    ZEL_FUZZ_CHECK(read.background == (std::array<int32_t, 3>{0, 0, 0}));
    ZEL_FUZZ_CHECK(!read.problem.message.empty() && !read.problem.token.empty());
    ZEL_FUZZ_CHECK(read.problem.line >= 1 && read.problem.line <= lines);
    return 0;
}
