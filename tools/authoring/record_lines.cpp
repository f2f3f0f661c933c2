// Finding the line of each view and morph pair record by token position.
#include "record_lines.h"

#include <optional>

#include "stdio_file.h"
#include "tokens.h"

namespace zel::authoring {

namespace {

constexpr size_t kHeaderTokens = 4;
constexpr size_t kViewRecordTokens = 5;
constexpr size_t kPairRecordTokens = 3;

}  // namespace

RecordLines LocateRecords(const std::string& path, int32_t viewCount, size_t pairCount) {
    RecordLines lines;
    const size_t views = viewCount > 0 ? size_t(viewCount) : 0;
    lines.views.assign(views, 0);
    lines.pairs.assign(pairCount, 0);
    StdioFile file = OpenStdioFile(path, "r");
    if (!file) return lines;

    const size_t firstPair = kHeaderTokens + kViewRecordTokens * views + 1;
    const size_t end = pairCount > 0 ? firstPair + kPairRecordTokens * pairCount : firstPair - 1;
    TokenReader reader(file.get());
    for (size_t index = 0; index < end; ++index) {
        const std::optional<Token> token = reader.Next();
        if (!token) break;
        if (index < kHeaderTokens) continue;
        if (index < firstPair - 1) {
            const size_t offset = index - kHeaderTokens;
            if (offset % kViewRecordTokens == 0) lines.views[offset / kViewRecordTokens] = token->line;
        } else if (index >= firstPair) {
            const size_t offset = index - firstPair;
            if (offset % kPairRecordTokens == 0) lines.pairs[offset / kPairRecordTokens] = token->line;
        }
    }
    return lines;
}

}  // namespace zel::authoring
