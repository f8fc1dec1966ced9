"""From an empty page to a saved model, only by clicking, dragging and typing: an input
raster with its file, a function with its expression, an output raster, the arrows between
them; undo and redo; save. The saved file and the script must be the expected texts, and
`vmod check --no-files` must find the model ready (its files under /data are not here). VMOD_EDITOR_WRITE_EXPECTED=1 rewrites the texts.

usage: test_build_model.py VMOD SOURCE_DIR"""
import os
import subprocess
import sys
import tempfile

from selenium.webdriver.common.keys import Keys

from editor_page import ActionChains, Editor, fail

HERE = os.path.dirname(os.path.abspath(__file__))


def node_field(editor, node_id, key):
    node = next(n for n in editor.state()['nodes'] if n['id'] == node_id)
    return node['values'].get(key)


def select_node(editor, node_id):
    editor.click_at(editor.node_point(node_id))
    editor.until(lambda: editor.find('#properties').get_attribute('data-target') == 'node'
                 and editor.find('#properties .about').text.endswith(f' {node_id}'), f'node {node_id} selected')


def type_into(editor, css, text, commit=Keys.ENTER):
    field = editor.find(css)
    field.clear()
    field.send_keys(text)
    editor.after(lambda: field.send_keys(commit))


def chord(editor, *keys):
    actions = ActionChains(editor.driver)
    for k in keys[:-1]:
        actions.key_down(k)
    actions.send_keys(keys[-1])
    for k in reversed(keys[:-1]):
        actions.key_up(k)
    actions.perform()


def main(vmod, source):
    with tempfile.TemporaryDirectory(prefix='vmod-edit-') as work:
        model = os.path.join(work, 'built.vmf')
        with Editor(vmod, model) as ed:
            if ed.state()['nodes']:
                fail('a new model is not empty')
            # The input raster: click its kind, then the diagram.
            ed.find('#palette button[data-kind=raster]').click()
            ed.after(lambda: ed.click_at(ed.client_point(1, 1)))
            # The function: dragged from the palette onto the diagram.
            kind = ed.find('#palette button[data-kind=function]').rect
            ed.after(lambda: ed.drag((kind['x'] + 10, kind['y'] + kind['height'] / 2), ed.client_point(1, 2.5)))
            # The output raster.
            ed.find('#palette button[data-kind=raster]').click()
            ed.after(lambda: ed.click_at(ed.client_point(1, 4)))
            nodes = [(n['id'], n['kind'], n['x'], n['y']) for n in ed.state()['nodes']]
            if nodes != [(1, 'raster', 1, 1), (2, 'function', 1, 2.5), (3, 'raster', 1, 4)]:
                fail(f'the nodes placed are {nodes}')

            # Arrows: with Alt from the input to the function, and from the function's
            # handle to the output.
            ed.after(lambda: ed.drag(ed.node_point(1), ed.node_point(2), key=Keys.ALT))
            select_node(ed, 2)
            handle = ed.find('#overlay .connect-handle').rect
            ed.after(lambda: ed.drag((handle['x'] + handle['width'] / 2, handle['y'] + handle['height'] / 2),
                                     ed.node_point(3)))
            arrows = sorted((a['from'], a['to']) for a in ed.state()['arrows'])
            if arrows != [(1, 2), (2, 3)]:
                fail(f'the arrows drawn are {arrows}')

            # The properties, typed into the panel.
            select_node(ed, 1)
            type_into(ed, '#properties [data-key=title] input', 'elevation')
            type_into(ed, '#properties [data-key=fileName] input', '/data/elevation.img')
            select_node(ed, 2)
            type_into(ed, '#properties [data-key=expression] textarea', '$elevation * 0.3048', commit=Keys.TAB)
            select_node(ed, 3)
            type_into(ed, '#properties [data-key=title] input', 'metres')
            type_into(ed, '#properties [data-key=fileName] input', '/data/metres.img')
            ed.after(lambda: ed.find('#properties [data-key=newFile] input').click())
            if node_field(ed, 2, 'expression') != '$elevation * 0.3048' or node_field(ed, 3, 'newFile') is not True:
                fail('the typed properties did not reach the model')

            # Undo the last change, then redo it, from the keyboard on the diagram.
            ed.click_at(ed.client_point(4, 0.5))
            ed.after(lambda: chord(ed, Keys.CONTROL, 'z'))
            if node_field(ed, 3, 'newFile') is not False:
                fail('undo did not take the new file back')
            ed.after(lambda: chord(ed, Keys.CONTROL, Keys.SHIFT, 'z'))
            if node_field(ed, 3, 'newFile') is not True:
                fail('redo did not bring the new file again')

            # Save, and compare.
            ed.find('#save').click()
            ed.until(lambda: ed.state()['dirty'] is False and os.path.exists(model), 'the model saved')
            # The script as the server writes it, and the panel showing that same script.
            script = ed.post('api/script', {'answers': []})['script']
            ed.until(lambda: ed.find('#script pre').get_attribute('textContent') == script, 'the script panel')
        # What was built is ready to run.
        check = subprocess.run([vmod, 'check', '--no-files', model], capture_output=True, text=True)
        if check.returncode != 0:
            fail(f'vmod check refuses the built model:\n{check.stdout}{check.stderr}')
        # The script names the model's own file, which is in a new folder every run.
        check_text(open(model, encoding='utf-8').read().replace(work, '@WORK@'),
                   os.path.join(HERE, 'built.vmf'), 'the saved model')
        check_text(script.replace(work, '@WORK@'), os.path.join(HERE, 'built.script'), 'the script')
    print('ok')


def check_text(got, expected_path, what):
    if os.environ.get('VMOD_EDITOR_WRITE_EXPECTED'):
        with open(expected_path, 'w', encoding='utf-8') as f:
            f.write(got)
    expected = open(expected_path, encoding='utf-8').read()
    if got != expected:
        fail(f'{what} differs from {expected_path}:\n{got}')


if __name__ == '__main__':
    main(sys.argv[1], sys.argv[2])
