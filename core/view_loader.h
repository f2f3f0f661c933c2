// The loading order's side of a MovieViewer: the control's loader thread or the
// plug-in's requests to the browser. The viewer calls it when a description has
// been read and before that description's tables go away.
#pragma once

namespace zel {

class MovieViewer;

class ViewLoader {
public:
    virtual ~ViewLoader() = default;
    // A description has been accepted: LoadState is 0, the frame slots are empty
    // and the current view lies inside the table.
    virtual void StartLoading(MovieViewer& viewer) = 0;
    // The viewer is about to release its tables; afterwards nothing the loader
    // runs may touch them. Must not return while a loader thread still does.
    virtual void StopLoading(MovieViewer& viewer) = 0;
};

}  // namespace zel
