// actions.js - changing the model: every operation goes to the server, whose answer becomes
// the page's state; a refusal shows its sentence in #message.
import * as api from './api.js';
import * as diagram from './diagram.js';
import { store, setState, select, selectedIds } from './state.js';

const messageBox = () => document.getElementById('message');

export function showMessage(text, isError = true) {
    const box = messageBox();
    box.textContent = text;
    box.classList.toggle('error', isError && text !== '');
}

export function clearMessage() { showMessage('', false); }

// Edits go one at a time, in the order they were asked for: an operation made from the
// state (a move by arrow keys) is made when its turn comes, from the state then.
let queue = Promise.resolve();

// Sends one edit operation (or a function making it, null for none); returns the answer,
// or null when it was refused.
export function apply(operation) {
    const turn = queue.then(() => send(typeof operation === 'function' ? operation() : operation));
    queue = turn.catch(() => null);
    return turn;
}

// Every edit carries a ticket of this page's own, and the new picture is asked for at once
// with it: the server draws it while the page reads the edit's answer.
const pageKey = Array.from(crypto.getRandomValues(new Uint8Array(6)), (b) => b.toString(16).padStart(2, '0')).join('');
let edits = 0;

async function send(operation) {
    if (!operation) return null;
    const ticket = `${pageKey}-${++edits}`;
    diagram.drawAfter(ticket);
    try {
        const answer = await api.edit(operation, ticket);
        clearMessage();
        setState(answer.state);
        return answer;
    } catch (e) {
        diagram.dropEarly();
        showMessage(e.message);
        return null;
    }
}

export async function reload() {
    try {
        setState(await api.getState());
    } catch (e) {
        showMessage(e.message);
    }
}

export async function addNode(kind, x, y) {
    const answer = await apply({ op: 'add', kind, x: round(Math.max(0, x)), y: round(Math.max(0, y)) });
    if (answer && answer.added !== undefined) select([answer.added]);
}

export async function moveSelection(dx, dy) {
    await apply(() => {
        const moves = selectedIds().map((id) => store.state.nodes.find((n) => n.id === id))
            .filter((node) => node).map((node) => ({ id: node.id, x: round(node.x + dx), y: round(node.y + dy) }));
        return moves.length ? { op: 'move', moves } : null;
    });
}

export async function deleteSelection() {
    const ids = selectedIds();
    if (ids.length) await apply({ op: 'delete', ids });
}

export async function duplicateSelection() {
    const ids = selectedIds();
    if (!ids.length) return;
    const answer = await apply({ op: 'duplicate', ids });
    if (answer && Array.isArray(answer.added)) select(answer.added);
}

export async function connect(from, to) {
    if (from !== to) await apply({ op: 'connect', from, to });
}

export const undo = () => apply({ op: 'undo' });
export const redo = () => apply({ op: 'redo' });
export const layout = () => apply({ op: 'layout' });

export function selectAll() {
    if (store.state) select(store.state.nodes.map((n) => n.id));
}

// Saves; a file changed on disk since it was read is overwritten only when the user says so.
export async function save() {
    try {
        await api.save(false);
    } catch (e) {
        if (!(e.body && e.body.conflict)) return showMessage(e.message);
        if (!window.confirm(`${e.message}\nOverwrite it with the editor's model?`)) return;
        try { await api.save(true); } catch (e2) { return showMessage(e2.message); }
    }
    showMessage('Saved.', false);
    await reloadQuietly();
}

export async function saveAs() {
    const current = store.state ? store.state.file : '';
    const path = window.prompt('Save the model as (a path on the computer running vmod edit):', current);
    if (!path) return;
    try {
        await api.saveAs(path, false);
    } catch (e) {
        if (e.status !== 409) return showMessage(e.message);
        if (!window.confirm(`${e.message}\nReplace it?`)) return;
        try { await api.saveAs(path, true); } catch (e2) { return showMessage(e2.message); }
    }
    showMessage('Saved.', false);
    await reloadQuietly();
}

async function reloadQuietly() {
    try { setState(await api.getState()); } catch (e) { showMessage(e.message); }
}

// Paper inches are sent to the sixteenth of an inch: the file keeps them short.
function round(v) { return Math.round(v * 16) / 16; }
