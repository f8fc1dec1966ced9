// api.js - the server's interface (editor/API.md): every request the page makes. Paths are
// relative, so the page works under whatever /t/TOKEN/ it was served from.

// A refusal or failure: message is the server's sentence; body the whole answer.
export class ApiError extends Error {
    constructor(message, status, body) {
        super(message);
        this.status = status;
        this.body = body || {};
    }
}

async function call(method, path, body) {
    const init = { method, headers: {} };
    if (body !== undefined) {
        init.headers['Content-Type'] = 'application/json';
        init.body = JSON.stringify(body);
    }
    let response;
    try {
        response = await fetch(path, init);
    } catch (e) {
        throw new ApiError('The editor\'s server does not answer.', 0, {});
    }
    let answer = null;
    try {
        answer = await response.json();
    } catch (e) {
        throw new ApiError(`The server answered ${response.status} without a JSON body.`, response.status, {});
    }
    if (!response.ok || (answer && answer.ok === false))
        throw new ApiError((answer && answer.error) || `The server answered ${response.status}.`, response.status, answer);
    return answer;
}

// The state, whether it comes bare or as the member "state" of the answer.
export async function getState() {
    const answer = await call('GET', 'api/state');
    return answer.state && Array.isArray(answer.state.nodes) ? answer.state : answer;
}
// An edit; with a ticket, a picture asked for with the same ticket waits for it.
export const edit = (operation, ticket) =>
    call('POST', ticket ? `api/edit?ticket=${ticket}` : 'api/edit', operation);
export const problems = () => call('GET', 'api/problems');
export const script = (answers) => call('POST', 'api/script', { answers });
export const save = (force) => call('POST', 'api/save', { force: !!force });
export const saveAs = (path, force) => call('POST', 'api/saveas', { path, force: !!force });
export const recovery = () => call('GET', 'api/recovery');
export const recoveryAction = (action) => call('POST', 'api/recovery', { action });
export const quit = (discard) => call('POST', 'api/quit', { discard: !!discard });

// The diagram at zoom (already multiplied by the device's pixel ratio) with the selected
// nodes highlighted; only its part inside clip ({x, y, width, height} in its own pixels)
// when clip is given, and drawn once the edit with ticket `after` is done when that is
// given. Gives {url, frame, clip, revision}: url is an object URL of the PNG, frame the
// whole picture's scroll offset and size, clip the part the PNG holds and revision the
// model's revision it shows.
export async function picture(zoom, ppi, selected, clip, after) {
    const query = `zoom=${zoom}&ppi=${ppi}` + (selected.length ? `&select=${selected.join(',')}` : '') +
        (clip ? `&clip=${clip.x},${clip.y},${Math.max(1, clip.width)},${Math.max(1, clip.height)}` : '') +
        (after ? `&after=${after}` : '');
    let response;
    try {
        response = await fetch(`api/picture.png?${query}`);
    } catch (e) {
        throw new ApiError('The editor\'s server does not answer.', 0, {});
    }
    if (!response.ok) {
        let why = `The picture could not be drawn (${response.status}).`;
        try { why = (await response.json()).error || why; } catch (e) { /* not JSON */ }
        throw new ApiError(why, response.status, {});
    }
    const rectangle = (header) => {
        const parts = (response.headers.get(header) || '0,0,0,0').split(',').map(Number);
        return { x: parts[0] || 0, y: parts[1] || 0, width: parts[2] || 0, height: parts[3] || 0 };
    };
    const frame = rectangle('X-Vmod-Frame');
    const part = response.headers.has('X-Vmod-Clip') ? rectangle('X-Vmod-Clip') : frame;
    const revision = Number(response.headers.get('X-Vmod-Revision'));
    const blob = await response.blob();
    return { url: URL.createObjectURL(blob), frame, clip: part, revision };
}

// The URL of an export download.
export function exportUrl(name, extension, query) {
    return `api/export/${encodeURIComponent(name)}.${extension}` + (query ? `?${query}` : '');
}
