// The drop-in script: one <script type="module" src=".../dropin.js"> line makes
// an old page's movies play. Each <embed> of the plug-in's type (or whose src
// ends in .zel or .ser) becomes <zel-movie dialect="plugin">, and each <object>
// of the control's class with a Url parameter becomes <zel-movie
// dialect="control">, now and whenever the page adds one later.
import './zel-movie.js';

const kPluginType = 'application/x-zelscope';
const kControlClassId = 'clsid:6b1d4e23-3c7a-4f15-9e2b-518c0d7a64f3';
const kKeptAttributes = ['width', 'height', 'id', 'class', 'style', 'title', 'alt'];

function isMovieEmbed(embed) {
    if ((embed.getAttribute('type') ?? '').trim().toLowerCase() === kPluginType) return true;
    const src = embed.getAttribute('src') ?? '';
    return /\.(zel|ser)$/i.test(src.replace(/[?#].*$/, ''));
}

// The control's Url parameter, or null when this is not the control's object.
function controlUrl(object) {
    if ((object.getAttribute('classid') ?? '').trim().toLowerCase() !== kControlClassId) return null;
    for (const param of object.querySelectorAll(':scope > param')) {
        if ((param.getAttribute('name') ?? '').toLowerCase() === 'url') return param.getAttribute('value') ?? '';
    }
    return null;
}

function replaceWithMovie(old, src, dialect) {
    const movie = document.createElement('zel-movie');
    movie.setAttribute('dialect', dialect);
    for (const name of kKeptAttributes) {
        if (old.hasAttribute(name)) movie.setAttribute(name, old.getAttribute(name));
    }
    movie.setAttribute('src', src);
    old.replaceWith(movie);
}

// Objects first: an old page often nests the plug-in's <embed> inside the
// control's <object>, and the object's movie stands for both.
function replaceWithin(root) {
    const objects = root.matches?.('object') ? [root] : [...root.querySelectorAll('object')];
    for (const object of objects) {
        const url = controlUrl(object);
        if (url !== null && object.isConnected) replaceWithMovie(object, url, 'control');
    }
    const embeds = root.matches?.('embed') ? [root] : [...root.querySelectorAll('embed')];
    for (const embed of embeds) {
        if (embed.isConnected && isMovieEmbed(embed)) {
            replaceWithMovie(embed, new URL(embed.getAttribute('src') ?? '', document.baseURI).href, 'plugin');
        }
    }
}

replaceWithin(document);
new MutationObserver((records) => {
    for (const record of records) {
        for (const node of record.addedNodes) {
            if (node.nodeType !== Node.ELEMENT_NODE) continue;
            // A <param> added to an object already in the page completes it.
            replaceWithin(node.localName === 'param' && node.parentElement ? node.parentElement : node);
        }
    }
}).observe(document.documentElement, { childList: true, subtree: true });
