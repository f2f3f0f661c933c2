// Turns a URL a plug-in asks for into a local file, as the host serves pages
// from disk: a relative name is taken against the page's folder ("/" or "\"
// separators), a drive or UNC path and a `file:` URL are taken as they are.
// Query and fragment are dropped and %XX escapes decoded. Any other scheme
// (http:, ftp:...) has no local file and gives "".
#pragma once

#include <string>

namespace zel::host {

std::string ResolveUrl(const std::string& pageFolder, const std::string& url);

// The last path segment of a URL or path, without query or fragment ("" if none).
std::string UrlBaseName(const std::string& url);

}  // namespace zel::host
