// Fetches the views a viewer asks for, as the shell of its dialect did. The
// plug-in asked the browser for every view it named at once, relative to the
// page; the control downloaded one view at a time from the folder of its Url.
// The viewer decides what to ask for and when (it hands out one request at a
// time in the control's dialect); this only carries the bytes.
export function controlFolder(url) {
    return url.slice(0, url.lastIndexOf('/') + 1);
}

export class ViewFetcher {
    #viewer;
    #resolve;
    #signal;
    #onChange;
    #inFlight = 0;

    // `resolve(name)` gives a view name's URL; `onChange` runs after every
    // call into the viewer that may have changed what the page shows.
    constructor(viewer, resolve, signal, onChange) {
        this.#viewer = viewer;
        this.#resolve = resolve;
        this.#signal = signal;
        this.#onChange = onChange;
    }

    get inFlight() {
        return this.#inFlight;
    }

    // Issues every request the viewer hands out now, in the order taken.
    pump() {
        for (let view = this.#viewer.takeRequest(); view >= 0; view = this.#viewer.takeRequest()) {
            this.#fetchView(view);
        }
    }

    async #fetchView(view) {
        ++this.#inFlight;
        let bytes = null;
        try {
            const url = this.#resolve(this.#viewer.viewName(view));
            const response = await fetch(url, { signal: this.#signal });
            if (response.ok) bytes = new Uint8Array(await response.arrayBuffer());
        } catch (error) {
            // A network failure is a failed view; an abort means the element
            // let its viewer go.
            if (this.#signal.aborted) return;
        } finally {
            --this.#inFlight;
        }
        if (this.#signal.aborted || !this.#viewer.alive) return;
        this.#viewer.viewArrived(view, bytes);
        this.#onChange();
        this.pump();
    }
}
