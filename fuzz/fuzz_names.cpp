// Fuzz target: the control's Url splitting and the checks on names it turns
// into local paths (url_parts.h, file_names.h). The input is one string; the
// properties are the ones the control relies on: folder + file gives the Url
// back, the file part holds no separator, a plain name stays inside its
// folder (no separator, colon, NUL or device name), and device names are
// caught whatever their letter case, extension or place in a morph path.
#include <string>

#include "file_names.h"
#include "fuzz_check.h"
#include "url_parts.h"

namespace {

using namespace zel;

std::string WithCase(std::string text, bool upper) {
    for (char& c : text) {
        if (upper && c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
        if (!upper && c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    }
    return text;
}

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

void CheckSplit(const std::string& url) {
    const UrlParts parts = SplitUrl(url);
    ZEL_FUZZ_CHECK(parts.folder + parts.file == url);
    ZEL_FUZZ_CHECK(parts.file.find_first_of("/\\") == std::string::npos);
    const bool driveOnly = parts.folder.size() == 2 && parts.folder[1] == ':';
    ZEL_FUZZ_CHECK(parts.folder.empty() || IsSeparator(parts.folder.back()) || driveOnly);
    const UrlParts again = SplitUrl(parts.folder);
    ZEL_FUZZ_CHECK(again.folder == parts.folder && again.file.empty());
}

void CheckPlainName(const std::string& name) {
    ZEL_FUZZ_CHECK(!name.empty());
    ZEL_FUZZ_CHECK(name.find_first_of(std::string("/\\:\0", 4)) == std::string::npos);
    ZEL_FUZZ_CHECK(name.find_first_not_of(". ") != std::string::npos);
    ZEL_FUZZ_CHECK(!IsDosDeviceName(name));
    ZEL_FUZZ_CHECK(IsOpenableMorphPath(name));
    // The control fetches a view by its name from the description's folder.
    const std::string folder = "http://example.com/movies/";
    const UrlParts parts = SplitUrl(folder + name);
    ZEL_FUZZ_CHECK(parts.folder == folder && parts.file == name);
}

void CheckDeviceName(const std::string& name) {
    const bool device = IsDosDeviceName(name);
    ZEL_FUZZ_CHECK(IsDosDeviceName(WithCase(name, true)) == device);
    ZEL_FUZZ_CHECK(IsDosDeviceName(WithCase(name, false)) == device);
    ZEL_FUZZ_CHECK(IsDosDeviceName(name + ".jpg") == device);
    ZEL_FUZZ_CHECK(IsDosDeviceName(name + " ") == device);
    if (!device) return;
    ZEL_FUZZ_CHECK(!IsPlainFileName(name));
    ZEL_FUZZ_CHECK(!IsOpenableMorphPath(name));
    ZEL_FUZZ_CHECK(!IsOpenableMorphPath("morphs\\" + name));
    ZEL_FUZZ_CHECK(!IsOpenableMorphPath("C:/movies/" + name));
}

void CheckMorphPath(const std::string& path) {
    if (!IsOpenableMorphPath(path)) return;
    ZEL_FUZZ_CHECK(!path.empty() && path.find('\0') == std::string::npos);
    ZEL_FUZZ_CHECK(!(path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    CheckSplit(text);
    if (IsPlainFileName(text)) CheckPlainName(text);
    CheckDeviceName(text);
    CheckMorphPath(text);
    return 0;
}
