// Loads the viewer module (zel.js and zel.wasm, staged beside these files) once
// per page. Every <zel-movie> shares the one instance and keeps a viewer of its
// own in it; each viewer's files live in a folder of their own.
let modulePromise = null;

export function loadZelModule() {
    if (!modulePromise) {
        modulePromise = import(new URL('./zel.js', import.meta.url).href)
            .then((exports) => exports.default())
            .then((module) => {
                module.FS.mkdir('/movies');
                return module;
            });
        // A failure is not kept: the next element tries again.
        modulePromise.catch(() => {
            modulePromise = null;
        });
    }
    return modulePromise;
}
