"""The page's side of the editor's speed at 500 nodes: the time from a key press that moves
a node to the new picture on screen (an edit's round trip), and a full redraw (a zoom
change). The figures are printed; the test fails only when a step takes seconds, where
something is wrong rather than slow (the targets are 50 ms and 100 ms).

usage: test_speed.py VMOD SOURCE_DIR"""
import os
import statistics
import sys
import tempfile

from selenium.webdriver.common.keys import Keys

from editor_page import Editor, fail

NODES = 500
ROUNDS = 10
LIMIT_MS = 10000


def write_model(path):
    """NODES scalars in a grid of 25 columns, half an inch apart."""
    with open(path, 'w', encoding='utf-8') as f:
        f.write('TITLE "Five hundred nodes";\n')
        for i in range(1, NODES + 1):
            x, y = 1 + ((i - 1) % 25) * 0.75, 1 + ((i - 1) // 25) * 0.75
            f.write(f'SCALAR {{\n\tID {i};\n\tTITLE "$s{i}";\n\tPOSITION {x}, {y};\n'
                    f'\tDATATYPE DOUBLE;\n\tVALUE {i};\n}}\n')


def timed(ed, action):
    """Milliseconds from action to the frame that shows the next picture. The page is
    watched through events, not by polling, so that the watching costs the page nothing."""
    return ed.driver.execute_async_script('''
        const done = arguments[arguments.length - 1];
        const img = document.getElementById('picture');
        const start = performance.now();
        const before = img.src;
        const shown = () => requestAnimationFrame(() => done(performance.now() - start));
        const watch = new MutationObserver(() => {
            if (img.src === before) return;
            watch.disconnect();
            if (img.complete) shown(); else img.addEventListener('load', shown, { once: true });
        });
        watch.observe(img, { attributes: true, attributeFilter: ['src'] });
        ''' + action)


def main(vmod, source):
    with tempfile.TemporaryDirectory(prefix='vmod-edit-') as work:
        model = os.path.join(work, 'many.vmf')
        write_model(model)
        with Editor(vmod, model) as ed:
            if len(ed.state()['nodes']) != NODES:
                fail('the model does not hold its nodes')
            ed.click_at(ed.node_point(1))
            ed.until(lambda: ed.find('#picture').get_attribute('data-select') == '1', 'node 1 selected')
            edits = []
            for i in range(ROUNDS):
                key = Keys.ARROW_RIGHT if i % 2 == 0 else Keys.ARROW_LEFT
                edits.append(timed(ed, "document.getElementById('diagram').dispatchEvent(new KeyboardEvent("
                                       f"'keydown', {{key: '{'ArrowRight' if key == Keys.ARROW_RIGHT else 'ArrowLeft'}', "
                                       "bubbles: true}));"))
                ed.wait_revision(lambda r, n=i + 1: r >= n)
            redraws = []
            for i in range(ROUNDS):
                button = 'zoom-in' if i % 2 == 0 else 'zoom-out'
                redraws.append(timed(ed, f"document.getElementById('{button}').click();"))
            # The page draws the part in sight: scrolled to the far corner, the picture
            # follows and holds the frame's last pixel.
            ed.driver.execute_script('const a = document.getElementById("diagram");'
                                     'a.scrollLeft = a.scrollWidth; a.scrollTop = a.scrollHeight;')

            def corner_drawn():
                picture = ed.find('#picture')
                f = [int(v) for v in picture.get_attribute('data-frame').split(',')]
                c = [int(v) for v in picture.get_attribute('data-clip').split(',')]
                return c[0] + c[2] == f[0] + f[2] and c[1] + c[3] == f[1] + f[3]
            ed.until(corner_drawn, 'the far corner drawn after scrolling')
        edit, redraw = statistics.median(edits), statistics.median(redraws)
        print(f'{NODES} nodes: edit round trip median {edit:.1f} ms (max {max(edits):.1f}), '
              f'full redraw median {redraw:.1f} ms (max {max(redraws):.1f})')
        if edit > LIMIT_MS or redraw > LIMIT_MS:
            fail('the page takes seconds where it should take milliseconds')
    print('ok')


if __name__ == '__main__':
    main(sys.argv[1], sys.argv[2])
