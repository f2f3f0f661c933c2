#include "stream_routing.h"

namespace zel::plugin {

std::string PathExtension(const std::string& path) {
    const size_t separator = path.find_last_of("\\/");
    const size_t start = separator == std::string::npos ? 0 : separator + 1;
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || dot < start) return "";
    return path.substr(dot);
}

StreamFileKind ClassifyStreamFile(const std::string& path) {
    const std::string extension = PathExtension(path);
    if (extension == ".ZEL" || extension == ".zel" || extension == ".SER" || extension == ".ser") {
        return StreamFileKind::Description;
    }
    if (extension == ".JPG" || extension == ".jpg") return StreamFileKind::View;
    return StreamFileKind::Ignored;
}

}  // namespace zel::plugin
