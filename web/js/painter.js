// Puts what the viewer shows on its canvas, once per animation frame at most.
// With the crossfade the mix of the previous and the current view stays on
// screen for one frame before the view itself, as the plug-in's two blits
// showed the mix for a moment.
export class Painter {
    #canvas;
    #viewer;
    #frame = 0;
    #afterBlend = false;

    constructor(canvas, viewer) {
        this.#canvas = canvas;
        this.#viewer = viewer;
    }

    // Call after every call into the viewer: paints when the viewer says so.
    update() {
        if (!this.#viewer.takePaintDue() || this.#frame) return;
        this.#frame = requestAnimationFrame(() => this.#paint());
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
        this.#afterBlend = false;
        const picture = this.#viewer.picture(false);
        if (picture) context.putImageData(picture, 0, 0);
    }
}
