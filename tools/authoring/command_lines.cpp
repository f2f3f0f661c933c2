// Parsing zelcheck's and zelmake's arguments, and their usage texts.
#include "command_lines.h"

#include <charconv>

namespace zel::authoring {

namespace {

// Grids larger than this would not fit the viewer's frame budget anyway.
constexpr int kMaxGridSide = 4096;

bool Refuse(std::string* error, const std::string& message) {
    *error = message;
    return false;
}

bool IsOption(const std::string& arg) { return arg.size() > 1 && arg[0] == '-'; }

bool ParseSide(const std::string& option, const std::string& text, int* value, std::string* error) {
    const char* end = text.data() + text.size();
    const std::from_chars_result result = std::from_chars(text.data(), end, *value);
    if (text.empty() || result.ec != std::errc() || result.ptr != end || *value < 1 || *value > kMaxGridSide) {
        return Refuse(error, option + " needs an integer from 1 to " + std::to_string(kMaxGridSide) + ", not \"" +
                                 text + "\"");
    }
    return true;
}

bool WantsHelp(const std::vector<std::string>& args) {
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") return true;
    }
    return false;
}

}  // namespace

bool ParseCheckCommandLine(const std::vector<std::string>& args, CheckCommandLine* line, std::string* error) {
    *line = CheckCommandLine();
    if (WantsHelp(args)) {
        line->help = true;
        return true;
    }
    for (const std::string& arg : args) {
        if (arg == "--json") {
            line->json = true;
        } else if (IsOption(arg)) {
            return Refuse(error, "unknown option \"" + arg + "\" (see --help)");
        } else if (!line->description.empty()) {
            return Refuse(error, "one description at a time: \"" + arg + "\" follows \"" + line->description + "\"");
        } else {
            line->description = arg;
        }
    }
    if (line->description.empty()) return Refuse(error, "no description given (see --help)");
    return true;
}

bool ParseMakeCommandLine(const std::vector<std::string>& args, MakeCommandLine* line, std::string* error) {
    *line = MakeCommandLine();
    if (WantsHelp(args)) {
        line->help = true;
        return true;
    }
    MakeOptions& options = line->options;
    bool rows = false, cols = false;
    std::vector<std::string> operands;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--wrap-cols") {
            options.shape.wrapCols = true;
        } else if (arg == "--wrap-rows") {
            options.shape.wrapRows = true;
        } else if (arg == "--reverse") {
            options.shape.reverse = true;
        } else if (arg == "--crossfade") {
            options.crossfade = true;
        } else if (arg == "--json") {
            line->json = true;
        } else if (arg == "--rows" || arg == "--cols" || arg == "-o" || arg == "--pattern") {
            if (i + 1 == args.size()) return Refuse(error, arg + " needs a value");
            const std::string& value = args[++i];
            if (arg == "--rows") {
                if (!ParseSide(arg, value, &options.shape.rows, error)) return false;
                rows = true;
            } else if (arg == "--cols") {
                if (!ParseSide(arg, value, &options.shape.cols, error)) return false;
                cols = true;
            } else if (value.empty()) {
                return Refuse(error, arg + " needs a value");
            } else if (arg == "-o") {
                options.output = value;
            } else {
                options.pattern = value;
            }
        } else if (arg == "--") {
            operands.insert(operands.end(), args.begin() + std::ptrdiff_t(i) + 1, args.end());
            break;
        } else if (IsOption(arg)) {
            return Refuse(error, "unknown option \"" + arg + "\" (see --help)");
        } else {
            operands.push_back(arg);
        }
    }
    if (!rows || !cols) return Refuse(error, "--rows and --cols are required (see --help)");
    if (!options.pattern.empty()) {
        if (operands.size() != 1) return Refuse(error, "--pattern takes exactly one FOLDER after the options");
        options.folder = operands.front();
        return true;
    }
    const size_t expected = size_t(options.shape.rows) * size_t(options.shape.cols);
    if (operands.size() != expected) {
        return Refuse(error, std::to_string(options.shape.rows) + " rows x " + std::to_string(options.shape.cols) +
                                 " columns need " + std::to_string(expected) + " pictures, but " +
                                 std::to_string(operands.size()) + " were given");
    }
    options.pictures = std::move(operands);
    return true;
}

const char* CheckUsage() {
    return "usage: zelcheck MOVIE.zel [--json]\n"
           "Reads an object movie's description as the plug-in and the control read it and\n"
           "checks the movie: what either shell refuses, view files (missing, not JPEG, not\n"
           "decoding, of another size), links between views, morph files and names.\n"
           "One finding per line (FILE:LINE: error|warning: \"TOKEN\": MESSAGE), then a summary.\n"
           "\n"
           "  --json    print the findings and the summary as one JSON document\n"
           "  --help    show this text\n"
           "\n"
           "Exit status: 0 clean, 1 warnings only, 2 errors, 3 bad arguments.\n";
}

const char* MakeUsage() {
    return "usage: zelmake --rows R --cols C [options] PICTURES...\n"
           "       zelmake --rows R --cols C [options] --pattern PATTERN FOLDER\n"
           "Writes the description of a grid of R x C views, pictures in row-major order,\n"
           "then checks it as zelcheck does. The picture size comes from the first picture;\n"
           "pictures of another size are refused and nothing is written.\n"
           "\n"
           "  --rows R            rows of views (1..4096); down leads to the next row\n"
           "  --cols C            views in a row (1..4096); right leads to the next column\n"
           "  --wrap-cols         right of the last column is the first (a full turn)\n"
           "  --wrap-rows         below the last row is the first\n"
           "  --reverse           right leads to the previous column instead\n"
           "  --crossfade         set the description's flag (the plug-in crossfades)\n"
           "  -o FILE             the description to write (movie.zel); view names are\n"
           "                      written relative to its folder\n"
           "  --pattern PATTERN   take the pictures from FOLDER, named by PATTERN with the\n"
           "                      row and then the column, e.g. 'view_r%d_c%02d.jpg'\n"
           "  --json              print the check as one JSON document\n"
           "  --help              show this text\n"
           "\n"
           "Exit status: 0 clean, 1 warnings only, 2 errors (or nothing written), 3 bad arguments.\n";
}

}  // namespace zel::authoring
