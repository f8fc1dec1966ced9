"""What the editor's browser tests share: starting `vmod edit` on a model, a headless
Chromium driven through chromedriver, waiting for the page to show a revision, and
reading PNG files without any library beyond Python's own."""
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import zlib

from selenium import webdriver
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.actions.action_builder import ActionBuilder
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait

CHROMIUM = '/usr/bin/chromium'
CHROMEDRIVER = '/usr/bin/chromedriver'
WAIT = 20  # seconds any one thing may take


class Editor:
    """`vmod edit MODEL --no-browser` and a browser on its page."""

    def __init__(self, vmod, model, width=1280, height=900, wait=True):
        """vmod is the program to run on model, or the URL of an editor already serving;
        without wait the page is not waited for (it may open with a question)."""
        self.model = model
        self.server = None
        self.profile = tempfile.mkdtemp(prefix='vmod-chromium-')
        try:
            if vmod.startswith('http://'):
                self.url = vmod
            else:
                self.start_server(vmod, model)
            self.open_browser(width, height, wait)
        except BaseException:
            self.close()
            raise

    def start_server(self, vmod, model):
        self.server = subprocess.Popen([vmod, 'edit', model, '--no-browser', '--port', '0'],
                                       stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        line = self.server.stdout.readline().strip()
        prefix = 'vmod edit: '
        if not line.startswith(prefix):
            self.server.kill()
            raise RuntimeError(f'vmod edit printed {line!r}; stderr: {self.server.stderr.read()}')
        self.url = line[len(prefix):]

    def open_browser(self, width, height, wait=True):
        options = Options()
        options.binary_location = CHROMIUM
        for flag in ('--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
                     '--disable-background-networking', '--disable-component-update', '--disable-sync',
                     '--force-device-scale-factor=1', f'--window-size={width},{height}',
                     f'--user-data-dir={self.profile}'):
            options.add_argument(flag)
        self.driver = webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)
        self.driver.get(self.url)
        if wait:
            self.wait_revision(lambda r: r >= 0)

    def close(self):
        driver, self.driver = getattr(self, 'driver', None), None
        try:
            if driver:
                driver.quit()
        finally:
            if self.server:
                self.server.terminate()
                try:
                    self.server.wait(10)
                except subprocess.TimeoutExpired:
                    self.server.kill()
                    self.server.wait()
            shutil.rmtree(self.profile, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    # The page.
    def find(self, css):
        return self.driver.find_element(By.CSS_SELECTOR, css)

    def finds(self, css):
        return self.driver.find_elements(By.CSS_SELECTOR, css)

    def revision(self):
        value = self.driver.execute_script('return document.body.dataset.revision')
        return int(value) if value not in (None, '') else None

    def wait_revision(self, ok):
        """Waits until the page has drawn a revision for which ok(revision) holds."""
        def drawn(_):
            r = self.revision()
            return r is not None and ok(r)
        WebDriverWait(self.driver, WAIT).until(drawn)
        return self.revision()

    def after(self, action):
        """Does action, then waits for the page to draw the next revision."""
        before = self.revision()
        action()
        return self.wait_revision(lambda r: r > before)

    def until(self, condition, what):
        WebDriverWait(self.driver, WAIT).until(lambda _: condition(), f"waiting for {what}")

    def state(self):
        answer = self.driver.execute_async_script(
            'const done = arguments[arguments.length - 1];'
            'fetch("api/state").then((r) => r.json()).then(done, (e) => done(String(e)));')
        return answer['state'] if isinstance(answer.get('state'), dict) else answer

    def post(self, path, body):
        return self.driver.execute_async_script(
            'const done = arguments[arguments.length - 1];'
            'fetch(arguments[0], {method: "POST", headers: {"Content-Type": "application/json"},'
            ' body: JSON.stringify(arguments[1])}).then((r) => r.json()).then(done, (e) => done(String(e)));',
            path, body)

    def client_point(self, x, y):
        """The viewport pixel (CSS) of the paper point (x, y) inches, as the page maps it;
        the diagram is scrolled first to show the point when it is out of sight."""
        return self.driver.execute_script(
            'const img = document.getElementById("picture");'
            'const area = document.getElementById("diagram");'
            'const frame = img.dataset.frame.split(",").map(Number);'
            'const scale = Number(img.dataset.scale), ratio = Number(img.dataset.ratio);'
            'const at = () => { const r = document.getElementById("overlay").getBoundingClientRect();'
            '  return [r.left + (arguments[0] * scale - frame[0]) / ratio,'
            '          r.top + (arguments[1] * scale - frame[1]) / ratio]; };'
            'let p = at(); const box = area.getBoundingClientRect();'
            'if (p[0] < box.left + 8 || p[0] > box.right - 24 || p[1] < box.top + 8 || p[1] > box.bottom - 24) {'
            '  area.scrollLeft += p[0] - (box.left + box.right) / 2;'
            '  area.scrollTop += p[1] - (box.top + box.bottom) / 2; p = at(); }'
            'return p;', x, y)

    def node_point(self, node_id, dx=0.0, dy=0.0):
        """The viewport pixel of a node's box centre, moved by (dx, dy) inches."""
        node = next(n for n in self.state()['nodes'] if n['id'] == node_id)
        box = node['box']
        return self.client_point((box['left'] + box['right']) / 2 + dx, (box['top'] + box['bottom']) / 2 + dy)

    def drag(self, start, end, key=None, steps=6):
        """Presses at start, moves to end in a few steps, releases (viewport pixels); with key
        held down when given."""
        if key:
            ActionChains(self.driver).key_down(key).perform()
        builder = ActionBuilder(self.driver)
        mouse = builder.pointer_action
        mouse.move_to_location(int(start[0]), int(start[1]))
        mouse.pointer_down()
        for i in range(1, steps + 1):
            mouse.move_to_location(int(start[0] + (end[0] - start[0]) * i / steps),
                                   int(start[1] + (end[1] - start[1]) * i / steps))
        mouse.pointer_up()
        builder.perform()
        if key:
            ActionChains(self.driver).key_up(key).perform()

    def click_at(self, point):
        builder = ActionBuilder(self.driver)
        builder.pointer_action.move_to_location(int(point[0]), int(point[1]))
        builder.pointer_action.click()
        builder.perform()


def read_png(path_or_bytes):
    """(width, height, rows) of an 8-bit PNG, rows being lists of (r, g, b) tuples."""
    data = path_or_bytes if isinstance(path_or_bytes, bytes) else open(path_or_bytes, 'rb').read()
    if data[:8] != b'\x89PNG\r\n\x1a\n':
        raise ValueError('not a PNG')
    pos, idat, palette = 8, b'', None
    while pos < len(data):
        length, kind = struct.unpack('>I4s', data[pos:pos + 8])
        chunk = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b'IHDR':
            width, height, depth, colour, _, _, interlace = struct.unpack('>IIBBBBB', chunk)
        elif kind == b'PLTE':
            palette = [tuple(chunk[i:i + 3]) for i in range(0, len(chunk), 3)]
        elif kind == b'IDAT':
            idat += chunk
    if depth != 8 or interlace or colour not in (0, 2, 3, 4, 6):
        raise ValueError(f'unsupported PNG (depth {depth}, colour {colour}, interlace {interlace})')
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[colour]
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous, at = [], bytearray(stride), 0
    for _ in range(height):
        kind, line = raw[at], bytearray(raw[at + 1:at + 1 + stride])
        at += 1 + stride
        for i in range(stride):
            a = line[i - channels] if i >= channels else 0
            b = previous[i]
            c = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        previous = line
        if colour == 2:
            row = [tuple(line[i:i + 3]) for i in range(0, stride, 3)]
        elif colour == 6:
            row = [tuple(line[i:i + 3]) for i in range(0, stride, 4)]
        elif colour == 3:
            row = [palette[v] for v in line]
        else:
            row = [(v, v, v) for v in line[::channels]]
        rows.append(row)
    return width, height, rows


def fail(text):
    print(f'FAIL: {text}', file=sys.stderr)
    sys.exit(1)
