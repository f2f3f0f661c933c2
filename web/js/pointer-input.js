// Pointer and key input for a movie: mouse, touch and pen through Pointer
// Events, turned into the viewer's drag in picture pixels, and the arrow keys
// as single steps. The drag's arithmetic is the viewer's own; this only says
// where the pointer is on the picture, whatever size CSS gives the canvas.
const kKeySlots = { ArrowDown: 1, ArrowUp: 2, ArrowRight: 3, ArrowLeft: 4 };

// Client coordinates to the picture's pixels, through the canvas's box.
export function picturePoint(canvas, clientX, clientY) {
    const box = canvas.getBoundingClientRect();
    if (box.width <= 0 || box.height <= 0) return null;
    return {
        x: Math.floor(((clientX - box.left) * canvas.width) / box.width),
        y: Math.floor(((clientY - box.top) * canvas.height) / box.height),
    };
}

// Listens on `target` (the element) for input over `canvas`; `viewer()` gives
// the current viewer or null, `onChange` runs after every call into it. The
// listeners live as long as the element and its canvas.
export function attachInput(target, canvas, viewer, onChange) {
    let dragging = null;

    const forward = (event, act) => {
        const current = viewer();
        const point = picturePoint(canvas, event.clientX, event.clientY);
        if (!current || !point) return;
        act(current, point);
        onChange();
    };

    const down = (event) => {
        if (dragging !== null || (event.pointerType === 'mouse' && event.button !== 0)) return;
        dragging = event.pointerId;
        canvas.setPointerCapture(event.pointerId);
        forward(event, (current, { x, y }) => current.dragStart(x, y));
    };
    const move = (event) => {
        if (event.pointerId !== dragging) return;
        // A press of another button during the drag does not start a new
        // one; the movement counts while the first button (or contact) holds.
        const held = (event.buttons & 1) !== 0;
        forward(event, (current, { x, y }) => current.dragMove(x, y, held));
    };
    const up = (event) => {
        if (event.pointerId === dragging) dragging = null;
    };
    const key = (event) => {
        const slot = kKeySlots[event.key];
        const current = viewer();
        if (!slot || !current || event.altKey || event.ctrlKey || event.metaKey) return;
        event.preventDefault();
        current.keyStep(slot);
        onChange();
    };

    canvas.addEventListener('pointerdown', down);
    canvas.addEventListener('pointermove', move);
    canvas.addEventListener('pointerup', up);
    canvas.addEventListener('pointercancel', up);
    canvas.addEventListener('lostpointercapture', up);
    target.addEventListener('keydown', key);
}
