// Finds the first <embed> tag of an HTML page and its attributes, as a browser
// hands them to a plug-in. Grammar: "<embed" (any case) followed by white space,
// "/" or ">", then attributes `name`, `name=value`, `name="value"` or
// `name='value'` up to the closing ">". A page without the tag, or one whose tag
// never closes, gives no tag; stray characters inside the tag are skipped.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zel::host {

struct EmbedTag {
    // Names as written, in page order; a name without a value has "".
    std::vector<std::pair<std::string, std::string>> attributes;

    // The value of the first attribute called `name` (any case), if present.
    std::optional<std::string> Attribute(const std::string& name) const;
};

std::optional<EmbedTag> FindEmbedTag(const std::string& html);

}  // namespace zel::host
