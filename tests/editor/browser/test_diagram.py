"""A bundled example in the editor: the diagram on the page is `vmod render`'s picture at
the same zoom; the output raster selected and deleted leaves its operation without an
output, a problem the problems panel lists; clicking a problem that names nodes selects
them.

usage: test_diagram.py VMOD SOURCE_DIR"""
import os
import shutil
import subprocess
import sys
import tempfile

from selenium.webdriver.common.keys import Keys

from editor_page import Editor, fail, read_png

# A pixel differs when one of its channels is off by more than this; a few may differ
# (the browser's scaling of a picture drawn at exactly its size changes nothing, but the
# screenshot may be colour-managed).
CHANNEL_TOLERANCE = 24
DIFFERING_PIXELS = 0.005


def compare(page_png, render_png, part):
    """The page's picture against the part (x, y, width, height) of vmod render's."""
    w1, h1, a = read_png(page_png)
    w2, h2, b = read_png(render_png)
    x, y, w2, h2 = part
    b = [row[x:x + w2] for row in b[y:y + h2]]
    if (w1, h1) != (w2, h2):
        fail(f'the page shows a {w1}x{h1} picture, vmod render draws {w2}x{h2}')
    differing = sum(1 for ra, rb in zip(a, b) for pa, pb in zip(ra, rb)
                    if max(abs(x - y) for x, y in zip(pa, pb)) > CHANNEL_TOLERANCE)
    if differing > DIFFERING_PIXELS * w1 * h1:
        fail(f'{differing} of {w1 * h1} pixels differ from vmod render')
    return differing


def main(vmod, source):
    with tempfile.TemporaryDirectory(prefix='vmod-edit-') as work:
        model = os.path.join(work, 'ndvi.vmf')
        shutil.copyfile(os.path.join(source, 'examples', 'ndvi.vmf'), model)
        rendered = os.path.join(work, 'render.png')
        subprocess.run([vmod, 'render', model, rendered, '--zoom', '1'], check=True)
        with Editor(vmod, model) as ed:
            # The page shows the part of the picture in sight (all of this example's).
            picture = ed.find('#picture')
            frame = [int(v) for v in picture.get_attribute('data-frame').split(',')]
            clip = [int(v) for v in picture.get_attribute('data-clip').split(',')]
            differing = compare(picture.screenshot_as_png, rendered,
                                (clip[0] - frame[0], clip[1] - frame[1], clip[2], clip[3]))
            print(f'{differing} pixels differ from vmod render')

            # The example is ready: its problems are information only (its prompts, pages).
            if any('info' not in (li.get_attribute('class') or '').split() for li in ed.finds('#problems li[data-code]')):
                fail('the example has errors or warnings before any change')
            # Select the output raster (the one an arrow leads to) and delete it.
            state = ed.state()
            before = {n['id'] for n in state['nodes']}
            targets = {a['to'] for a in state['arrows']}
            output = next(n['id'] for n in state['nodes'] if n['kind'] == 'raster' and n['id'] in targets)
            ed.click_at(ed.node_point(output))
            ed.until(lambda: ed.find('#picture').get_attribute('data-select') == str(output), 'the output selected')
            ed.after(lambda: ed.find('#diagram').send_keys(Keys.DELETE))
            after = {n['id'] for n in ed.state()['nodes']}
            if after != before - {output}:
                fail(f'deleting node {output} left {sorted(after)}')
            problems = [(li.get_attribute('data-code'), li.get_attribute('data-nodes'))
                        for li in ed.finds('#problems li[data-code]')]
            if not any(severity == 'error' for severity in
                       (li.get_attribute('class') for li in ed.finds('#problems li[data-code]'))):
                fail(f'the problems panel lists no error once the output went: {problems}')
            print('problems:', problems)
            located = [li for li in ed.finds('#problems li[data-code]') if li.get_attribute('data-nodes')]
            if located:
                ids = ','.join(str(i) for i in sorted(int(x) for x in located[0].get_attribute('data-nodes').split(',')))
                located[0].click()
                ed.until(lambda: ed.find('#picture').get_attribute('data-select') == ids,
                         f'the problem\'s nodes {ids} selected and drawn so')
    print('ok')


if __name__ == '__main__':
    main(sys.argv[1], sys.argv[2])
