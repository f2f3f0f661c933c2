// Reading the primary display's pixel format through DirectDraw, once per viewer.
#pragma once

#include <windows.h>

#include <ddraw.h>

#include "movie_viewer.h"

namespace zel::win32 {

// The DirectDraw object a viewer created for its query. The plug-in keeps it
// for the viewer's life; each one is released exactly once, by its owner.
class DirectDrawObject {
public:
    DirectDrawObject() = default;
    ~DirectDrawObject() { Reset(); }
    DirectDrawObject(const DirectDrawObject&) = delete;
    DirectDrawObject& operator=(const DirectDrawObject&) = delete;

    IDirectDraw** Receive() {
        Reset();
        return &m_object;
    }
    IDirectDraw* Get() const { return m_object; }
    void Reset() {
        if (m_object) m_object->Release();
        m_object = nullptr;
    }

private:
    IDirectDraw* m_object = nullptr;
};

// Sets the viewer's PixelDepth from the display's green mask, or shows the
// failure in a message box ("ERROR !!") and leaves it 0. With `keep` the
// DirectDraw object stays there; without, it is released after the query.
void DetectPixelDepth(MovieViewer& viewer, DirectDrawObject* keep = nullptr);

}  // namespace zel::win32
