// keys.js - the keyboard: Delete, Ctrl+Z, Ctrl+Shift+Z, Ctrl+S, Ctrl+D, Ctrl+A, the arrows
// (an eighth of an inch, an inch with Shift), + and - for the zoom, F2 for the title.
import * as actions from './actions.js';
import { store, zoomStep } from './state.js';
import { palette } from './palette.js';
import { focusTitle } from './properties.js';

function typing(target) {
    return target && (target.tagName === 'INPUT' || target.tagName === 'TEXTAREA' ||
                      target.tagName === 'SELECT' || target.isContentEditable);
}

export function init() {
    document.addEventListener('keydown', (e) => {
        const ctrl = e.ctrlKey || e.metaKey;
        const key = e.key.length === 1 ? e.key.toLowerCase() : e.key;
        // Saving works everywhere; the rest leaves text fields their own keys.
        if (ctrl && key === 's') {
            e.preventDefault();
            if (typing(e.target)) e.target.dispatchEvent(new Event('change', { bubbles: true }));
            if (e.shiftKey) actions.saveAs(); else actions.save();
            return;
        }
        if (typing(e.target)) {
            if (e.key === 'Escape') e.target.blur();
            return;
        }
        let handled = true;
        if (ctrl && key === 'z' && e.shiftKey) actions.redo();
        else if (ctrl && key === 'y') actions.redo();
        else if (ctrl && key === 'z') actions.undo();
        else if (ctrl && key === 'd') actions.duplicateSelection();
        else if (ctrl && key === 'a') actions.selectAll();
        else if (ctrl) handled = false;
        else if (key === 'Delete' || key === 'Backspace') actions.deleteSelection();
        else if (key === 'ArrowLeft' || key === 'ArrowRight' || key === 'ArrowUp' || key === 'ArrowDown') {
            const step = e.shiftKey ? 1 : 0.125;
            const dx = key === 'ArrowLeft' ? -step : key === 'ArrowRight' ? step : 0;
            const dy = key === 'ArrowUp' ? -step : key === 'ArrowDown' ? step : 0;
            if (store.selection.size) actions.moveSelection(dx, dy); else handled = false;
        } else if (key === '+' || key === '=') zoomStep(1);
        else if (key === '-' || key === '_') zoomStep(-1);
        else if (key === 'F2') focusTitle();
        else if (key === 'Escape') palette.stopPlacing();
        else handled = false;
        if (handled) e.preventDefault();
    });
}
