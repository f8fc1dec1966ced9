"""An arrow the model cannot hold (from data to data) is refused where it is drawn, with
the reason in #message, and the model keeps its arrows. With VMOD_EDITOR_SCREENSHOT set to
a path, the page is saved there as a picture (the README's docs/editor.png).

usage: test_refused_arrow.py VMOD SOURCE_DIR"""
import os
import shutil
import sys
import tempfile

from selenium.webdriver.common.keys import Keys

from editor_page import Editor, fail


def main(vmod, source):
    with tempfile.TemporaryDirectory(prefix='vmod-edit-') as work:
        model = os.path.join(work, 'ndvi.vmf')
        shutil.copyfile(os.path.join(source, 'examples', 'ndvi.vmf'), model)
        with Editor(vmod, model) as ed:
            state = ed.state()
            rasters = [n['id'] for n in state['nodes'] if n['kind'] == 'raster']
            arrows = state['arrows']
            ed.drag(ed.node_point(rasters[0]), ed.node_point(rasters[1]), key=Keys.ALT)
            ed.until(lambda: ed.find('#message').text != '', 'a refusal shown')
            message = ed.find('#message')
            if 'error' not in message.get_attribute('class').split():
                fail('the refusal is not shown as an error')
            answer = ed.post('api/edit', {'op': 'connect', 'from': rasters[0], 'to': rasters[1]})
            if answer.get('ok') is not False or answer.get('error') != message.text:
                fail(f'#message says {message.text!r}, the server {answer!r}')
            if ed.state()['arrows'] != arrows or ed.state()['revision'] != state['revision']:
                fail('the refused arrow changed the model')
            print('refused:', message.text)

            target = os.environ.get('VMOD_EDITOR_SCREENSHOT')
            if target:
                function = next(n['id'] for n in state['nodes'] if n['kind'] == 'function')
                ed.click_at(ed.node_point(function))
                ed.until(lambda: ed.find('#picture').get_attribute('data-select') == str(function),
                         'the function selected and drawn so')
                ed.driver.save_screenshot(target)
    print('ok')


if __name__ == '__main__':
    main(sys.argv[1], sys.argv[2])
