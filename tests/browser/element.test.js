// <zel-movie> used directly: several movies on one page, each with its own
// viewer and loading order, one let go while it loads, what a screen reader is
// told, and what a visitor sees of a missing or refused description and of
// views that are missing or claim an enormous picture.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { after, before, test } from 'node:test';
import {
    boxOf, canvasPixels, claimSize, differingPixels, djpeg, launchChromium, makeMovie, openPage, requireBuilds,
    settle, stage, startServer, viewOf, waitFor,
} from './support.js';

let browser;
const movies = [];

before(async () => {
    requireBuilds();
    browser = await launchChromium();
});

after(async () => {
    await browser?.close();
    for (const movie of movies) movie.remove();
});

function movie(...options) {
    const made = makeMovie(...options);
    movies.push(made);
    return made;
}

const pageWith = (body) =>
    `<!DOCTYPE html><meta charset="utf-8"><script type="module" src="/zel/zel-movie.js"></script><body>${body}</body>`;

// Pixels that differ in the top 8 rows, 144 columns of a 160-wide picture:
// what the first row of 16 x 16 blocks decodes to whatever the rows after it
// hold (chroma upsampling reaches one block row and column further).
function topBandDiffers(rgba, rgb) {
    let differ = 0;
    for (let y = 0; y < 8; ++y) {
        for (let x = 0; x < 144; ++x) {
            const i = (y * 160 + x) * 4;
            const j = (y * 160 + x) * 3;
            if (rgba[i] !== rgb[j] || rgba[i + 1] !== rgb[j + 1] || rgba[i + 2] !== rgb[j + 2]) ++differ;
        }
    }
    return differ;
}

async function shownMessage(tab, selector) {
    return tab.evaluate((selector) => {
        const message = document.querySelector(selector).shadowRoot.querySelector('[part=message]');
        return message.hidden ? null : message.textContent;
    }, selector);
}

test('two movies on one page load and turn on their own, a third let go while loading stops, and the view is announced', async () => {
    const one = movie('--rows', '3', '--cols', '24', '--width', '320', '--height', '240');
    const two = movie('--rows', '1', '--cols', '8', '--width', '160', '--height', '120');
    const files = {
        '/one/page.html': pageWith(`<zel-movie id="a" src="movie.zel" alt="Movie A"></zel-movie>
            <zel-movie id="b" dialect="control" src="/two/movie.zel" width="320" height="240"></zel-movie>`),
    };
    const server = await startServer({ routes: { '/zel/': stage, '/one/': one.folder, '/two/': two.folder, '/three/': one.folder }, files, delay: 10 });
    try {
        const tab = await openPage(browser, `${server.origin}/one/page.html`);
        const [a, b] = await Promise.all([waitFor(tab, '#a', 'zel-load'), waitFor(tab, '#b', 'zel-load')]);
        assert.deepEqual([a.views, b.views], [72, 8]);
        // The plug-in's names resolve against the page, the control's against
        // its description's folder.
        assert.equal(server.requestsFor('.jpg').filter((r) => r.path.startsWith('/one/')).length, 72);
        assert.equal(server.requestsFor('.jpg').filter((r) => r.path.startsWith('/two/')).length, 8);
        assert.equal(differingPixels(await canvasPixels(tab, '#a'), djpeg(join(one.folder, one.views[0].name)).rgb), 0);
        assert.equal(differingPixels(await canvasPixels(tab, '#b'), djpeg(join(two.folder, two.views[0].name)).rgb), 0);

        // B is shown at twice its picture's size, its pixels kept square; A
        // at its own. A drag of 20 CSS pixels on B is 10 picture pixels, one
        // step of 160 / 12; A does not move.
        const box = await boxOf(tab, '#b');
        assert.deepEqual([box.width, box.height], [320, 240]);
        const rendering = (selector) => tab.evaluate((selector) =>
            getComputedStyle(document.querySelector(selector).shadowRoot.querySelector('canvas')).imageRendering, selector);
        assert.deepEqual([await rendering('#a'), await rendering('#b')], ['auto', 'pixelated']);
        await tab.mouse.move(box.x + 200, box.y + 100);
        await tab.mouse.down();
        await tab.mouse.move(box.x + 180, box.y + 100);
        assert.equal(await viewOf(tab, '#b'), 0);
        await tab.mouse.move(box.x + 170, box.y + 100);
        await tab.mouse.up();
        assert.equal(await viewOf(tab, '#b'), two.views[0].slots[3]);
        assert.equal(await viewOf(tab, '#a'), 0);

        await tab.focus('#a');
        await tab.keyboard.press('ArrowDown');
        const down = one.views[0].slots[0];
        assert.equal(await viewOf(tab, '#a'), down);
        await settle(tab);
        const slider = (await tab.accessibility.snapshot()).children.find((node) => node.name === 'Movie A');
        assert.deepEqual([slider.role, slider.roledescription, slider.value, slider.valuemax], ['slider', 'object movie', down + 1, 72]);

        // Removing B gives its frames back to the module's heap.
        const freed = await tab.evaluate(async () => {
            const module = await (await import('/zel/module-loader.js')).loadZelModule();
            const before = module._zel_heap_bytes();
            document.getElementById('b').remove();
            return before - module._zel_heap_bytes();
        });
        assert.ok(freed >= 8 * 160 * 120 * 3, `${freed} bytes freed`);

        // A third movie, added and then removed once its first view is in.
        const before = server.requestsFor('.jpg').length;
        await tab.evaluate(() => new Promise((done) => {
            const third = Object.assign(document.createElement('zel-movie'), { src: '/three/movie.zel', dialect: 'control' });
            third.addEventListener('zel-viewchange', () => {
                third.remove();
                done();
            }, { once: true });
            document.body.append(third);
        }));
        await new Promise((done) => setTimeout(done, 300));
        const thirdRequests = server.requestsFor('.jpg').length - before;
        assert.ok(thirdRequests >= 1 && thirdRequests <= 2, `${thirdRequests} views fetched for a movie let go after one`);
        assert.deepEqual(tab.scriptErrors, []);
        await tab.close();
    } finally {
        await server.close();
    }
});

test('a missing or refused description says so in the element; a missing view stays out of reach or is black, a giant claim shows its frame', async () => {
    const three = movie('--rows', '1', '--cols', '6', '--width', '160', '--height', '120');
    const name = (view) => `/three/${three.views[view].name}`;
    const giant = claimSize(readFileSync(join(three.folder, three.views[2].name)), 65500, 65500);
    const files = {
        '/three/page.html': pageWith(`<zel-movie id="missing" src="nothing.zel"></zel-movie>
            <zel-movie id="refused" src="bad.zel"></zel-movie>
            <zel-movie id="plugin" src="movie.zel"></zel-movie>
            <zel-movie id="control" dialect="control" src="movie.zel"></zel-movie>`),
        '/three/bad.zel': '2 48 36 0\nfront.jpg -1 -1 1 x1\nback.jpg -1 -1 0 0\n',
        [name(1)]: 404,
        [name(2)]: giant,
    };
    const server = await startServer({ routes: { '/zel/': stage, '/three/': three.folder }, files });
    try {
        const tab = await openPage(browser, `${server.origin}/three/page.html`);
        const missing = await waitFor(tab, '#missing', 'zel-error');
        assert.equal(missing.reason, 'missing');
        assert.match(await shownMessage(tab, '#missing'), /nothing\.zel was not found \(HTTP 404\)/);
        const refused = await waitFor(tab, '#refused', 'zel-error');
        assert.equal(refused.reason, 'refused');
        assert.match(await shownMessage(tab, '#refused'), /line 2, "x1": view 0's slot 4 is not a 32-bit integer/);

        // Both loaders finish: a failed view counts as done.
        const [plugin, control] = await Promise.all([waitFor(tab, '#plugin', 'zel-load'), waitFor(tab, '#control', 'zel-load')]);
        assert.deepEqual([plugin.views, control.views], [6, 6]);
        assert.equal(await shownMessage(tab, '#plugin'), null);

        // The plug-in's failed view stays out of reach: right of view 0 is
        // view 1. The giant claim decodes as far as the frame: its first
        // MCU row is the picture's own, the rest of the frame has no data.
        await tab.focus('#plugin');
        await tab.keyboard.press('ArrowRight');
        assert.equal(await viewOf(tab, '#plugin'), 0);
        for (let i = 0; i < 4; ++i) await tab.keyboard.press('ArrowLeft');
        assert.equal(await viewOf(tab, '#plugin'), 2);
        await settle(tab);
        const claimed = djpeg(join(three.folder, three.views[2].name)).rgb;
        assert.equal(topBandDiffers(await canvasPixels(tab, '#plugin'), claimed), 0);

        // The control's failed view is black and can be turned to.
        await tab.focus('#control');
        await tab.keyboard.press('ArrowRight');
        assert.equal(await viewOf(tab, '#control'), 1);
        await settle(tab);
        assert.equal(differingPixels(await canvasPixels(tab, '#control'), Buffer.alloc(160 * 120 * 3)), 0);
        await tab.keyboard.press('ArrowRight');
        await settle(tab);
        assert.equal(topBandDiffers(await canvasPixels(tab, '#control'), claimed), 0);
        await tab.keyboard.press('ArrowRight');
        await settle(tab);
        assert.equal(differingPixels(await canvasPixels(tab, '#control'), djpeg(join(three.folder, three.views[3].name)).rgb), 0);
        assert.deepEqual(tab.scriptErrors, []);
        await tab.close();
    } finally {
        await server.close();
    }
});
