// palette.js - the eight node kinds. A click arms a kind and the next click on the diagram
// places it; a drag from a kind onto the diagram places it where it is dropped.
import * as actions from './actions.js';

export const KINDS = [
    ['raster', 'Raster'], ['vector', 'Vector'], ['matrix', 'Matrix'], ['table', 'Table'],
    ['scalar', 'Scalar'], ['function', 'Function'], ['criteria', 'Criteria'], ['text', 'Text'],
];

export const palette = {
    placing: null,
    startPlacing(kind) {
        this.placing = kind;
        for (const b of document.querySelectorAll('#palette button'))
            b.classList.toggle('placing', b.dataset.kind === kind);
        document.getElementById('diagram').classList.add('placing');
    },
    stopPlacing() {
        this.placing = null;
        for (const b of document.querySelectorAll('#palette button.placing')) b.classList.remove('placing');
        document.getElementById('diagram').classList.remove('placing');
    },
};

// Drags are followed with mouse events rather than HTML drag and drop, so that a drop lands
// at the pointer exactly and automated browsers can do it too.
function press(event, kind, paperAt) {
    if (event.button !== 0) return;
    event.preventDefault();
    const sx = event.clientX, sy = event.clientY;
    let ghost = null;
    const moving = (e) => {
        if (!ghost && Math.hypot(e.clientX - sx, e.clientY - sy) < 4) return;
        if (!ghost) {
            ghost = document.createElement('div');
            ghost.textContent = kind;
            ghost.style.cssText = 'position:fixed;pointer-events:none;padding:2px 6px;' +
                'background:#cfe3ff;border:1px solid #2a6fdb;border-radius:3px;z-index:10';
            document.body.appendChild(ghost);
        }
        ghost.style.left = `${e.clientX + 6}px`;
        ghost.style.top = `${e.clientY + 6}px`;
    };
    const release = (e) => {
        document.removeEventListener('mousemove', moving);
        document.removeEventListener('mouseup', release);
        if (!ghost) {
            if (palette.placing === kind) palette.stopPlacing(); else palette.startPlacing(kind);
            return;
        }
        ghost.remove();
        const diagram = document.getElementById('diagram').getBoundingClientRect();
        if (e.clientX >= diagram.left && e.clientX <= diagram.right &&
            e.clientY >= diagram.top && e.clientY <= diagram.bottom) {
            palette.stopPlacing();
            const p = paperAt(e);
            actions.addNode(kind, p.x, p.y);
        }
    };
    document.addEventListener('mousemove', moving);
    document.addEventListener('mouseup', release);
}

export function init(paperAt) {
    const box = document.getElementById('palette');
    for (const [kind, label] of KINDS) {
        const b = document.createElement('button');
        b.type = 'button';
        b.dataset.kind = kind;
        b.textContent = label;
        b.title = `Add a ${kind} node: click here then on the diagram, or drag it there`;
        b.addEventListener('mousedown', (e) => press(e, kind, paperAt));
        // A click from the keyboard (no pointer press) arms the kind.
        b.addEventListener('click', (e) => { if (e.detail === 0) palette.startPlacing(kind); });
        box.appendChild(b);
    }
}
