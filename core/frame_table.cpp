#include "frame_table.h"

namespace zel {

void FrameTable::Reset(int count) {
    for (int v = 0; v < m_count; ++v) delete m_slots[size_t(v)].exchange(nullptr, std::memory_order_acq_rel);
    m_slots.reset();
    m_count = 0;
    if (count <= 0) return;
    m_slots = std::make_unique<std::atomic<Frame*>[]>(size_t(count));
    for (int v = 0; v < count; ++v) m_slots[size_t(v)].store(nullptr, std::memory_order_relaxed);
    m_count = count;
}

bool FrameTable::Publish(int view, std::unique_ptr<Frame> frame) {
    if (view < 0 || view >= m_count || !frame) return false;
    Frame* expected = nullptr;
    if (!m_slots[size_t(view)].compare_exchange_strong(expected, frame.get(), std::memory_order_release,
                                                       std::memory_order_relaxed)) {
        return false;
    }
    frame.release();
    return true;
}

const Frame* FrameTable::Get(int view) const {
    if (view < 0 || view >= m_count) return nullptr;
    return m_slots[size_t(view)].load(std::memory_order_acquire);
}

}  // namespace zel
