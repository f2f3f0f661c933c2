// One movie's viewer inside the shared module: the C interface of exports.h as
// methods. Files the page fetched are written into the module's file system
// under the viewer's own folder, handed over and unlinked at once, so a loaded
// movie holds its frames and nothing else.
export const Dialect = Object.freeze({ plugin: 0, control: 1 });

export const ReadResult = Object.freeze({ ok: 0, cantRead: 1, refused: 2 });

export const LoadState = Object.freeze({ nothingToShow: 0, finished: 1, loading: 2 });

// What zel_cursor says, as CSS cursors: the arrow, the wait, the drag once
// loaded and the drag while views still arrive.
const kCursors = ['default', 'wait', 'move', 'progress'];

let gNextFolder = 0;

export class Viewer {
    #module;
    #handle;
    #folder;
    #image = null;

    constructor(module, dialect) {
        this.#module = module;
        this.#handle = module._zel_viewer_new(dialect === 'control' ? Dialect.control : Dialect.plugin);
        if (!this.#handle) throw new Error('the viewer module is out of memory');
        this.#folder = `/movies/${++gNextFolder}`;
        module.FS.mkdir(this.#folder);
    }

    get alive() {
        return this.#handle !== 0;
    }

    delete() {
        if (!this.#handle) return;
        this.#module._zel_viewer_delete(this.#handle);
        this.#handle = 0;
        this.#module.FS.rmdir(this.#folder);
    }

    // Reads the description's bytes; returns a ReadResult.
    readDescription(bytes) {
        return this.#withFile('description', bytes, (path) => this.#call('_zel_read_description', path));
    }

    get problem() {
        return this.#string(this.#module._zel_problem(this.#handle));
    }

    get width() {
        return this.#module._zel_width(this.#handle);
    }

    get height() {
        return this.#module._zel_height(this.#handle);
    }

    get viewCount() {
        return this.#module._zel_view_count(this.#handle);
    }

    viewName(view) {
        return this.#string(this.#module._zel_view_name(this.#handle, view));
    }

    // The next view to fetch, or -1 for none now.
    takeRequest() {
        return this.#handle ? this.#module._zel_take_request(this.#handle) : -1;
    }

    // The view's bytes as fetched, or null when the fetch failed.
    viewArrived(view, bytes) {
        if (!this.#handle) return;
        if (!bytes) {
            this.#module._zel_view_arrived(this.#handle, view, 0);
            return;
        }
        this.#withFile(`view${view}`, bytes, (path) => this.#call('_zel_view_arrived', view, path));
    }

    dragStart(x, y) {
        if (this.#handle) this.#module._zel_drag_start(this.#handle, x, y);
    }

    dragMove(x, y, held) {
        if (this.#handle) this.#module._zel_drag_move(this.#handle, x, y, held ? 1 : 0);
    }

    keyStep(slot) {
        if (this.#handle) this.#module._zel_key_step(this.#handle, slot);
    }

    get loadState() {
        return this.#handle ? this.#module._zel_load_state(this.#handle) : LoadState.nothingToShow;
    }

    get currentView() {
        return this.#module._zel_current_view(this.#handle);
    }

    get viewsDone() {
        return this.#module._zel_views_done(this.#handle);
    }

    get viewsToLoad() {
        return this.#module._zel_views_to_load(this.#handle);
    }

    get cursor() {
        return kCursors[this.#handle ? this.#module._zel_cursor(this.#handle) : 0] ?? 'default';
    }

    takePaintDue() {
        return this.#handle !== 0 && this.#module._zel_take_paint_due(this.#handle) === 1;
    }

    // The current view, or with `blend` the crossfade's mix, as an ImageData
    // the viewer reuses; null when there is nothing to paint.
    picture(blend = false) {
        if (!this.#handle) return null;
        const pixels = blend ? this.#module._zel_paint_blend(this.#handle) : this.#module._zel_paint(this.#handle);
        if (!pixels) return null;
        const width = this.width;
        const height = this.height;
        if (!this.#image || this.#image.width !== width || this.#image.height !== height) {
            this.#image = new ImageData(width, height);
        }
        this.#image.data.set(this.#module.HEAPU8.subarray(pixels, pixels + width * height * 4));
        return this.#image;
    }

    #withFile(name, bytes, use) {
        const path = `${this.#folder}/${name}`;
        this.#module.FS.writeFile(path, bytes);
        try {
            return use(path);
        } finally {
            this.#module.FS.unlink(path);
        }
    }

    // Calls an export whose last argument is a path, passing it as UTF-8 on
    // the module's heap.
    #call(name, ...args) {
        const path = args.pop();
        const size = this.#module.lengthBytesUTF8(path) + 1;
        const text = this.#module._malloc(size);
        if (!text) throw new Error('the viewer module is out of memory');
        try {
            this.#module.stringToUTF8(path, text, size);
            return this.#module[name](this.#handle, ...args, text);
        } finally {
            this.#module._free(text);
        }
    }

    #string(pointer) {
        return pointer ? this.#module.UTF8ToString(pointer) : '';
    }
}
