// diagram.js - the diagram: the library's own drawing as a PNG (api/picture.png) with an
// SVG overlay for what the pointer is doing (rubber band, drag outlines, the arrow being
// drawn). Node hits are found here from the state's boxes, in paper inches.
import * as api from './api.js';
import { store, PPI, select, selectedIds, nodeById } from './state.js';
import * as actions from './actions.js';
import { palette } from './palette.js';

const SVG = 'http://www.w3.org/2000/svg';
const DRAG_START = 3;   // pixels the pointer moves before a press becomes a drag

const area = () => document.getElementById('diagram');
const img = () => document.getElementById('picture');
const overlay = () => document.getElementById('overlay');

// The picture on screen: the whole picture's frame and the part of it drawn (both in the
// picture's own pixels, where paper inch (x, y) is pixel (x, y) * PPI * zoom * ratio), and
// the scale it was drawn at.
const shown = { frame: { x: 0, y: 0, width: 0, height: 0 }, clip: null, ratio: 1, zoom: 1, url: null };
let requested = 0;

// CSS pixels drawn around what the diagram shows, so that a short scroll needs no new picture.
const MARGIN = 96;

let latest = Promise.resolve();

// Draws the picture again for the current state, selection and zoom; resolves when the
// latest picture asked for is on screen.
export async function redraw() {
    let drawing = draw(++requested);
    latest = drawing;
    await drawing;
    while (drawing !== latest) {
        drawing = latest;
        await drawing;
    }
}

// Where the paper's origin stands on the sheet (CSS pixels): an inch in from the corner,
// or further when nodes lie left of or above the paper.
function originOf(frame, zoom, ratio) {
    return { x: Math.max(PPI * zoom, -frame.x / ratio), y: Math.max(PPI * zoom, -frame.y / ratio) };
}

// The part of the picture to ask for at zoom: what the diagram shows and a margin, in the
// picture's pixels. The origin is the last frame's, scaled to the new zoom.
function wantedClip(zoom, ratio) {
    const k = zoom / shown.zoom;
    const origin = originOf({ x: shown.frame.x / shown.ratio * k * ratio, y: shown.frame.y / shown.ratio * k * ratio },
                            zoom, ratio);
    const a = area();
    return {
        origin,
        x: Math.floor((a.scrollLeft - MARGIN - origin.x) * ratio),
        y: Math.floor((a.scrollTop - MARGIN - origin.y) * ratio),
        width: Math.ceil((a.clientWidth + 2 * MARGIN) * ratio),
        height: Math.ceil((a.clientHeight + 2 * MARGIN) * ratio),
    };
}

// Whether the picture on screen holds all of the frame that the diagram shows.
function covered() {
    if (!shown.clip) return false;
    const a = area(), r = shown.ratio, origin = originOf(shown.frame, shown.zoom, r), f = shown.frame, c = shown.clip;
    const left = Math.max(f.x, (a.scrollLeft - origin.x) * r), right = Math.min(f.x + f.width, (a.scrollLeft + a.clientWidth - origin.x) * r);
    const top = Math.max(f.y, (a.scrollTop - origin.y) * r), bottom = Math.min(f.y + f.height, (a.scrollTop + a.clientHeight - origin.y) * r);
    if (right <= left || bottom <= top) return true;
    return left >= c.x - 1 && right <= c.x + c.width + 1 && top >= c.y - 1 && bottom <= c.y + c.height + 1;
}

// A new picture once per frame at most, when scrolling or resizing shows what is not drawn.
let pending = false;
function redrawWhenUncovered() {
    if (pending || covered()) return;
    pending = true;
    requestAnimationFrame(() => { pending = false; if (!covered()) redraw(); });
}

// A picture asked for together with an edit: the server draws it the moment the edit is
// done, and it is shown when the edit's state arrives if it shows that revision and is the
// picture the page would ask for then. {key, answer} or null.
let early = null;

function pictureKey(zoom, ratio, selected, want) {
    return [zoom, ratio, selected.join(','), want.x, want.y, want.width, want.height].join(' ');
}

// Asks for the picture that will follow the edit sent with ticket.
export function drawAfter(ticket) {
    dropEarly();
    if (!store.state) return;
    const selected = selectedIds(), ratio = window.devicePixelRatio || 1, zoom = store.zoom;
    const want = wantedClip(zoom, ratio);
    const answer = api.picture(+(zoom * ratio).toFixed(4), PPI, selected, want, ticket).catch(() => null);
    early = { key: pictureKey(zoom, ratio, selected, want), answer };
}

// Forgets the picture asked for with an edit (the edit failed, or another came first).
export function dropEarly() {
    if (!early) return;
    early.answer.then((result) => { if (result) URL.revokeObjectURL(result.url); });
    early = null;
}

// The early picture when it is the one wanted now and shows the state's revision, else null.
async function takeEarly(key) {
    if (!early || early.key !== key) { dropEarly(); return null; }
    const answer = early.answer;
    early = null;
    const result = await answer;
    if (result && store.state && result.revision === store.state.revision) return result;
    if (result) URL.revokeObjectURL(result.url);
    return null;
}

async function draw(ticket) {
    const selected = selectedIds();
    const ratio = window.devicePixelRatio || 1;
    const zoom = store.zoom;
    const want = wantedClip(zoom, ratio);
    let result = await takeEarly(pictureKey(zoom, ratio, selected, want));
    if (!result) {
        try {
            result = await api.picture(+(zoom * ratio).toFixed(4), PPI, selected, want);
        } catch (e) {
            actions.showMessage(e.message);
            return;
        }
    }
    if (ticket !== requested) { URL.revokeObjectURL(result.url); return; }
    const image = img();
    await new Promise((resolve) => {
        image.onload = resolve;
        image.onerror = resolve;
        image.src = result.url;
    });
    if (shown.url) URL.revokeObjectURL(shown.url);
    const frame = result.frame, clip = result.clip;
    Object.assign(shown, { frame, clip, ratio, zoom, url: result.url });
    // How the picture maps paper inches, for whoever reads the page (the browser tests).
    image.dataset.frame = [frame.x, frame.y, frame.width, frame.height].join(',');
    image.dataset.clip = [clip.x, clip.y, clip.width, clip.height].join(',');
    image.dataset.scale = String(PPI * zoom * ratio);
    image.dataset.ratio = String(ratio);
    image.dataset.select = selected.join(',');
    // The paper's origin stays where it is on screen while the frame follows the nodes; the
    // overlay spans the whole frame, the picture the part drawn.
    const origin = originOf(frame, zoom, ratio);
    const place = (e, r) => {
        e.style.left = `${origin.x + r.x / ratio}px`;
        e.style.top = `${origin.y + r.y / ratio}px`;
        e.style.width = `${r.width / ratio}px`;
        e.style.height = `${r.height / ratio}px`;
    };
    place(image, clip);
    const svg = overlay();
    place(svg, frame);
    svg.setAttribute('width', frame.width / ratio);
    svg.setAttribute('height', frame.height / ratio);
    const sheet = document.getElementById('sheet');
    sheet.style.width = `${origin.x + (frame.x + frame.width) / ratio + 200}px`;
    sheet.style.height = `${origin.y + (frame.y + frame.height) / ratio + 200}px`;
    drawHandles();
    // The origin moved (nodes left of the paper) or the sheet's new size moved the scroll:
    // what shows may not be drawn yet.
    redrawWhenUncovered();
}

// Paper inches of a pointer event, and the overlay's pixels of paper inches.
export function toPaper(event) {
    const r = overlay().getBoundingClientRect();
    const scale = PPI * shown.zoom * shown.ratio;
    return {
        x: ((event.clientX - r.left) * shown.ratio + shown.frame.x) / scale,
        y: ((event.clientY - r.top) * shown.ratio + shown.frame.y) / scale,
    };
}

function toPixels(x, y) {
    const scale = PPI * shown.zoom * shown.ratio;
    return { x: (x * scale - shown.frame.x) / shown.ratio, y: (y * scale - shown.frame.y) / shown.ratio };
}

function boxPixels(box, dx = 0, dy = 0) {
    const a = toPixels(box.left + dx, box.top + dy), b = toPixels(box.right + dx, box.bottom + dy);
    return { x: Math.min(a.x, b.x), y: Math.min(a.y, b.y), w: Math.abs(b.x - a.x), h: Math.abs(b.y - a.y) };
}

// The node under a point in paper inches (the last drawn wins), or undefined.
export function nodeAt(p) {
    if (!store.state) return undefined;
    const nodes = store.state.nodes;
    for (let i = nodes.length - 1; i >= 0; --i) {
        const b = nodes[i].box;
        if (p.x >= Math.min(b.left, b.right) && p.x <= Math.max(b.left, b.right) &&
            p.y >= Math.min(b.top, b.bottom) && p.y <= Math.max(b.top, b.bottom))
            return nodes[i];
    }
    return undefined;
}

function element(name, attributes, parent = overlay()) {
    const e = document.createElementNS(SVG, name);
    for (const [k, v] of Object.entries(attributes)) e.setAttribute(k, v);
    parent.appendChild(e);
    return e;
}

function clearOverlay(keepHandles = false) {
    for (const e of [...overlay().children])
        if (!(keepHandles && e.classList.contains('connect-handle'))) e.remove();
}

// The connect handle at the right edge of a single selected node.
export function drawHandles() {
    for (const e of overlay().querySelectorAll('.connect-handle')) e.remove();
    const ids = selectedIds();
    if (ids.length !== 1) return;
    const node = nodeById(ids[0]);
    if (!node) return;
    const r = boxPixels(node.box);
    const handle = element('circle', { class: 'connect-handle', cx: r.x + r.w, cy: r.y + r.h / 2, r: 6 });
    handle.dataset.node = node.id;
}

// One press on the diagram, followed to its release.
function press(event) {
    if (event.button !== 0) return;
    event.preventDefault();
    area().focus({ preventScroll: true });
    const start = toPaper(event);
    const sx = event.clientX, sy = event.clientY;
    const placing = palette.placing;
    if (placing) {
        palette.stopPlacing();
        actions.addNode(placing, start.x, start.y);
        return;
    }
    const handle = event.target.closest && event.target.closest('.connect-handle');
    const hit = handle ? nodeById(Number(handle.dataset.node)) : nodeAt(start);
    let mode;
    if (hit && (handle || event.altKey)) mode = 'arrow';
    else if (hit && event.shiftKey) { select([hit.id], 'toggle'); return; }
    else if (hit) {
        mode = 'move';
        if (!store.selection.has(hit.id)) select([hit.id]);
    } else mode = 'band';
    let dragging = false;
    const moving = (e) => {
        if (!dragging && Math.hypot(e.clientX - sx, e.clientY - sy) < DRAG_START) return;
        dragging = true;
        const p = toPaper(e);
        clearOverlay(mode !== 'arrow');
        if (mode === 'move') {
            for (const id of selectedIds()) {
                const r = boxPixels(nodeById(id).box, p.x - start.x, p.y - start.y);
                element('rect', { class: 'outline', x: r.x, y: r.y, width: r.w, height: r.h });
            }
        } else if (mode === 'band') {
            const a = toPixels(start.x, start.y), b = toPixels(p.x, p.y);
            element('rect', { class: 'band', x: Math.min(a.x, b.x), y: Math.min(a.y, b.y),
                              width: Math.abs(b.x - a.x), height: Math.abs(b.y - a.y) });
        } else {
            const r = boxPixels(hit.box), b = toPixels(p.x, p.y);
            element('line', { class: 'wire', x1: r.x + r.w, y1: r.y + r.h / 2, x2: b.x, y2: b.y });
            const target = nodeAt(p);
            if (target && target.id !== hit.id) {
                const t = boxPixels(target.box);
                element('rect', { class: 'outline', x: t.x, y: t.y, width: t.w, height: t.h });
            }
        }
    };
    const release = (e) => {
        document.removeEventListener('mousemove', moving);
        document.removeEventListener('mouseup', release);
        clearOverlay();
        drawHandles();
        const p = toPaper(e);
        if (mode === 'move') {
            if (dragging) actions.moveSelection(p.x - start.x, p.y - start.y);
            else if (store.selection.size > 1) select([hit.id]);
        } else if (mode === 'band') {
            if (!dragging) { if (!event.shiftKey) select([]); return; }
            const left = Math.min(start.x, p.x), right = Math.max(start.x, p.x);
            const top = Math.min(start.y, p.y), bottom = Math.max(start.y, p.y);
            const inside = store.state.nodes.filter((n) => {
                const b = n.box;
                return Math.max(b.left, b.right) >= left && Math.min(b.left, b.right) <= right &&
                       Math.max(b.top, b.bottom) >= top && Math.min(b.top, b.bottom) <= bottom;
            }).map((n) => n.id);
            select(inside, event.shiftKey ? 'add' : 'replace');
        } else if (mode === 'arrow') {
            const target = nodeAt(p);
            if (target && target.id !== hit.id) actions.connect(hit.id, target.id);
        }
    };
    document.addEventListener('mousemove', moving);
    document.addEventListener('mouseup', release);
}

export function init() {
    const a = area();
    a.addEventListener('mousedown', press);
    a.addEventListener('scroll', redrawWhenUncovered);
    window.addEventListener('resize', redrawWhenUncovered);
    img().addEventListener('dragstart', (e) => e.preventDefault());
}
