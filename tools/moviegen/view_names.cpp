#include "view_names.h"

#include "moviegen.h"

namespace zel::moviegen {

namespace {

constexpr char kMorphPattern[] = "morph_r%d_c%02d.txt";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool ExpandNamePattern(const std::string& pattern, int row, int col, std::string* name, std::string* error) {
    name->clear();
    const int values[2] = {row, col};
    int used = 0;
    const auto refuse = [&](const std::string& why) {
        if (error) *error = "the pattern \"" + pattern + "\" " + why;
        return false;
    };
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%') {
            name->push_back(pattern[i]);
            continue;
        }
        if (++i == pattern.size()) return refuse("ends in a lone \"%\"");
        if (pattern[i] == '%') {
            name->push_back('%');
            continue;
        }
        const bool zeroPad = pattern[i] == '0';
        if (zeroPad) ++i;
        size_t width = 0;
        for (int digits = 0; i < pattern.size() && IsDigit(pattern[i]); ++digits, ++i) {
            if (digits == 2) return refuse("has a field width of more than two digits");
            width = width * 10 + size_t(pattern[i] - '0');
        }
        if (i == pattern.size() || pattern[i] != 'd') return refuse("may only use %d, %0Nd, %Nd and %%");
        if (used == 2) return refuse("has more than two %d: they take the row and the column");
        std::string digits = std::to_string(values[used++]);
        if (digits.size() < width) digits.insert(0, width - digits.size(), zeroPad ? '0' : ' ');
        *name += digits;
    }
    if (used != 2) return refuse("needs two %d, the row and then the column");
    return true;
}

std::string MorphFileName(int row, int col) {
    std::string name;
    ExpandNamePattern(kMorphPattern, row, col, &name);
    return name;
}

std::string ViewName(const MovieOptions& options, int row, int col) {
    std::string name;
    return ExpandNamePattern(options.viewPattern, row, col, &name) ? name : std::string();
}

}  // namespace zel::moviegen
