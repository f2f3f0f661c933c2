// Fuzz target: the plug-in's routing of delivered files by their local path
// (plugin/stream_routing.h). The extension is the tail of the path's last
// component from its last dot, it decides the kind alone, and a folder in
// front of the path changes neither.
#include <string>

#include "fuzz_check.h"
#include "stream_routing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zel::plugin;
    const std::string path(reinterpret_cast<const char*>(data), size);
    const std::string extension = PathExtension(path);
    if (!extension.empty()) {
        ZEL_FUZZ_CHECK(extension[0] == '.');
        ZEL_FUZZ_CHECK(extension.find_first_of("./\\", 1) == std::string::npos);
        ZEL_FUZZ_CHECK(path.size() >= extension.size() &&
                       path.compare(path.size() - extension.size(), extension.size(), extension) == 0);
    }
    const StreamFileKind kind = ClassifyStreamFile(path);
    ZEL_FUZZ_CHECK(kind == ClassifyStreamFile("x" + extension));
    for (const char* folder : {"C:\\Temp\\a.b\\", "/tmp/x.zel/", ""}) {
        ZEL_FUZZ_CHECK(PathExtension(folder + path) == extension);
        ZEL_FUZZ_CHECK(ClassifyStreamFile(folder + path) == kind);
    }
    return 0;
}
