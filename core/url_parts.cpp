#include "url_parts.h"

namespace zel {

UrlParts SplitUrl(const std::string& url) {
    // Drive, folder, name and extension are contiguous, so drive + folder is
    // everything up to the last separator and name + extension the rest; a
    // drive without a separator ("C:movie.zel") still belongs to the folder.
    const size_t drive = url.size() >= 2 && url[1] == ':' ? 2 : 0;
    const size_t separator = url.find_last_of("/\\");
    const size_t folderEnd = separator == std::string::npos || separator < drive ? drive : separator + 1;
    return UrlParts{url.substr(0, folderEnd), url.substr(folderEnd)};
}

}  // namespace zel
