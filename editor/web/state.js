// state.js - what the page knows: the server's last state, the selection, the zoom, and
// who wants to hear when they change.

export const PPI = 96;                  // pixels per inch at zoom 1, as `vmod render` draws
export const ZOOMS = [0.25, 0.5, 0.75, 1, 1.25, 1.5, 2, 3, 4];

export const store = {
    state: null,            // the server's state (editor/API.md)
    selection: new Set(),   // node identifiers
    zoom: 1,
    answers: [],            // the script's prompt answers, in order
};

const listeners = { state: [], selection: [], zoom: [] };

export function on(what, fn) { listeners[what].push(fn); }
function emit(what) { for (const fn of listeners[what]) fn(); }

export function nodeById(id) {
    return store.state ? store.state.nodes.find((n) => n.id === id) : undefined;
}

// A new state from the server; nodes that went away leave the selection.
export function setState(state) {
    store.state = state;
    const ids = new Set(state.nodes.map((n) => n.id));
    let changed = false;
    for (const id of [...store.selection])
        if (!ids.has(id)) { store.selection.delete(id); changed = true; }
    emit('state');
    if (changed) emit('selection');
}

// Selection changes: replace, add to, or toggle.
export function select(ids, mode = 'replace') {
    const before = [...store.selection].sort().join(',');
    if (mode === 'replace') store.selection = new Set(ids);
    else if (mode === 'add') for (const id of ids) store.selection.add(id);
    else if (mode === 'toggle') for (const id of ids) {
        if (store.selection.has(id)) store.selection.delete(id); else store.selection.add(id);
    }
    if ([...store.selection].sort().join(',') !== before) emit('selection');
}

export function selectedIds() {
    return [...store.selection].sort((a, b) => a - b);
}

export function setZoom(zoom) {
    const z = Math.min(ZOOMS[ZOOMS.length - 1], Math.max(ZOOMS[0], zoom));
    if (z === store.zoom) return;
    store.zoom = z;
    emit('zoom');
}

export function zoomStep(direction) {
    const i = ZOOMS.findIndex((z) => z >= store.zoom - 1e-9);
    const at = i < 0 ? ZOOMS.length - 1 : i;
    const next = direction > 0 ? (ZOOMS[at] > store.zoom + 1e-9 ? at : at + 1) : at - 1;
    setZoom(ZOOMS[Math.max(0, Math.min(ZOOMS.length - 1, next))]);
}
