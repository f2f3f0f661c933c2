// The web edition's figures, all from one run in headless Chromium on a
// 72-view movie of 640 x 480 served on 127.0.0.1, printed as "<name> <value>":
// loading the whole movie against the sum of its views' bare wasm decodes,
// a pointer step to the stepped view on the canvas (p50, p95, and the
// element's own part of it), navigation to
// the first view painted, and the module's heap held for the loaded movie
// against its frames' bytes.
import { join } from 'node:path';
import { boxOf, launchChromium, makeMovie, openPage, requireBuilds, stage, startServer } from '../tests/browser/support.js';

const kRuns = 3;
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const percentile = (values, p) => [...values].sort((a, b) => a - b)[Math.min(values.length - 1, Math.floor(values.length * p))];

const kPage = `<!DOCTYPE html><meta charset="utf-8"><body style="margin:0">
<zel-movie id="first" src="movie.zel"></zel-movie>
<script type="module">
import '/zel/zel-movie.js';
import { loadZelModule } from '/zel/module-loader.js';
const paintedAfter = (movie, type) => new Promise((done) => movie.addEventListener(type, () =>
    requestAnimationFrame(() => done(performance.now())), { once: true }));
window.firstViewMs = paintedAfter(document.getElementById('first'), 'zel-viewchange');
window.bench = {
    // Milliseconds from the element's creation to every view in, and the heap
    // it then holds.
    async load() {
        const module = await loadZelModule();
        document.body.replaceChildren();
        const heap = module._zel_heap_bytes();
        const movie = document.createElement('zel-movie');
        movie.id = 'timed';
        const loaded = new Promise((done) => movie.addEventListener('zel-load', done, { once: true }));
        const start = performance.now();
        movie.src = 'movie.zel';
        document.body.replaceChildren(movie);
        await loaded;
        const ms = performance.now() - start;
        // What a paint adds (the RGBA rows handed to the canvas) counts too.
        await new Promise((done) => requestAnimationFrame(done));
        return { ms, heap: module._zel_heap_bytes() - heap };
    },
    // The sum of the views' bare decodes, each file already in memory.
    async decodes(names) {
        const module = await loadZelModule();
        const files = await Promise.all(names.map(async (name) => new Uint8Array(await (await fetch(name)).arrayBuffer())));
        const path = '/bench.jpg';
        const text = module._malloc(16);
        module.stringToUTF8(path, text, 16);
        let sum = 0;
        for (const bytes of files) {
            module.FS.writeFile(path, bytes);
            const start = performance.now();
            if (!module._zel_bare_decode(text)) throw new Error('a view did not decode');
            sum += performance.now() - start;
            module.FS.unlink(path);
        }
        module._free(text);
        return sum;
    },
    // From each pointer event that steps until the canvas holds the stepped
    // view (the element paints a step before it announces it).
    watchSteps() {
        const movie = document.getElementById('timed');
        let pointerAt = 0;
        let dispatchedAt = 0;
        window.steps = [];
        window.handled = [];
        movie.addEventListener('pointermove', (event) => {
            pointerAt = event.timeStamp;
            dispatchedAt = performance.now();
        }, { capture: true });
        movie.addEventListener('zel-viewchange', () => {
            window.steps.push(performance.now() - pointerAt);
            window.handled.push(performance.now() - dispatchedAt);
        });
    },
};
</script>`;

requireBuilds();
const movie = makeMovie('--rows', '3', '--cols', '24', '--width', '640', '--height', '480');
const server = await startServer({ routes: { '/zel/': stage, '/movie/': movie.folder }, files: { '/movie/bench.html': kPage } });
const browser = await launchChromium();
try {
    const firstViews = [];
    for (let i = 0; i < kRuns; ++i) {
        const tab = await openPage(browser, `${server.origin}/movie/bench.html`);
        firstViews.push(await tab.evaluate(() => window.firstViewMs));
        await tab.close();
    }

    const tab = await openPage(browser, `${server.origin}/movie/bench.html`);
    await tab.evaluate(() => window.firstViewMs);
    const names = movie.views.map((view) => view.name);
    const loads = [];
    const decodes = [];
    let heap = 0;
    for (let i = 0; i < kRuns; ++i) {
        const load = await tab.evaluate(() => window.bench.load());
        loads.push(load.ms);
        heap = load.heap;
        decodes.push(await tab.evaluate((names) => window.bench.decodes(names), names));
    }

    await tab.evaluate(() => window.bench.watchSteps());
    // One step a drag, right and back: a press, one move of 60 pixels (a
    // step is 53), a release.
    const box = await boxOf(tab, '#timed');
    const y = box.y + box.height / 2;
    for (let i = 0; i < 100; ++i) {
        const [from, to] = i % 2 ? [box.x + 300, box.x + 240] : [box.x + 240, box.x + 300];
        await tab.mouse.move(from, y);
        await tab.mouse.down();
        await tab.mouse.move(to, y);
        await tab.mouse.up();
        await tab.evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))));
    }
    const steps = await tab.evaluate(() => window.steps);
    const handled = await tab.evaluate(() => window.handled);
    if (steps.length < 90) throw new Error(`only ${steps.length} of 100 drags stepped`);
    if (tab.scriptErrors.length) throw new Error(tab.scriptErrors.join('; '));

    const frameBytes = movie.views.length * 640 * 480 * 3;
    const figures = {
        web_load_vs_wasm_decodes: median(loads) / median(decodes),
        web_load_ms: median(loads),
        web_wasm_decodes_ms: median(decodes),
        web_step_ms_p50: percentile(steps, 0.5),
        web_step_ms_p95: percentile(steps, 0.95),
        // Of that, the element's own part: from the event's dispatch (Chromium
        // holds pointer moves for the next frame) to the view painted.
        web_step_handler_ms_p95: percentile(handled, 0.95),
        web_first_view_ms: median(firstViews),
        web_memory_vs_frame_bytes: heap / frameBytes,
    };
    for (const [name, value] of Object.entries(figures)) console.log(`${name} ${value.toFixed(3)}`);
} finally {
    await browser.close();
    await server.close();
    movie.remove();
}
