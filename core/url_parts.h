// The control's Url split as the runtime library's _splitpath splits a path:
// the drive is the first two characters when the second is ':'; the folder
// runs from there up to and including the last '/' or '\'; the extension runs
// from the last '.' after that separator to the end; the name lies between.
// The control fetches the description from drive + folder, under name +
// extension, and every view from the same drive + folder.
#pragma once

#include <string>

namespace zel {

struct UrlParts {
    std::string folder;  // drive and folder, ending with the last separator when there is one
    std::string file;    // name and extension
};

UrlParts SplitUrl(const std::string& url);

}  // namespace zel
