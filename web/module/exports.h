// The module's C interface for the page's JavaScript, one function a call. A
// viewer is an opaque handle. Paths in are UTF-8 paths in the module's file
// system, where the page writes what it fetched; strings and pixels out stay
// valid until the next call on the same viewer. Nothing throws across: memory
// that cannot be had ends the call with its failure result.
#pragma once

#include <cstdint>

extern "C" {

typedef struct ZelViewer ZelViewer;

// 0: the plug-in's dialect (<embed>), 1: the control's (<object>). Null when
// the memory cannot be had.
ZelViewer* zel_viewer_new(int dialect);
void zel_viewer_delete(ZelViewer* handle);

// 0: loading has started; 1: the file cannot be read; 2: refused, and
// zel_problem says why ("line N, "TOKEN": message").
int zel_read_description(ZelViewer* handle, const char* path);
const char* zel_problem(ZelViewer* handle);

int zel_width(ZelViewer* handle);
int zel_height(ZelViewer* handle);
int zel_view_count(ZelViewer* handle);
int zel_flag(ZelViewer* handle);
const char* zel_view_name(ZelViewer* handle, int view);

// The next view to fetch, or -1 for none now. The plug-in dialect hands out
// several, the control dialect one until it has arrived.
int zel_take_request(ZelViewer* handle);
// `path` is where the page stored the fetched view, or null when the fetch failed.
void zel_view_arrived(ZelViewer* handle, int view, const char* path);

// Input in picture pixels; `held` says whether the button is down.
void zel_drag_start(ZelViewer* handle, int x, int y);
void zel_drag_move(ZelViewer* handle, int x, int y, int held);
// One step: 1 down, 2 up, 3 right, 4 left.
void zel_key_step(ZelViewer* handle, int slot);

int zel_load_state(ZelViewer* handle);
int zel_current_view(ZelViewer* handle);
int zel_views_done(ZelViewer* handle);
int zel_views_to_load(ZelViewer* handle);
// 0 arrow, 1 wait, 2 the drag once loaded, 3 the drag while loading.
int zel_cursor(ZelViewer* handle);
// 1 when a paint is due since the last call.
int zel_take_paint_due(ZelViewer* handle);
int zel_beeps(ZelViewer* handle);
// The oldest message not yet taken, "" when none.
const char* zel_take_message(ZelViewer* handle);

// RGBA rows of width * height pixels: the current view, or the crossfade's mix
// to show before it; null when there is nothing to paint.
const uint8_t* zel_paint(ZelViewer* handle);
const uint8_t* zel_paint_blend(ZelViewer* handle);

// For the benchmark: 1 when libjpeg alone decodes the file at `path` to RGB,
// 0 otherwise; and the bytes the module's heap has handed out.
int zel_bare_decode(const char* path);
double zel_heap_bytes();

}  // extern "C"
