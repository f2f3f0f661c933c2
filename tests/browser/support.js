// What the browser tests share: movies made by the native moviegen, a real HTTP
// server on 127.0.0.1 that records every request, Debian's Chromium driven
// through puppeteer-core, the canvas read back, and djpeg's decode of a view.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, existsSync } from 'node:fs';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import { extname, join, normalize, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import puppeteer from 'puppeteer-core';

export const root = resolve(fileURLToPath(new URL('../..', import.meta.url)));
const moviegen = process.env.ZEL_MOVIEGEN ?? join(root, 'build/native/tools/moviegen/moviegen');
export const stage = join(root, 'examples/zel');
export const kControlOrigin = 'http://127.0.0.1:8000';

const kTypes = {
    '.html': 'text/html; charset=utf-8',
    '.js': 'text/javascript',
    '.wasm': 'application/wasm',
    '.jpg': 'image/jpeg',
};

export function requireBuilds() {
    for (const file of [moviegen, join(stage, 'zel.js'), join(stage, 'zel.wasm')]) {
        if (!existsSync(file)) throw new Error(`${file} is missing: build the native and web presets first`);
    }
}

// A movie in a fresh folder; returns the folder and the description's lines.
export function makeMovie(...options) {
    const folder = mkdtempSync(join(tmpdir(), 'zel-browser-'));
    execFileSync(moviegen, ['--out', folder, ...options]);
    const lines = readFileSync(join(folder, 'movie.zel'), 'latin1').trim().split('\n');
    const views = lines.slice(1).map((line) => {
        const [name, ...slots] = line.trim().split(/\s+/);
        return { name, slots: slots.map(Number) };
    });
    return { folder, views, remove: () => rmSync(folder, { recursive: true, force: true }) };
}

// The view's pixels as djpeg decodes them: RGB rows.
export function djpeg(path) {
    const ppm = execFileSync('djpeg', ['-ppm', path]);
    const header = ppm.toString('latin1', 0, 64).match(/^P6\s+(\d+)\s+(\d+)\s+255\s/);
    return { width: Number(header[1]), height: Number(header[2]), rgb: ppm.subarray(header[0].length) };
}

// Rewrites a JPEG's frame header to claim another size.
export function claimSize(bytes, width, height) {
    const out = Buffer.from(bytes);
    for (let i = 2; i + 9 < out.length; ) {
        const marker = out[i + 1];
        if (marker >= 0xc0 && marker <= 0xc2) {
            out.writeUInt16BE(height, i + 5);
            out.writeUInt16BE(width, i + 7);
            return out;
        }
        i += 2 + out.readUInt16BE(i + 2);
    }
    throw new Error('no frame header');
}

// Serves `routes` (URL path prefix to folder) and `files` (URL path to bytes
// or a status); records each request's path, start and end. A `delay` holds
// every JPEG response, so requests in flight overlap visibly.
export async function startServer({ routes = {}, files = {}, delay = 0 } = {}) {
    const log = [];
    const server = createServer((request, response) => {
        const path = decodeURIComponent(new URL(request.url, 'http://x').pathname);
        const entry = { path, start: performance.now(), end: 0 };
        log.push(entry);
        const send = (status, body, type) => {
            response.writeHead(status, { 'Content-Type': type ?? 'application/octet-stream', 'Cache-Control': 'no-store' });
            response.end(body, () => {
                entry.end = performance.now();
            });
        };
        const answer = () => {
            const special = files[path];
            if (typeof special === 'number') return send(special, 'not here', 'text/plain');
            if (special) return send(200, special, kTypes[extname(path)]);
            const prefix = Object.keys(routes).find((p) => path.startsWith(p));
            const file = prefix && normalize(join(routes[prefix], path.slice(prefix.length)));
            if (!file || !file.startsWith(routes[prefix]) || !existsSync(file)) return send(404, 'not found', 'text/plain');
            send(200, readFileSync(file), kTypes[extname(file)]);
        };
        if (delay && path.endsWith('.jpg')) setTimeout(answer, delay).unref();
        else answer();
    });
    await new Promise((done) => server.listen(0, '127.0.0.1', done));
    const origin = `http://127.0.0.1:${server.address().port}`;
    return {
        origin,
        log,
        requestsFor: (suffix) => log.filter((entry) => entry.path.endsWith(suffix)),
        close: () => new Promise((done) => server.close(done)),
    };
}

export function launchChromium() {
    return puppeteer.launch({
        executablePath: '/usr/bin/chromium',
        headless: true,
        protocolTimeout: 30000,
        args: ['--no-sandbox', '--headless=new', '--disable-dev-shm-usage'],
    });
}

// A new page that records every zel- event from its start (so none fires
// unseen before a test waits for it) and collects its script errors.
export async function openPage(browser, url, { touch = false } = {}) {
    const page = await browser.newPage();
    const errors = [];
    page.on('pageerror', (error) => errors.push(error.message));
    await page.setViewport({ width: 1000, height: 800, hasTouch: touch });
    await page.evaluateOnNewDocument(() => {
        window.zelEvents = [];
        for (const type of ['zel-load', 'zel-error', 'zel-viewchange']) {
            document.addEventListener(type, (event) => window.zelEvents.push({ type, target: event.target, detail: event.detail }));
        }
    });
    await page.goto(url);
    page.scriptErrors = errors;
    return page;
}

// The detail of the first zel-load or zel-error of the element; fails when
// the other one came.
export async function waitFor(page, selector, type) {
    const handle = await page.waitForFunction(
        (selector) => {
            const movie = document.querySelector(selector);
            const event = window.zelEvents.find((e) => e.target === movie && e.type !== 'zel-viewchange');
            return event && { type: event.type, detail: event.detail };
        },
        { timeout: 20000 },
        selector,
    );
    const event = await handle.jsonValue();
    assert.equal(event.type, type, `${selector}: ${JSON.stringify(event.detail)}`);
    return event.detail;
}

// Two animation frames: whatever a step or an arrival made due is on the canvas.
export function settle(page) {
    return page.evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))));
}

export function canvasPixels(page, selector) {
    return page
        .evaluate((selector) => {
            const canvas = document.querySelector(selector).shadowRoot.querySelector('canvas');
            const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
            let text = '';
            for (let i = 0; i < data.length; i += 0x8000) text += String.fromCharCode(...data.subarray(i, i + 0x8000));
            return btoa(text);
        }, selector)
        .then((text) => Buffer.from(text, 'base64'));
}

// How many pixels of the canvas differ from the RGB rows, and whether every
// pixel is opaque.
export function differingPixels(rgba, rgb) {
    let differ = rgba.length / 4 === rgb.length / 3 ? 0 : Infinity;
    for (let i = 0, j = 0; i < rgba.length && j < rgb.length; i += 4, j += 3) {
        if (rgba[i] !== rgb[j] || rgba[i + 1] !== rgb[j + 1] || rgba[i + 2] !== rgb[j + 2] || rgba[i + 3] !== 255) ++differ;
    }
    return differ;
}

// The element's box on the page, for the mouse and the touch screen.
export async function boxOf(page, selector) {
    return (await page.$(selector)).boundingBox();
}

export function viewOf(page, selector) {
    return page.evaluate((selector) => document.querySelector(selector).currentView, selector);
}
