// Puts what the viewer shows on its canvas. A step by the visitor's input is
// painted at once, as the plug-in painted each step before taking the next;
// arrivals, which may come many to a frame, are painted once per animation
// frame. With the crossfade the mix of the previous and the current view
// stays on the canvas for one frame before the view itself, as the plug-in's
// two blits showed the mix for a moment.
export class Painter {
    #canvas;
    #viewer;
    #frame = 0;
    #afterBlend = false;
    #paintedView = -1;

    constructor(canvas, viewer) {
        this.#canvas = canvas;
        this.#viewer = viewer;
    }

    // Call after every call into the viewer: paints when the viewer says so,
    // `now` or at the next animation frame.
    update(now = false) {
        if (!this.#viewer.takePaintDue()) return;
        if (now) {
            this.cancel();
            this.#afterBlend = false;
            this.#paint();
        } else if (!this.#frame) {
            this.#frame = requestAnimationFrame(() => this.#paint());
        }
    }

    cancel() {
        cancelAnimationFrame(this.#frame);
        this.#frame = 0;
    }

    #paint() {
        this.#frame = 0;
        const context = this.#canvas.getContext('2d');
        const blend = this.#afterBlend ? null : this.#viewer.picture(true);
        if (blend) {
            context.putImageData(blend, 0, 0);
            this.#afterBlend = true;
            this.#frame = requestAnimationFrame(() => this.#paint());
            return;
        }
        // Each view's picture is filed once: while views arrive, the plug-in's
        // repaint of the view already on the canvas would change nothing.
        const view = this.#viewer.currentView;
        if (!this.#afterBlend && view === this.#paintedView) return;
        this.#afterBlend = false;
        const picture = this.#viewer.picture(false);
        if (picture) context.putImageData(picture, 0, 0);
        this.#paintedView = picture ? view : -1;
    }
}
