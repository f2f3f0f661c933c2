#include "exports.h"

#include <string>

#include "no_throw.h"
#include "web_viewer.h"

// A viewer and the text handed out last, kept alive for the page to copy.
struct ZelViewer {
    explicit ZelViewer(zel::Dialect dialect) : viewer(dialect) {}
    zel::web::WebViewer viewer;
    std::string text;
};

extern "C" {

ZelViewer* zel_viewer_new(int dialect) {
    return zel::NoThrow<ZelViewer*>(nullptr, nullptr, [&] {
        return new ZelViewer(dialect == 1 ? zel::Dialect::Control : zel::Dialect::Plugin);
    });
}

void zel_viewer_delete(ZelViewer* handle) { delete handle; }

int zel_read_description(ZelViewer* handle, const char* path) {
    if (!handle || !path) return 1;
    return zel::NoThrow(2, 2, [&] {
        switch (handle->viewer.ReadDescription(path)) {
        case zel::ReadStatus::Ok: return 0;
        case zel::ReadStatus::CantOpen: return 1;
        case zel::ReadStatus::Refused: return 2;
        }
        return 2;
    });
}

const char* zel_problem(ZelViewer* handle) { return handle ? handle->viewer.Problem().c_str() : ""; }

int zel_width(ZelViewer* handle) { return handle ? handle->viewer.Table().width : 0; }
int zel_height(ZelViewer* handle) { return handle ? handle->viewer.Table().height : 0; }
int zel_view_count(ZelViewer* handle) { return handle ? handle->viewer.Table().viewCount : 0; }
int zel_flag(ZelViewer* handle) { return handle ? handle->viewer.Table().flag : 0; }

const char* zel_view_name(ZelViewer* handle, int view) {
    if (!handle || !handle->viewer.Table().HasView(view)) return "";
    return handle->viewer.Table().names[size_t(view)].c_str();
}

int zel_take_request(ZelViewer* handle) {
    if (!handle) return -1;
    return zel::NoThrow(-1, -1, [&] { return handle->viewer.TakeRequest().value_or(-1); });
}

void zel_view_arrived(ZelViewer* handle, int view, const char* path) {
    if (!handle) return;
    zel::NoThrow([&] { handle->viewer.ViewArrived(view, path ? path : ""); });
}

void zel_drag_start(ZelViewer* handle, int x, int y) {
    if (handle) handle->viewer.DragStart(x, y);
}

void zel_drag_move(ZelViewer* handle, int x, int y, int held) {
    if (handle) handle->viewer.DragMove(x, y, held != 0);
}

void zel_key_step(ZelViewer* handle, int slot) {
    if (handle) handle->viewer.KeyStep(slot);
}

int zel_load_state(ZelViewer* handle) { return handle ? handle->viewer.LoadState() : 0; }
int zel_current_view(ZelViewer* handle) { return handle ? handle->viewer.CurrentView() : 0; }
int zel_views_done(ZelViewer* handle) { return handle ? handle->viewer.ViewsDone() : 0; }
int zel_views_to_load(ZelViewer* handle) { return handle ? handle->viewer.ViewsToLoad() : 0; }
int zel_cursor(ZelViewer* handle) {
    if (!handle) return 0;
    switch (handle->viewer.Window().Cursor()) {
    case zel::ViewerCursor::Arrow: return 0;
    case zel::ViewerCursor::Wait: return 1;
    case zel::ViewerCursor::DragLoaded: return 2;
    case zel::ViewerCursor::DragLoading: return 3;
    }
    return 0;
}
int zel_take_paint_due(ZelViewer* handle) { return handle && handle->viewer.Window().TakePaintDue() ? 1 : 0; }
int zel_beeps(ZelViewer* handle) { return handle ? handle->viewer.Window().Beeps() : 0; }

const char* zel_take_message(ZelViewer* handle) {
    if (!handle) return "";
    handle->text = zel::NoThrow(std::string(), std::string(), [&] { return handle->viewer.Window().TakeMessage(); });
    return handle->text.c_str();
}

const uint8_t* zel_paint(ZelViewer* handle) {
    if (!handle) return nullptr;
    return zel::NoThrow<const uint8_t*>(nullptr, nullptr, [&] { return handle->viewer.Paint(); });
}

const uint8_t* zel_paint_blend(ZelViewer* handle) {
    if (!handle) return nullptr;
    return zel::NoThrow<const uint8_t*>(nullptr, nullptr, [&] { return handle->viewer.PaintBlend(); });
}

}  // extern "C"
