// The main job's web part without a display: serves examples/ on 127.0.0.1,
// opens the three sample pages in headless Chromium, drags each movie a
// quarter turn and writes a screenshot before and after into the folder given
// (node scripts/web-demo.mjs build/demo). control.html names port 8000 in its
// Url, as the control needs a full address; served here on another port, the
// page's Url is given its own server's address instead (the prose keeps 8000).
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import {
    boxOf, kControlOrigin, launchChromium, openPage, requireBuilds, root, settle, startServer, viewOf, waitFor,
} from '../tests/browser/support.js';

const out = process.argv[2];
requireBuilds();
const files = {};
const server = await startServer({ routes: { '/': join(root, 'examples') + '/' }, files });
files['/sample/control.html'] = readFileSync(join(root, 'examples/sample/control.html'), 'utf8')
    .replace(`value="${kControlOrigin}/`, `value="${server.origin}/`);
const browser = await launchChromium();
try {
    for (const name of ['index', 'control', 'element']) {
        const tab = await openPage(browser, `${server.origin}/sample/${name}.html`);
        const detail = await waitFor(tab, 'zel-movie', 'zel-load');
        await settle(tab);
        await tab.screenshot({ path: join(out, `web-${name}-before.png`) });
        const box = await boxOf(tab, 'zel-movie');
        await tab.mouse.move(box.x + box.width * 0.2, box.y + box.height / 2);
        await tab.mouse.down();
        await tab.mouse.move(box.x + box.width * 0.7, box.y + box.height / 2, { steps: 6 });
        await tab.mouse.up();
        await settle(tab);
        await tab.screenshot({ path: join(out, `web-${name}-after.png`) });
        const view = await viewOf(tab, 'zel-movie');
        const errors = tab.scriptErrors.length ? `, script errors: ${tab.scriptErrors.join('; ')}` : '';
        console.log(`${name}.html: ${detail.views} views loaded, dragged to view ${view}${errors}`);
        if (errors) process.exitCode = 1;
        await tab.close();
    }
} finally {
    await browser.close();
    await server.close();
}
