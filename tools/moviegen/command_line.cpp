#include "command_line.h"

#include <charconv>
#include <climits>

namespace zel::moviegen {

namespace {

struct IntegerOption {
    const char* name;
    int MovieOptions::*field;
    int JpegOptions::*jpegField;  // used when field is null
    int low, high;
};

const IntegerOption kIntegerOptions[] = {
    {"--rows", &MovieOptions::rows, nullptr, 1, kMaxGridSide},
    {"--cols", &MovieOptions::cols, nullptr, 1, kMaxGridSide},
    {"--width", &MovieOptions::width, nullptr, kMinPictureSide, kMaxPictureSide},
    {"--height", &MovieOptions::height, nullptr, kMinPictureSide, kMaxPictureSide},
    {"--flag", &MovieOptions::flag, nullptr, INT_MIN, INT_MAX},
    {"--quality", nullptr, &JpegOptions::quality, 1, 100},
    {"--restart-rows", nullptr, &JpegOptions::restartRows, 0, kMaxRestartRows},
};

struct SwitchOption {
    const char* name;
    bool MovieOptions::*field;
    bool JpegOptions::*jpegField;  // used when field is null
    bool value;
};

const SwitchOption kSwitches[] = {
    {"--wrap-cols", &MovieOptions::wrapCols, nullptr, true},
    {"--no-wrap-cols", &MovieOptions::wrapCols, nullptr, false},
    {"--wrap-rows", &MovieOptions::wrapRows, nullptr, true},
    {"--no-wrap-rows", &MovieOptions::wrapRows, nullptr, false},
    {"--morph", &MovieOptions::morph, nullptr, true},
    {"--progressive", nullptr, &JpegOptions::progressive, true},
    {"--grayscale", nullptr, &JpegOptions::grayscale, true},
};

bool Refuse(std::string* error, const std::string& message) {
    if (error) *error = message;
    return false;
}

bool ParseInteger(const std::string& text, int* value) {
    const char* end = text.data() + text.size();
    const std::from_chars_result result = std::from_chars(text.data(), end, *value);
    return !text.empty() && result.ec == std::errc() && result.ptr == end;
}

bool SetInteger(const IntegerOption& option, const std::string& text, MovieOptions* options, std::string* error) {
    int value = 0;
    if (!ParseInteger(text, &value) || value < option.low || value > option.high) {
        std::string range = "an integer";
        if (option.low != INT_MIN) range += " from " + std::to_string(option.low) + " to " + std::to_string(option.high);
        return Refuse(error, std::string(option.name) + " needs " + range + ", not \"" + text + "\"");
    }
    (option.field ? options->*option.field : options->jpeg.*option.jpegField) = value;
    return true;
}

}  // namespace

bool ParseCommandLine(const std::vector<std::string>& args, CommandLine* commandLine, std::string* error) {
    *commandLine = CommandLine();
    MovieOptions& options = commandLine->options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            commandLine->help = true;
            return true;
        }
        bool known = false;
        for (const SwitchOption& option : kSwitches) {
            if (arg != option.name) continue;
            (option.field ? options.*option.field : options.jpeg.*option.jpegField) = option.value;
            known = true;
        }
        if (known) continue;

        const bool takesValue = arg == "--out" || arg == "--name";
        const IntegerOption* integer = nullptr;
        for (const IntegerOption& option : kIntegerOptions) {
            if (arg == option.name) integer = &option;
        }
        if (!takesValue && !integer) return Refuse(error, "unknown argument \"" + arg + "\" (see --help)");
        if (i + 1 == args.size()) return Refuse(error, arg + " needs a value");
        const std::string& value = args[++i];
        if (integer) {
            if (!SetInteger(*integer, value, &options, error)) return false;
        } else if (arg == "--out") {
            if (value.empty()) return Refuse(error, "--out needs a folder");
            commandLine->folder = value;
        } else {
            options.descriptionName = value;
        }
    }
    if (commandLine->folder.empty()) return Refuse(error, "--out DIR is required (see --help)");
    std::string problem;
    if (!ValidateOptions(options, &problem)) return Refuse(error, problem);
    return true;
}

const char* Usage() {
    return "usage: moviegen --out DIR [options]\n"
           "Renders a synthetic object movie into DIR: JPEG views of a textured L-shaped block\n"
           "from a grid of viewpoints, and the .zel description that wires them for dragging.\n"
           "Prints the description's path.\n"
           "\n"
           "  --out DIR            folder to write into, created if missing\n"
           "  --rows R             camera elevations, 1..64 (3)\n"
           "  --cols C             steps round the object over a full turn, 1..64 (12)\n"
           "  --width W            picture width, 12..4096 pixels (320)\n"
           "  --height H           picture height, 12..4096 pixels (240)\n"
           "  --wrap-cols          right of the last column is the first (the default)\n"
           "  --no-wrap-cols       the columns end at both sides\n"
           "  --wrap-rows          below the last row is the first; the rows then span a full\n"
           "                       vertical turn\n"
           "  --no-wrap-rows       the rows end at the top and bottom (the default)\n"
           "  --quality Q          JPEG quality, 1..100 (85)\n"
           "  --progressive        progressive JPEG\n"
           "  --grayscale          one-component grayscale JPEG\n"
           "  --restart-rows N     a restart marker every N rows of MCUs, 0..65535 (0: none)\n"
           "  --flag F             the description header's fourth value (0)\n"
           "  --morph              write a morph section and morph files; a flag of 0 becomes 1\n"
           "  --name FILE          the description's file name (movie.zel)\n"
           "  --help               show this text\n";
}

}  // namespace zel::moviegen
