// <zel-movie src="movie.zel">: an object movie in a page. The element fetches
// the description, shows the picture on a canvas of the picture's own size
// (CSS may scale it) and turns it by drag and arrow keys. dialect="plugin"
// (the default) loads as the old <embed> did, view names relative to the
// page; dialect="control" as the old <object>, from the folder of `src`.
// Events, all bubbling: zel-viewchange (detail.view), zel-load (every view the
// dialect loads is in), zel-error (detail.reason, detail.message).
import { loadZelModule } from './module-loader.js';
import { attachInput } from './pointer-input.js';
import { Painter } from './painter.js';
import { controlFolder, ViewFetcher } from './view-fetcher.js';
import { LoadState, ReadResult, Viewer } from './viewer.js';

const kStyle = `
:host { display: inline-block; position: relative; vertical-align: bottom; overflow: hidden;
        touch-action: none; user-select: none; -webkit-user-select: none; contain: content; }
:host([hidden]) { display: none; }
:host(:focus-visible) { outline: 2px solid Highlight; outline-offset: 2px; }
canvas { display: block; width: 100%; height: 100%; touch-action: none; }
canvas.sharp { image-rendering: pixelated; }
[part=progress] { position: absolute; left: 0; right: 0; bottom: 0; display: flex; gap: 0.5em;
        align-items: center; padding: 2px 6px; font: 12px/1.4 system-ui, sans-serif;
        color: #fff; background: rgb(0 0 0 / 55%); }
[part=progress] progress { flex: 1; min-width: 0; }
[part=message] { position: absolute; inset: 0; overflow: auto; padding: 8px;
        font: 13px/1.4 system-ui, sans-serif; color: CanvasText; background: Canvas;
        border: 1px solid GrayText; white-space: pre-wrap; }
[hidden] { display: none !important; }
`;

// The description's URL. The plug-in's page fetched it relative to itself; the
// control used its Url as it stands, and a relative one, which named nothing
// the control could fetch, resolves against the page, the only base a page has.
function descriptionUrl(src, dialect) {
    if (dialect === 'control') {
        try {
            return new URL(src).href;
        } catch {
            // Not absolute: see above.
        }
    }
    return new URL(src, document.baseURI).href;
}

function positiveInteger(text) {
    const value = Number.parseInt(text ?? '', 10);
    return value > 0 ? value : 0;
}

export class ZelMovie extends HTMLElement {
    static observedAttributes = ['src', 'dialect', 'alt', 'title', 'width', 'height'];

    #internals = this.attachInternals();
    #canvas;
    #size;
    #progress;
    #message;
    #viewer = null;
    #painter = null;
    #abort = null;
    #shownView = -1;
    #loaded = false;
    #deviceBox = null;
    #connected = false;
    #progressFrame = 0;

    constructor() {
        super();
        const root = this.attachShadow({ mode: 'open' });
        root.innerHTML = `<style>${kStyle}</style><style></style><canvas part="picture"></canvas>
<div part="progress" hidden><progress></progress><span></span></div><div part="message" role="alert" hidden></div>`;
        this.#size = root.querySelectorAll('style')[1];
        this.#canvas = root.querySelector('canvas');
        this.#progress = root.querySelector('[part=progress]');
        this.#message = root.querySelector('[part=message]');
        this.#internals.role = 'slider';
        this.#internals.ariaRoleDescription = 'object movie';
        this.#internals.ariaOrientation = 'horizontal';
        attachInput(this, this.#canvas, () => this.#viewer, () => this.#update(true));
        new ResizeObserver((entries) => this.#choosePixelRendering(entries)).observe(this.#canvas, {
            box: 'device-pixel-content-box',
        });
    }

    get src() {
        return this.getAttribute('src') ?? '';
    }
    set src(value) {
        this.setAttribute('src', value);
    }
    get dialect() {
        return this.getAttribute('dialect')?.toLowerCase() === 'control' ? 'control' : 'plugin';
    }
    set dialect(value) {
        this.setAttribute('dialect', value);
    }
    get alt() {
        return this.getAttribute('alt') ?? '';
    }
    set alt(value) {
        this.setAttribute('alt', value);
    }
    get width() {
        return positiveInteger(this.getAttribute('width'));
    }
    set width(value) {
        this.setAttribute('width', String(value));
    }
    get height() {
        return positiveInteger(this.getAttribute('height'));
    }
    set height(value) {
        this.setAttribute('height', String(value));
    }

    // What the visitor sees: the view on screen (-1 before any), the views,
    // how many of the views to load are in, and whether loading has ended.
    get currentView() {
        return this.#shownView;
    }
    get viewCount() {
        return this.#viewer?.viewCount ?? 0;
    }
    get viewsLoaded() {
        return this.#viewer?.viewsDone ?? 0;
    }
    get viewsToLoad() {
        return this.#viewer?.viewsToLoad ?? 0;
    }
    get loaded() {
        return this.#loaded;
    }

    connectedCallback() {
        this.#connected = true;
        if (!this.hasAttribute('tabindex')) this.tabIndex = 0;
        this.#describe();
        this.#start();
    }

    disconnectedCallback() {
        this.#connected = false;
        this.#stop();
    }

    attributeChangedCallback(name, before, after) {
        if (before === after) return;
        // Attributes set before the element is connected (the parser's, an
        // upgrade's) are read once by connectedCallback.
        if ((name === 'src' || name === 'dialect') && this.#connected) this.#start();
        this.#describe();
    }

    #stop() {
        cancelAnimationFrame(this.#progressFrame);
        this.#progressFrame = 0;
        this.#abort?.abort();
        this.#abort = null;
        this.#painter?.cancel();
        this.#painter = null;
        this.#viewer?.delete();
        this.#viewer = null;
        this.#shownView = -1;
        this.#loaded = false;
    }

    async #start() {
        this.#stop();
        this.#message.hidden = true;
        this.#canvas.getContext('2d').clearRect(0, 0, this.#canvas.width, this.#canvas.height);
        if (!this.src) return;
        const abort = new AbortController();
        this.#abort = abort;
        const { signal } = abort;
        const dialect = this.dialect;
        this.#showProgress();
        // The module compiles while the description comes.
        const modulePromise = loadZelModule();
        modulePromise.catch(() => {});
        let url;
        let bytes;
        try {
            url = descriptionUrl(this.src, dialect);
            const response = await fetch(url, { signal });
            if (signal.aborted) return;
            if (!response.ok) {
                this.#fail('missing', `The movie ${this.src} was not found (HTTP ${response.status}).`);
                return;
            }
            bytes = new Uint8Array(await response.arrayBuffer());
        } catch (error) {
            if (!signal.aborted) this.#fail('missing', `The movie ${this.src} could not be fetched: ${error.message}`);
            return;
        }
        let module;
        try {
            module = await modulePromise;
        } catch (error) {
            if (!signal.aborted) this.#fail('module', `The viewer module could not be loaded: ${error.message}`);
            return;
        }
        if (signal.aborted) return;
        const viewer = new Viewer(module, dialect);
        const result = viewer.readDescription(bytes);
        if (result !== ReadResult.ok) {
            const problem = viewer.problem;
            viewer.delete();
            this.#fail(result === ReadResult.refused ? 'refused' : 'unreadable',
                `The movie ${this.src} cannot be shown: ${problem}.`);
            return;
        }
        this.#viewer = viewer;
        this.#painter = new Painter(this.#canvas, viewer);
        this.#canvas.width = viewer.width;
        this.#canvas.height = viewer.height;
        this.#describe();
        this.#choosePixelRendering(null);
        const folder = controlFolder(url);
        const resolve = dialect === 'control'
            ? (name) => new URL(folder + name).href
            : (name) => new URL(name, document.baseURI).href;
        new ViewFetcher(viewer, resolve, signal, () => this.#update()).pump();
        this.#update();
    }

    // After every call into the viewer: paint (at once after input), cursor,
    // progress, events.
    #update(input = false) {
        const viewer = this.#viewer;
        if (!viewer) return;
        this.#painter.update(input);
        const cursor = viewer.cursor;
        if (this.#canvas.style.cursor !== cursor) this.#canvas.style.cursor = cursor;
        const finished = viewer.loadState === LoadState.finished;
        // Arrivals come many to a frame: the bar follows once a frame.
        if (!finished) {
            this.#progressFrame ||= requestAnimationFrame(() => {
                this.#progressFrame = 0;
                if (this.#viewer === viewer) this.#showProgress(viewer.viewsDone, viewer.viewsToLoad, false);
            });
        }
        if (viewer.loadState !== LoadState.nothingToShow && viewer.currentView !== this.#shownView) {
            this.#shownView = viewer.currentView;
            this.#describe();
            this.#emit('zel-viewchange', { view: this.#shownView });
        }
        if (finished && !this.#loaded) {
            this.#loaded = true;
            cancelAnimationFrame(this.#progressFrame);
            this.#progressFrame = 0;
            this.#showProgress(viewer.viewsDone, viewer.viewsToLoad, true);
            this.#emit('zel-load', { views: viewer.viewsDone });
        }
    }

    #showProgress(done = 0, total = 0, finished = false) {
        this.#progress.hidden = finished;
        this.#internals.ariaBusy = finished ? 'false' : 'true';
        const bar = this.#progress.firstElementChild;
        if (total > 0) {
            bar.max = total;
            bar.value = done;
        } else {
            bar.removeAttribute('value');
        }
        this.#progress.lastElementChild.textContent = total > 0 ? `${done} / ${total}` : '';
    }

    #fail(reason, message) {
        cancelAnimationFrame(this.#progressFrame);
        this.#progressFrame = 0;
        this.#progress.hidden = true;
        this.#message.textContent = message;
        this.#message.hidden = false;
        this.#internals.role = 'group';
        this.#internals.ariaBusy = 'false';
        this.#emit('zel-error', { reason, message });
    }

    #emit(type, detail) {
        this.dispatchEvent(new CustomEvent(type, { detail, bubbles: true, composed: true }));
    }

    // Size, name and value: the width and height attributes size the element
    // as they size an image, and the picture's own size stands in for them.
    #describe() {
        const viewer = this.#viewer;
        const pictureWidth = viewer?.width ?? 0;
        const pictureHeight = viewer?.height ?? 0;
        const width = this.width;
        const height = this.height;
        let size;
        if (width && height) size = `width: ${width}px; height: ${height}px;`;
        else if (pictureWidth && width) size = `width: ${width}px; aspect-ratio: ${pictureWidth} / ${pictureHeight};`;
        else if (pictureWidth && height) size = `height: ${height}px; aspect-ratio: ${pictureWidth} / ${pictureHeight};`;
        else if (pictureWidth) size = `width: ${pictureWidth}px; aspect-ratio: ${pictureWidth} / ${pictureHeight};`;
        else size = `width: ${width || 300}px; height: ${height || 150}px;`;
        const rule = `:host { ${size} }`;
        if (this.#size.textContent !== rule) this.#size.textContent = rule;

        if (!this.#message.hidden) return;
        this.#internals.role = 'slider';
        this.#internals.ariaLabel = this.alt || this.title || 'Object movie';
        const count = viewer?.viewCount ?? 0;
        this.#internals.ariaValueMin = '1';
        this.#internals.ariaValueMax = String(Math.max(count, 1));
        if (this.#shownView >= 0) {
            this.#internals.ariaValueNow = String(this.#shownView + 1);
            this.#internals.ariaValueText = `view ${this.#shownView + 1} of ${count}`;
        } else {
            this.#internals.ariaValueNow = null;
            this.#internals.ariaValueText = 'loading';
        }
    }

    // Device pixels that are a whole multiple of the picture's keep each
    // picture pixel square and sharp; any other scale is smoothed.
    #choosePixelRendering(entries) {
        if (entries) this.#deviceBox = entries[0].devicePixelContentBoxSize?.[0] ?? null;
        const box = this.#deviceBox;
        const scaleX = box ? box.inlineSize / this.#canvas.width : 0;
        const scaleY = box ? box.blockSize / this.#canvas.height : 0;
        const whole = scaleX >= 2 && scaleX === scaleY && Number.isInteger(scaleX);
        this.#canvas.classList.toggle('sharp', whole);
    }
}

if (!customElements.get('zel-movie')) customElements.define('zel-movie', ZelMovie);
