// The sample pages with their old tags, as a visitor's browser sees them once
// the drop-in script has replaced the tags: the order the server is asked for
// views in, real mouse, touch and key input, and the canvas read back against
// libjpeg's decode of each view.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { after, before, test } from 'node:test';
import {
    boxOf, canvasPixels, differingPixels, djpeg, kControlOrigin, launchChromium, makeMovie, openPage,
    requireBuilds, root, settle, stage, startServer, viewOf, waitFor,
} from './support.js';

let browser;
let movie;

before(async () => {
    requireBuilds();
    // The sample movie as the main job makes it: 72 views, crossfade on.
    movie = makeMovie('--rows', '3', '--cols', '24', '--width', '320', '--height', '240', '--flag', '1');
    browser = await launchChromium();
});

after(async () => {
    await browser?.close();
    movie?.remove();
});

const page = (name) => readFileSync(join(root, 'examples/sample', name), 'utf8');
const viewFile = (view) => join(movie.folder, movie.views[view].name);
const jpegRequests = (server) => server.log.filter((entry) => entry.path.endsWith('.jpg'));
const viewIndex = (entry) => movie.views.findIndex((view) => entry.path.endsWith(`/${view.name}`));

function mostInFlight(requests) {
    return Math.max(...requests.map((r) => requests.filter((o) => o.start <= r.start && o.end > r.start).length));
}

test('the embed page loads as the plug-in did, turns by mouse, shows libjpeg\'s pixels and crossfades once loaded', async () => {
    const server = await startServer({
        routes: { '/zel/': stage, '/sample/': movie.folder },
        files: { '/sample/index.html': page('index.html') },
        delay: 15,
    });
    try {
        const tab = await openPage(browser, `${server.origin}/sample/index.html`);
        const movieTag = 'zel-movie[dialect=plugin]';
        assert.deepEqual(await waitFor(tab, movieTag, 'zel-load'), { views: 72 });
        assert.equal(differingPixels(await canvasPixels(tab, movieTag), djpeg(viewFile(0)).rgb), 0);

        // View 0 first, then its neighbours down, up, right, left, all at
        // once; every other view only once a view naming it has arrived.
        const requests = jpegRequests(server);
        assert.equal(requests.length, 72);
        assert.equal(new Set(requests.map(viewIndex)).size, 72);
        assert.equal(viewIndex(requests[0]), 0);
        const firstRing = movie.views[0].slots.filter((n) => n > 0);
        assert.deepEqual(new Set(requests.slice(1, 1 + firstRing.length).map(viewIndex)), new Set(firstRing));
        assert.ok(mostInFlight(requests) > 1, 'the plug-in asked for several views at once');
        for (const request of requests.slice(1)) {
            const view = viewIndex(request);
            const named = requests.some((o) => o.end <= request.start && movie.views[viewIndex(o)].slots.includes(view));
            assert.ok(named, `${request.path} was asked for before any view leading to it had arrived`);
        }

        // The element kept the embed's size: one CSS pixel is one picture
        // pixel, and a drag of 60 pixels right is two steps of 26.
        const box = await boxOf(tab, movieTag);
        assert.deepEqual([box.width, box.height], [320, 240]);
        await tab.evaluate(() => {
            window.seen = [];
            document.addEventListener('zel-viewchange', (event) => window.seen.push(event.detail.view));
        });
        await tab.mouse.move(box.x + 100, box.y + 120);
        await tab.mouse.down();
        await tab.mouse.move(box.x + 160, box.y + 120, { steps: 4 });
        await tab.mouse.up();
        await tab.mouse.move(box.x + 300, box.y + 120);
        const two = movie.views[movie.views[0].slots[2]].slots[2];
        assert.equal(await viewOf(tab, movieTag), two);
        assert.deepEqual(await tab.evaluate(() => window.seen), [movie.views[0].slots[2], two]);
        await settle(tab);
        assert.equal(differingPixels(await canvasPixels(tab, movieTag), djpeg(viewFile(two)).rgb), 0);

        // Loaded, with the crossfade flag: a step shows the 50% mix of the
        // previous and the new view for one frame, then the new view.
        await tab.evaluate((selector) => {
            const movieElement = document.querySelector(selector);
            const canvas = movieElement.shadowRoot.querySelector('canvas');
            const grab = () => Array.from(canvas.getContext('2d').getImageData(0, 0, 320, 240).data);
            // A step is painted before it is announced; the view follows at
            // the next animation frame.
            window.frames = new Promise((done) => movieElement.addEventListener('zel-viewchange', () => {
                const mix = grab();
                requestAnimationFrame(() => done([mix, grab()]));
            }, { once: true }));
        }, movieTag);
        await tab.focus(movieTag);
        await tab.keyboard.press('ArrowRight');
        const [mix, shown] = (await tab.evaluate(() => window.frames)).map((f) => Buffer.from(f));
        const three = movie.views[two].slots[2];
        const previous = djpeg(viewFile(two)).rgb;
        const current = djpeg(viewFile(three)).rgb;
        assert.equal(differingPixels(mix, current.map((c, i) => (c + previous[i]) >> 1)), 0);
        assert.equal(differingPixels(shown, current), 0);
        assert.deepEqual(tab.scriptErrors, []);
        await tab.close();
    } finally {
        await server.close();
    }
});

test('the object page loads breadth-first from view 0, one view at a time from its Url, and turns by touch and keys', async () => {
    // The page names the server it expects by a full address, as the control
    // needs; served here on another port, the Url is rewritten to match.
    const text = page('control.html');
    assert.match(text, /<param name="Url" value="http:\/\/127\.0\.0\.1:8000\/sample\/movie\.zel">/);
    const files = {};
    const served = await startServer({ routes: { '/zel/': stage, '/sample/': movie.folder }, files, delay: 5 });
    try {
        files['/sample/control.html'] = text.replaceAll(kControlOrigin, served.origin);
        const tab = await openPage(browser, `${served.origin}/sample/control.html`, { touch: true });
        const movieTag = 'zel-movie[dialect=control]';
        assert.deepEqual(await waitFor(tab, movieTag, 'zel-load'), { views: 72 });

        const expected = [0];
        for (let i = 0; i < expected.length; ++i) {
            for (const slot of [2, 3, 0, 1]) {
                const next = movie.views[expected[i]].slots[slot];
                if (next >= 0 && !expected.includes(next)) expected.push(next);
            }
        }
        const requests = jpegRequests(served);
        assert.deepEqual(requests.map(viewIndex), expected);
        for (let i = 1; i < requests.length; ++i) {
            assert.ok(requests[i].start >= requests[i - 1].end, `${requests[i].path} overlapped the view before it`);
        }

        // A finger: 30 pixels left is one step through slot 4, then 26 down
        // one through slot 1.
        const box = await boxOf(tab, movieTag);
        await tab.touchscreen.touchStart(box.x + 150, box.y + 100);
        await tab.touchscreen.touchMove(box.x + 120, box.y + 100);
        const left = movie.views[0].slots[3];
        assert.equal(await viewOf(tab, movieTag), left);
        await tab.touchscreen.touchMove(box.x + 120, box.y + 126);
        await tab.touchscreen.touchEnd();
        const down = movie.views[left].slots[0];
        assert.equal(await viewOf(tab, movieTag), down);
        await settle(tab);
        assert.equal(differingPixels(await canvasPixels(tab, movieTag), djpeg(viewFile(down)).rgb), 0);

        // Keys: up is slot 2, right slot 3.
        await tab.focus(movieTag);
        await tab.keyboard.press('ArrowUp');
        assert.equal(await viewOf(tab, movieTag), movie.views[down].slots[1]);
        await tab.keyboard.press('ArrowRight');
        const right = movie.views[movie.views[down].slots[1]].slots[2];
        assert.equal(await viewOf(tab, movieTag), right);
        await settle(tab);
        assert.equal(differingPixels(await canvasPixels(tab, movieTag), djpeg(viewFile(right)).rgb), 0);
        // Loaded, the control's drag shows its loaded cursor.
        assert.equal(await tab.evaluate((selector) =>
            document.querySelector(selector).shadowRoot.querySelector('canvas').style.cursor, movieTag), 'move');

        // Tags the page adds later are replaced too: the control's class in
        // another letter case with a "URL" parameter, and an embed known by
        // its file name alone; both keep their id and size.
        await tab.evaluate((origin) => {
            document.body.insertAdjacentHTML('beforeend', `<object id="later" width="160" height="120"
                classid="CLSID:6b1d4e23-3c7a-4f15-9e2b-518c0d7a64f3"><param name="URL" value="${origin}/sample/movie.zel"></object>`);
            const embed = Object.assign(document.createElement('embed'), { id: 'named', src: 'movie.zel', width: 80 });
            document.body.append(embed);
        }, served.origin);
        assert.deepEqual(await waitFor(tab, '#later', 'zel-load'), { views: 72 });
        assert.deepEqual(await waitFor(tab, '#named', 'zel-load'), { views: 72 });
        const replaced = await tab.evaluate(() => ['later', 'named'].map((id) => {
            const element = document.getElementById(id);
            return [element.localName, element.dialect, element.getBoundingClientRect().width];
        }));
        assert.deepEqual(replaced, [['zel-movie', 'control', 160], ['zel-movie', 'plugin', 80]]);
        assert.deepEqual(tab.scriptErrors, []);
        await tab.close();
    } finally {
        await served.close();
    }
});
