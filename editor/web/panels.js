// panels.js - the validator's problems and the script, both asked again after each change.
import * as api from './api.js';
import { store, select } from './state.js';

export async function refreshProblems() {
    const list = document.getElementById('problems');
    let doc;
    try {
        doc = await api.problems();
    } catch (e) {
        list.replaceChildren(item('', `The checks could not run: ${e.message}`));
        return;
    }
    const problems = Array.isArray(doc.problems) ? doc.problems : [];
    if (problems.length === 0) {
        const none = item('', 'No problems: the model is ready.');
        none.classList.add('none');
        list.replaceChildren(none);
        return;
    }
    list.replaceChildren(...problems.map((p) => {
        const li = item(p.code, p.message);
        li.classList.add(p.severity);
        li.dataset.code = p.code;
        li.dataset.nodes = (p.nodes || []).join(',');
        if (p.hint) li.title = p.hint;
        li.addEventListener('click', () => {
            if (p.nodes && p.nodes.length) select(p.nodes);
        });
        return li;
    }));
}

function item(code, text) {
    const li = document.createElement('li');
    if (code) {
        const c = document.createElement('span');
        c.className = 'code';
        c.textContent = code;
        li.appendChild(c);
    }
    li.appendChild(document.createTextNode(text));
    return li;
}

// The script with the prompts answered from the page's inputs, one per prompt reached.
export async function refreshScript() {
    const box = document.getElementById('script');
    const pre = box.querySelector('pre');
    const reason = box.querySelector('.reason');
    let answer;
    try {
        answer = await api.script(store.answers);
    } catch (e) {
        pre.textContent = '';
        reason.textContent = e.message;
        return;
    }
    pre.textContent = answer.script || '';
    reason.textContent = answer.complete ? '' : (answer.reason || 'The script stops at a prompt without an answer.');
    const answers = document.getElementById('answers');
    const prompts = answer.prompts || [];
    const inputs = [...answers.querySelectorAll('input')];
    const same = inputs.length === prompts.length &&
        inputs.every((input, i) => input.dataset.prompt === prompts[i]);
    if (same) return;
    const focused = inputs.indexOf(document.activeElement);
    answers.replaceChildren(...prompts.map((prompt, i) => {
        const label = document.createElement('label');
        label.textContent = prompt;
        const input = document.createElement('input');
        input.type = 'text';
        input.dataset.prompt = prompt;
        input.value = store.answers[i] ?? '';
        input.addEventListener('change', () => {
            const all = [...answers.querySelectorAll('input')].map((x) => x.value);
            // An answer left empty stops the script there, as a prompt without answer does.
            const upTo = all.findIndex((v) => v === '');
            store.answers = upTo < 0 ? all : all.slice(0, upTo);
            refreshScript();
        });
        label.appendChild(input);
        return label;
    }));
    if (focused >= 0 && answers.querySelectorAll('input')[focused]) answers.querySelectorAll('input')[focused].focus();
}
