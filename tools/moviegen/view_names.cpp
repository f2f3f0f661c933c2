#include "view_names.h"

#include "moviegen.h"

namespace zel::moviegen {

namespace {

constexpr char kMorphPattern[] = "morph_r%d_c%02d.txt";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool ExpandNamePattern(const std::string& pattern, int row, int col, std::string* name) {
    name->clear();
    const int values[2] = {row, col};
    int used = 0;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%') {
            name->push_back(pattern[i]);
            continue;
        }
        if (++i == pattern.size()) return false;
        if (pattern[i] == '%') {
            name->push_back('%');
            continue;
        }
        const bool zeroPad = pattern[i] == '0';
        if (zeroPad) ++i;
        size_t width = 0;
        for (int digits = 0; i < pattern.size() && IsDigit(pattern[i]); ++digits, ++i) {
            if (digits == 2) return false;
            width = width * 10 + size_t(pattern[i] - '0');
        }
        if (i == pattern.size() || pattern[i] != 'd' || used == 2) return false;
        std::string digits = std::to_string(values[used++]);
        if (digits.size() < width) digits.insert(0, width - digits.size(), zeroPad ? '0' : ' ');
        *name += digits;
    }
    return used == 2;
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
