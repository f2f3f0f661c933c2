// The .zel text: "N W H F" on the first line, then one "NAME DOWN UP RIGHT LEFT"
// line per view in index order, then (with morph files) the pair count and one
// "MORPHFILE A B" line per pair, the file named relative to the description.
#include "grid.h"
#include "moviegen.h"
#include "view_names.h"

namespace zel::moviegen {

namespace {

int EffectiveFlag(const MovieOptions& options) { return options.morph && options.flag == 0 ? 1 : options.flag; }

}  // namespace

std::string DescriptionText(const MovieOptions& options) {
    const auto number = [](int value) { return std::to_string(value); };
    std::string text = number(options.rows * options.cols) + " " + number(options.width) + " " +
                       number(options.height) + " " + number(EffectiveFlag(options)) + "\n";
    for (int row = 0; row < options.rows; ++row) {
        for (int col = 0; col < options.cols; ++col) {
            const Neighbours n = NeighboursOf(options, row, col);
            text += ViewName(options, row, col) + " " + number(n.down) + " " + number(n.up) + " " +
                    number(n.right) + " " + number(n.left) + "\n";
        }
    }
    if (!options.morph) return text;
    const std::vector<AdjacentPair> pairs = AdjacentPairs(options);
    text += number(int(pairs.size())) + "\n";
    for (const AdjacentPair& pair : pairs) {
        text += MorphFileName(pair.row, pair.col) + " " + number(ViewIndex(options, pair.row, pair.col)) + " " +
                number(ViewIndex(options, pair.row, pair.rightCol)) + "\n";
    }
    return text;
}

}  // namespace zel::moviegen
