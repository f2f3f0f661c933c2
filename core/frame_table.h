// One frame slot per view. The control's loader thread publishes frames while
// the window thread reads them: a frame is stored with release semantics only
// once its pixels are complete, and read with acquire semantics, so a reader
// that sees the pointer also sees the pixels.
#pragma once

#include <atomic>
#include <memory>

namespace zel {

// Base of the two frame kinds (RgbFrame in the control, PackedFrame in the plug-in).
class Frame {
public:
    virtual ~Frame() = default;
};

class FrameTable {
public:
    FrameTable() = default;
    FrameTable(const FrameTable&) = delete;
    FrameTable& operator=(const FrameTable&) = delete;
    ~FrameTable() { Reset(0); }

    // Frees every frame and makes `count` empty slots. Nothing may publish meanwhile.
    void Reset(int count);

    // Files `frame` as the view's frame. A view keeps its first frame: a second
    // one, or a view outside the table, is refused and the frame freed.
    bool Publish(int view, std::unique_ptr<Frame> frame);

    const Frame* Get(int view) const;
    bool Has(int view) const { return Get(view) != nullptr; }
    int Count() const { return m_count; }

    template <class F>
    const F* GetAs(int view) const {
        return dynamic_cast<const F*>(Get(view));
    }

private:
    std::unique_ptr<std::atomic<Frame*>[]> m_slots;
    int m_count = 0;
};

}  // namespace zel
