// Where the fuzz targets put their inputs for the path-based readers: one
// folder per process under $TMPDIR (scripts/fuzz.sh points it into /dev/shm),
// which also becomes the current folder, so relative paths the code under
// test opens (the control's morph files) stay inside it. Removed at exit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace zel::fuzz {

// The folder, created on first use.
const std::string& ScratchFolder();

// Writes `size` bytes as the file `name` of the scratch folder, replacing it,
// and returns its path. Aborts when it cannot: a target without its input
// would test nothing.
std::string WriteScratchFile(const std::string& name, const uint8_t* data, size_t size);

// Removes every file of the scratch folder, so no input sees its predecessor's.
void ClearScratchFolder();

}  // namespace zel::fuzz
