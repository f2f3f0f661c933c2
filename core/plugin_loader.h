// The plug-in's loading order. The plug-in cannot fetch by itself: it asks the
// browser for each view with a notified request. The first request goes out for
// the view that is current when the description has been read; when a view's
// notification arrives, its frame is filed, the window repainted at once, and
// its neighbours (slots 1, 2, 3, 4: down, up, right, left) requested unless
// already asked for. Every arrival sets LoadState 2; the arrival that completes
// the movie sets LoadState 1, the arrow cursor and "Done !!" in the status line.
//
// A delivered file is decoded at once and kept for the request that brought it
// (the shell names that request's view), and the request's notification files
// it. A frame is filed only by the notification of the request whose file
// produced it, so a frame belongs to exactly one view: a failed request, or one
// whose file never decoded, leaves its view without a frame, and a file that no
// request of this movie brought is never decoded.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "frames.h"
#include "plane_buffer.h"
#include "view_loader.h"

namespace zel {

// The browser's side of loading (NPN_GetURLNotify and NPN_Status in the shell).
class BrowserRequests {
public:
    virtual ~BrowserRequests() = default;
    // Asks for `url` to come back to this instance as a file, with a
    // notification that names `view`.
    virtual void GetURLNotify(const std::string& url, int32_t view) = 0;
    virtual void ShowStatus(const std::string& text) = 0;
};

inline constexpr const char* kDoneStatus = "Done !!";

class PluginLoader : public ViewLoader {
public:
    explicit PluginLoader(BrowserRequests& browser) : m_browser(browser) {}

    void StartLoading(MovieViewer& viewer) override;
    void StopLoading(MovieViewer& viewer) override;

    // Asks for `view` unless it is -1, outside the movie, or already asked for.
    void RequestView(MovieViewer& viewer, int32_t view);
    // A view file the browser delivered for the request of `view` (kNoView when
    // no request of this movie brought it): decoded and packed, and kept until
    // that request's notification. The trace line is written either way.
    void DecodeViewFile(MovieViewer& viewer, const std::string& path, int32_t view);
    // The notification of the request for `view`; `delivered` is false when the
    // browser reports that the request failed.
    void OnViewArrived(MovieViewer& viewer, int32_t view, bool delivered);

    int32_t ArrivalCount() const { return m_arrivals; }
    bool Requested(int32_t view) const;
    // The frame decoded for `view`'s request, waiting for its notification.
    const PackedFrame* PendingFrame(int32_t view) const;

private:
    BrowserRequests& m_browser;
    std::vector<char> m_requested;
    std::vector<char> m_arrived;
    int32_t m_arrivals = 0;
    std::vector<std::unique_ptr<PackedFrame>> m_pending;
    PlaneBuffer m_planes;
};

}  // namespace zel
