// zeldemo shows a page with an embedded plug-in in the browser host: with
// --interactive until the user closes the window, with --script as a scripted
// drag to the right that writes a PNG of the plug-in window after every step.
// Exit code 0 on success, 1 on failure, 2 on bad arguments.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "browser_host.h"
#include "demo_options.h"

namespace {

using zel::host::BrowserHost;

constexpr int kDragSteps = 12;  // the viewer steps one view per twelfth of the width

std::string StepPath(const std::string& folder, int step) {
    char name[16];
    std::snprintf(name, sizeof name, "step%02d.png", step);
    return (std::filesystem::path(folder) / name).string();
}

bool WriteStep(const BrowserHost& host, const std::string& folder, int step) {
    const std::string path = StepPath(folder, step);
    std::string error;
    if (!host.WritePng(path, &error)) {
        std::fprintf(stderr, "zeldemo: %s\n", error.c_str());
        return false;
    }
    std::printf("%s\n", path.c_str());
    return true;
}

bool RunScript(BrowserHost& host, const zel::host::DemoOptions& options) {
    std::error_code failure;
    std::filesystem::create_directories(options.scriptFolder, failure);
    if (failure) {
        std::fprintf(stderr, "zeldemo: cannot create %s\n", options.scriptFolder.c_str());
        return false;
    }
    if (!host.PumpUntilIdle()) std::fprintf(stderr, "zeldemo: the page was still loading after 10 s\n");
    if (!WriteStep(host, options.scriptFolder, 0)) return false;
    RECT client = {};
    GetClientRect(host.PluginWindow(), &client);
    const int step = std::max(1, static_cast<int>(client.right) / kDragSteps);
    const int y = client.bottom / 2;
    int x = client.right / 8;
    host.MouseDown(x, y);
    for (int i = 1; i <= options.steps; ++i) {
        x += step;
        host.MouseMove(x, y);
        host.PumpUntilIdle();
        if (!WriteStep(host, options.scriptFolder, i)) return false;
    }
    host.MouseUp(x, y);
    host.PumpUntilIdle();
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    zel::host::DemoOptions options;
    std::string error;
    if (!zel::host::ParseDemoOptions(std::vector<std::string>(argv + 1, argv + argc), &options, &error)) {
        std::fprintf(stderr, "zeldemo: %s\n%s\n", error.c_str(), zel::host::kDemoUsage);
        return 2;
    }
    BrowserHost host;
    if (!host.LoadPlugin(options.plugin, &error) || !host.OpenPage(options.page, &error)) {
        std::fprintf(stderr, "zeldemo: %s\n", error.c_str());
        return 1;
    }
    bool ok = true;
    if (options.interactive)
        host.RunUntilPageClosed();
    else
        ok = RunScript(host, options);
    for (const std::string& status : host.Statuses()) std::printf("status: %s\n", status.c_str());
    return ok ? 0 : 1;
}
