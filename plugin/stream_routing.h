// Which delivered files the plug-in reads: routed by the local file's
// extension alone, compared exactly, case included. The extension is taken from
// the last path component ("\" or "/"), from its last "." on.
#pragma once

#include <string>

namespace zel::plugin {

enum class StreamFileKind { Description, View, Ignored };

std::string PathExtension(const std::string& path);
StreamFileKind ClassifyStreamFile(const std::string& path);

}  // namespace zel::plugin
