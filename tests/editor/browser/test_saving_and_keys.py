"""Saving and the keyboard in the editor: + and - zoom, F2 renames the selected node, a file
changed on disk is overwritten only when the user agrees, Save as writes the chosen file
and the page follows it, and after a crash of the server the next start offers the
unsaved change back.

usage: test_saving_and_keys.py VMOD SOURCE_DIR"""
import os
import shutil
import sys
import tempfile

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support import expected_conditions
from selenium.webdriver.support.ui import WebDriverWait

from editor_page import WAIT, Editor, fail


def answer_question(ed, expect, accept, text=None):
    """Waits for the page's question, checks it says expect, answers it."""
    alert = WebDriverWait(ed.driver, WAIT).until(expected_conditions.alert_is_present())
    if expect not in alert.text:
        fail(f'the page asked {alert.text!r}, not about {expect!r}')
    if text is not None:
        alert.send_keys(text)
    if accept:
        alert.accept()
    else:
        alert.dismiss()


def keys(ed, *sequence):
    ed.find('#diagram').send_keys(*sequence)


def node(ed, node_id):
    return next(n for n in ed.state()['nodes'] if n['id'] == node_id)


def zoom_keys(ed):
    keys(ed, '+')
    ed.until(lambda: ed.find('#zoom-level').text == '125%', 'zoom 125%')
    ed.until(lambda: float(ed.find('#picture').get_attribute('data-scale')) == 96 * 1.25, 'the picture at 125%')
    keys(ed, '-')
    keys(ed, '-')
    ed.until(lambda: ed.find('#zoom-level').text == '75%', 'zoom 75%')
    ed.until(lambda: float(ed.find('#picture').get_attribute('data-scale')) == 96 * 0.75, 'the picture at 75%')
    keys(ed, '+')
    ed.until(lambda: ed.find('#zoom-level').text == '100%', 'zoom 100%')


def rename_with_f2(ed):
    ed.click_at(ed.node_point(1))
    ed.until(lambda: ed.find('#picture').get_attribute('data-select') == '1', 'node 1 selected')
    keys(ed, Keys.F2)
    ed.until(lambda: ed.driver.switch_to.active_element.get_attribute('id') and
             ed.driver.switch_to.active_element.find_element('xpath', 'ancestor::*[@data-key][1]')
             .get_attribute('data-key') == 'title', 'F2 to reach the title')
    ed.after(lambda: ed.driver.switch_to.active_element.send_keys('red_band', Keys.TAB))
    if node(ed, 1)['title'] != 'red_band':
        fail(f'F2 and typing gave the title {node(ed, 1)["title"]!r}')


def save_conflict(ed, model):
    outside = open(model, encoding='utf-8').read().replace('n2_nir', 'changed_outside')
    with open(model, 'w', encoding='utf-8') as f:
        f.write(outside)
    ActionChains(ed.driver).key_down(Keys.CONTROL).send_keys('s').key_up(Keys.CONTROL).perform()
    answer_question(ed, 'changed on disk', accept=False)
    if open(model, encoding='utf-8').read() != outside:
        fail('declining to overwrite still changed the file')
    ActionChains(ed.driver).key_down(Keys.CONTROL).send_keys('s').key_up(Keys.CONTROL).perform()
    answer_question(ed, 'changed on disk', accept=True)
    ed.until(lambda: 'red_band' in open(model, encoding='utf-8').read(), 'the model saved over the file')
    ed.until(lambda: not ed.state()['dirty'], 'the state to be saved')


def save_as(ed, target):
    ed.find('#saveas').click()
    answer_question(ed, 'Save the model as', accept=True, text=target)
    ed.until(lambda: os.path.exists(target), 'the file saved as')
    ed.until(lambda: ed.state()['file'] == target, 'the page to follow the new file')
    if 'red_band' not in open(target, encoding='utf-8').read():
        fail('the file saved as lacks the model')
    ed.until(lambda: target.split('/')[-1] in ed.find('#file-name').text, 'the new name shown')


def main(vmod, source):
    with tempfile.TemporaryDirectory(prefix='vmod-edit-') as work:
        model = os.path.join(work, 'ndvi.vmf')
        shutil.copyfile(os.path.join(source, 'examples', 'ndvi.vmf'), model)
        with Editor(vmod, model) as ed:
            zoom_keys(ed)
            rename_with_f2(ed)
            save_conflict(ed, model)
            save_as(ed, os.path.join(work, 'copy.vmf'))
            # A change that is not saved, then the server crashes.
            ed.click_at(ed.node_point(2))
            ed.until(lambda: ed.find('#picture').get_attribute('data-select') == '2', 'node 2 selected')
            x = node(ed, 2)['x']
            ed.after(lambda: keys(ed, Keys.ARROW_RIGHT))
            ed.server.kill()
            ed.server.wait()
        copy = os.path.join(work, 'copy.vmf')
        if not os.path.exists(copy + '.recovery'):
            fail('the unsaved change left no recovery copy')
        with Editor(vmod, copy, wait=False) as ed:
            answer_question(ed, 'Restore them?', accept=True)
            ed.wait_revision(lambda r: r >= 1)
            if node(ed, 2)['x'] != x + 0.125 or not ed.state()['dirty']:
                fail(f'the recovered model has node 2 at {node(ed, 2)["x"]}, not {x + 0.125}, or is not unsaved')
    print('ok')


if __name__ == '__main__':
    main(sys.argv[1], sys.argv[2])
