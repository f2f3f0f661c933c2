#include "demo_options.h"

#include <cstdlib>

namespace zel::host {

bool ParseDemoOptions(const std::vector<std::string>& args, DemoOptions* options, std::string* error) {
    *options = DemoOptions{};
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool takesValue = arg == "--plugin" || arg == "--script" || arg == "--steps";
        if (takesValue && i + 1 >= args.size()) {
            *error = arg + " needs a value";
            return false;
        }
        if (arg == "--plugin") {
            options->plugin = args[++i];
        } else if (arg == "--script") {
            options->scriptFolder = args[++i];
        } else if (arg == "--steps") {
            const std::string& value = args[++i];
            char* end = nullptr;
            const long steps = std::strtol(value.c_str(), &end, 10);
            if (value.empty() || *end != '\0' || steps < 1 || steps > 99) {
                *error = "--steps wants a number from 1 to 99, not '" + value + "'";
                return false;
            }
            options->steps = static_cast<int>(steps);
        } else if (arg == "--interactive") {
            options->interactive = true;
        } else if (!arg.empty() && arg[0] == '-') {
            *error = "unknown option " + arg;
            return false;
        } else if (options->page.empty()) {
            options->page = arg;
        } else {
            *error = "one page only, not also " + arg;
            return false;
        }
    }
    if (options->page.empty() || options->plugin.empty()) {
        *error = "a page and --plugin are required";
        return false;
    }
    if (options->interactive == !options->scriptFolder.empty()) {
        *error = "choose one of --interactive and --script OUTDIR";
        return false;
    }
    return true;
}

}  // namespace zel::host
