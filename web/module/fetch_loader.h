// The control's loading order for a page that fetches: the same walk from view
// 0 and the same filing as the control's loader thread, but the page fetches
// each view and reports its arrival, one view at a time, so nothing waits on
// the browser's thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "control_walk.h"
#include "view_loader.h"

namespace zel::web {

class FetchLoader : public ViewLoader {
public:
    void StartLoading(MovieViewer& viewer) override;
    void StopLoading(MovieViewer& viewer) override;

    // The view to fetch now, handed out once; none while one is being fetched
    // or when loading has ended.
    std::optional<int32_t> TakeRequest();
    // The page fetched `view` into `localfile` (`arrived`), or could not.
    // Anything but the view handed out is ignored (returns false).
    bool Arrived(MovieViewer& viewer, int32_t view, const std::string& localfile, bool arrived);

private:
    std::optional<ControlWalk> m_walk;
    std::optional<int32_t> m_current;
    bool m_handedOut = false;
};

}  // namespace zel::web
