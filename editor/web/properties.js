// properties.js - the properties panel, built from the FIELD descriptors the server sends
// (editor/API.md, "State"): the single selected node's fields, or the header's when nothing
// is selected. Each field commits on its own change; the server checks the value.
import { store, selectedIds, nodeById } from './state.js';
import * as actions from './actions.js';

const panel = () => document.getElementById('properties');
let shown = '';   // what the panel shows, to rebuild it only when that changes

// A node's FIELD objects: its kind's fields that its values name, in the kind's order,
// each with its value and its list of choices.
function nodeFields(node) {
    const heads = (store.state.kinds || {})[node.kind] || [{ key: 'title', label: 'Title', type: 'text' }];
    const choices = store.state.choices || {};
    return heads.filter((head) => Object.prototype.hasOwnProperty.call(node.values || {}, head.key))
        .map((head) => {
            const field = { ...head, value: node.values[head.key] };
            if (head.choices) field.options = choices[head.choices] || [];
            return field;
        });
}

export function render() {
    const box = panel();
    const ids = selectedIds();
    let target, fields;
    if (!store.state) return;
    if (ids.length === 0) {
        target = 'header';
        fields = store.state.header.fields;
    } else if (ids.length === 1 && nodeById(ids[0])) {
        target = 'node';
        fields = nodeFields(nodeById(ids[0]));
    } else {
        target = 'many';
        fields = [];
    }
    const key = JSON.stringify([target, ids, fields]);
    if (key === shown) return;
    shown = key;
    const focused = document.activeElement && box.contains(document.activeElement)
        ? document.activeElement.closest('[data-key]') : null;
    const focusKey = focused ? focused.dataset.key : null;
    // What is being typed in the focused text box survives the rebuild.
    const typing = focused && (document.activeElement.tagName === 'TEXTAREA' ||
        (document.activeElement.tagName === 'INPUT' && document.activeElement.type === 'text'))
        ? { value: document.activeElement.value, start: document.activeElement.selectionStart,
            end: document.activeElement.selectionEnd } : null;
    box.replaceChildren();
    box.dataset.target = target;
    if (target === 'many') {
        box.textContent = `${ids.length} nodes selected.`;
        return;
    }
    if (target === 'node') {
        const node = nodeById(ids[0]);
        const about = document.createElement('p');
        about.className = 'about';
        about.textContent = `${node.kind} ${node.id}`;
        box.appendChild(about);
    }
    const commit = (values) => target === 'header'
        ? actions.apply({ op: 'header', values })
        : actions.apply({ op: 'set', id: ids[0], values });
    for (const field of fields) box.appendChild(fieldElement(field, commit));
    if (focusKey) {
        const again = box.querySelector(`[data-key="${CSS.escape(focusKey)}"] input, [data-key="${CSS.escape(focusKey)}"] textarea, [data-key="${CSS.escape(focusKey)}"] select`);
        if (again) {
            again.focus();
            if (typing && (again.tagName === 'TEXTAREA' || again.type === 'text') && again.value !== typing.value) {
                again.value = typing.value;
                again.setSelectionRange(typing.start, typing.end);
            }
        }
    }
}

// F2: the title field, focused and selected.
export function focusTitle() {
    const input = panel().querySelector('[data-key="title"] input, [data-key="title"] textarea');
    if (input) { input.focus(); if (input.select) input.select(); }
}

function make(tag, attributes = {}, text) {
    const e = document.createElement(tag);
    for (const [k, v] of Object.entries(attributes)) e.setAttribute(k, v);
    if (text !== undefined) e.textContent = text;
    return e;
}

function fieldElement(field, commit) {
    const wrap = make('div', { class: `field ${field.type}` });
    wrap.dataset.key = field.key;
    const id = `field-${field.key}`;
    const label = make('label', { for: id }, field.label);
    const send = (value) => commit({ [field.key]: value });
    const bad = (why) => actions.showMessage(`${field.label}: ${why}`);
    let control;
    switch (field.type) {
    case 'text':
        control = make('input', { type: 'text', id });
        control.value = field.value ?? '';
        control.addEventListener('change', () => send(control.value));
        break;
    case 'multiline':
        control = make('textarea', { id, rows: 4 });
        control.value = field.value ?? '';
        control.addEventListener('change', () => send(control.value));
        break;
    case 'number':
    case 'integer':
        control = make('input', { type: 'text', id, inputmode: 'decimal' });
        control.value = field.value ?? '';
        control.addEventListener('change', () => {
            const v = Number(control.value.trim());
            if (control.value.trim() === '' || !Number.isFinite(v)) return bad('not a number.');
            if (field.type === 'integer' && !Number.isInteger(v)) return bad('not a whole number.');
            send(v);
        });
        break;
    case 'bool':
        control = make('input', { type: 'checkbox', id });
        control.checked = !!field.value;
        control.addEventListener('change', () => send(control.checked));
        wrap.append(control, label);
        return wrap;
    case 'choice':
        control = make('select', { id });
        for (const option of field.options || []) {
            const o = make('option', { value: JSON.stringify(option.value) }, option.label);
            if (option.value === field.value) o.selected = true;
            control.appendChild(o);
        }
        control.addEventListener('change', () => send(JSON.parse(control.value)));
        break;
    case 'numbers':
        control = make('input', { type: 'text', id, title: 'numbers separated by commas or spaces' });
        control.value = (field.value || []).join(', ');
        control.addEventListener('change', () => {
            const parts = control.value.split(/[\s,;]+/).filter((s) => s !== '');
            const values = parts.map(Number);
            if (values.some((v) => !Number.isFinite(v))) return bad('a list of numbers, separated by commas.');
            send(values);
        });
        break;
    case 'texts':
        control = make('textarea', { id, rows: 3, title: 'one per line' });
        control.value = (field.value || []).join('\n');
        control.addEventListener('change', () => send(control.value.split('\n').filter((s) => s !== '')));
        break;
    case 'grid':
        control = gridControl(field, send, bad);
        break;
    case 'criteria':
        control = criteriaControl(field, send, bad);
        break;
    default:
        control = make('span', {}, JSON.stringify(field.value));
    }
    wrap.append(label, control);
    return wrap;
}

function cellValue(text, type) {
    if (type === 'text') return text;
    const v = Number(text.trim());
    return text.trim() !== '' && Number.isFinite(v) ? v : null;
}

// A grid of cells with its size; any change sends the whole grid.
function gridControl(field, send, bad) {
    const value = field.value || { rows: 0, columns: 0, cells: [] };
    const type = field.cellType === 'text' ? 'text' : 'number';
    const box = make('div', { class: 'grid' });
    const size = make('div', { class: 'grid-size' });
    const rows = make('input', { type: 'text', 'data-part': 'rows', title: 'rows' });
    const columns = make('input', { type: 'text', 'data-part': 'columns', title: 'columns' });
    rows.value = value.rows;
    columns.value = value.columns;
    size.append('rows', rows, 'columns', columns);
    const table = make('table');
    value.cells.forEach((row, r) => {
        const tr = make('tr');
        row.forEach((cell, c) => {
            const input = make('input', { type: 'text', 'data-row': r, 'data-column': c });
            input.value = cell;
            tr.appendChild(make('td')).appendChild(input);
        });
        table.appendChild(tr);
    });
    const collect = () => {
        const R = Number(rows.value), C = Number(columns.value);
        if (!Number.isInteger(R) || !Number.isInteger(C) || R < 0 || C < 0) return bad('the size is not two whole numbers.');
        const cells = [];
        for (let r = 0; r < R; ++r) {
            const row = [];
            for (let c = 0; c < C; ++c) {
                const input = table.querySelector(`input[data-row="${r}"][data-column="${c}"]`);
                const v = input ? cellValue(input.value, type) : (type === 'text' ? '' : 0);
                if (v === null) return bad(`the cell in row ${r + 1}, column ${c + 1} is not a number.`);
                row.push(v);
            }
            cells.push(row);
        }
        send({ rows: R, columns: C, cells });
    };
    box.addEventListener('change', collect);
    box.append(size, table);
    return box;
}

// A criteria table: column titles, rows of cells with their output, and the default.
function criteriaControl(field, send, bad) {
    const value = field.value || { columnTitles: [], rows: [], default: 0 };
    let state = JSON.parse(JSON.stringify(value));
    const box = make('div', { class: 'criteria' });
    const table = make('table');
    const head = make('tr');
    state.columnTitles.forEach((title, c) => {
        const input = make('input', { type: 'text', 'data-title': c });
        input.value = title;
        head.appendChild(make('th')).appendChild(input);
    });
    head.appendChild(make('th', {}, 'output'));
    table.appendChild(head);
    state.rows.forEach((row, r) => {
        const tr = make('tr');
        row.cells.forEach((cell, c) => {
            const input = make('input', { type: 'text', 'data-row': r, 'data-column': c });
            input.value = cell;
            tr.appendChild(make('td')).appendChild(input);
        });
        const out = make('input', { type: 'text', 'data-row': r, 'data-output': '' });
        out.value = row.output;
        tr.appendChild(make('td')).appendChild(out);
        table.appendChild(tr);
    });
    const fallback = make('input', { type: 'text', 'data-part': 'default' });
    fallback.value = state.default;
    const read = () => {
        const next = { columnTitles: [], rows: [], default: Number(fallback.value) };
        if (!Number.isFinite(next.default) || fallback.value.trim() === '') { bad('the default is not a number.'); return null; }
        table.querySelectorAll('input[data-title]').forEach((i) => next.columnTitles.push(i.value));
        for (let r = 0; r < state.rows.length; ++r) {
            const cells = [];
            for (let c = 0; c < state.columnTitles.length; ++c)
                cells.push(table.querySelector(`input[data-row="${r}"][data-column="${c}"]`).value);
            const output = Number(table.querySelector(`input[data-row="${r}"][data-output]`).value);
            if (!Number.isFinite(output)) { bad(`the output of row ${r + 1} is not a number.`); return null; }
            next.rows.push({ cells, output });
        }
        return next;
    };
    box.addEventListener('change', (e) => {
        if (e.target.tagName !== 'INPUT') return;
        const next = read();
        if (next) send(next);
    });
    const button = (text, change) => {
        const b = make('button', { type: 'button' }, text);
        b.addEventListener('click', () => {
            const next = read();
            if (!next) return;
            change(next);
            send(next);
        });
        return b;
    };
    const tools = make('div', { class: 'criteria-tools' });
    tools.append(
        button('+ row', (n) => n.rows.push({ cells: n.columnTitles.map(() => ''), output: 0 })),
        button('− row', (n) => n.rows.pop()),
        button('+ column', (n) => { n.columnTitles.push(''); n.rows.forEach((r) => r.cells.push('')); }),
        button('− column', (n) => { n.columnTitles.pop(); n.rows.forEach((r) => r.cells.pop()); }));
    const defaults = make('label', {}, 'default ');
    defaults.appendChild(fallback);
    box.append(table, defaults, tools);
    return box;
}
