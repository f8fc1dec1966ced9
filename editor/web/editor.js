// editor.js - the editor page's entry: wires the palette, the diagram, the panels and the
// toolbar to the state, and marks each revision once all of it shows that revision.
import * as api from './api.js';
import * as actions from './actions.js';
import * as diagram from './diagram.js';
import * as palette from './palette.js';
import * as properties from './properties.js';
import * as panels from './panels.js';
import * as keys from './keys.js';
import { store, on, zoomStep, selectedIds } from './state.js';

let latest = 0;

// After a new state: picture, problems and script again; then the revision is "drawn".
async function stateChanged() {
    const state = store.state;
    const ticket = ++latest;
    // The picture is asked for first: the server answers one request at a time, and the
    // drawing is what the user waits for; the page's own work is done while it is drawn.
    const drawing = diagram.redraw();
    showFile(state);
    properties.render();
    await drawing;
    if (ticket !== latest) return;
    // The panels' answers wait until the new picture has been painted: reading and
    // showing them must not hold it back.
    await afterPaint();
    if (ticket !== latest) return;
    await Promise.all([panels.refreshProblems(), panels.refreshScript()]);
    if (ticket === latest) document.body.dataset.revision = String(state.revision);
}

// Resolves once the browser has painted what the page shows now: a frame's callback runs
// before its paint, and a task it queues runs after.
const afterPaint = () => new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve, 0)));

function showFile(state) {
    const name = document.getElementById('file-name');
    name.textContent = state.file ? state.file.split('/').pop() : '(new model)';
    name.title = state.file || '';
    name.classList.toggle('dirty', !!state.dirty);
    document.title = `${state.dirty ? '• ' : ''}${name.textContent} - vmod edit`;
    document.getElementById('undo').disabled = !state.canUndo;
    document.getElementById('redo').disabled = !state.canRedo;
}

function selectionChanged() {
    properties.render();
    const none = selectedIds().length === 0;
    document.getElementById('duplicate').disabled = none;
    document.getElementById('delete').disabled = none;
    if (!store.state) return;
    diagram.drawHandles();
    diagram.redraw();
}

function zoomChanged() {
    document.getElementById('zoom-level').textContent = `${Math.round(store.zoom * 100)}%`;
    if (store.state) diagram.redraw();
}

// The model's name for downloads: its file's name without the extension.
function exportName() {
    const file = store.state && store.state.file ? store.state.file.split('/').pop() : 'model';
    return file.replace(/\.[^.]*$/, '') || 'model';
}

function download(extension, query) {
    const a = document.createElement('a');
    a.href = api.exportUrl(exportName(), extension, query);
    a.download = `${exportName()}.${extension}`;
    document.body.appendChild(a);
    a.click();
    a.remove();
}

async function quit() {
    try {
        await api.quit(false);
    } catch (e) {
        if (e.status !== 409) return actions.showMessage(e.message);
        if (!window.confirm(`${e.message}\nQuit and drop the unsaved changes?`)) return;
        try { await api.quit(true); } catch (e2) { return actions.showMessage(e2.message); }
    }
    store.state.dirty = false;
    document.body.replaceChildren(document.createTextNode('The editor has stopped; this page can be closed.'));
}

// A recovery copy from a session that ended without saving is offered once, at start.
async function offerRecovery() {
    let answer;
    try { answer = await api.recovery(); } catch (e) { return; }
    if (!answer.available) return;
    const when = answer.saved ? ` (from ${answer.saved})` : '';
    const restore = window.confirm(`The editor stopped last time with changes that were not saved${when}. Restore them?`);
    try {
        await api.recoveryAction(restore ? 'restore' : 'discard');
        await actions.reload();
    } catch (e) {
        actions.showMessage(e.message);
    }
}

function button(id, fn) {
    document.getElementById(id).addEventListener('click', fn);
}

async function start() {
    on('state', stateChanged);
    on('selection', selectionChanged);
    on('zoom', zoomChanged);
    diagram.init();
    palette.init(diagram.toPaper);
    keys.init();
    button('undo', actions.undo);
    button('redo', actions.redo);
    button('save', actions.save);
    button('saveas', actions.saveAs);
    button('duplicate', actions.duplicateSelection);
    button('delete', actions.deleteSelection);
    button('layout', actions.layout);
    button('zoom-in', () => zoomStep(1));
    button('zoom-out', () => zoomStep(-1));
    button('export-png', () => download('png', `zoom=${store.zoom}`));
    button('export-eps', () => download('eps'));
    button('export-svg', () => download('svg'));
    button('export-pdf', () => {
        const pages = window.prompt('Pages to export (for example 1-2; empty for all):', '');
        if (pages === null) return;
        download('pdf', pages.trim() ? `pages=${encodeURIComponent(pages.trim())}` : '');
    });
    button('quit', quit);
    window.addEventListener('beforeunload', (e) => {
        if (store.state && store.state.dirty) {
            e.preventDefault();
            e.returnValue = '';
        }
    });
    selectionChanged();
    await actions.reload();
    await offerRecovery();
}

start();
