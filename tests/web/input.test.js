// Typing into the grids however a field is entered, the focused field kept
// in view, and the page on a phone: frozen panes and a toolbar of one row.
import { expect, test } from '@playwright/test';
import { offsetOf, openImage, syntheticImage } from './page.js';

const field = (page, label) => page.getByLabel(label, { exact: true });

// The focused field, its record's index and name, and the headings over them
// are each what a finger at their middle touches: in view, and not covered
// by the heading row or the frozen columns.
async function expectInView(page, label) {
  await expect(field(page, label)).toBeFocused();
  const touched = await field(page, label).evaluate((input) => {
    const row = input.closest('[role="row"]');
    const headings = input.closest('[role="table"]').querySelector('.head').children;
    const column = [...row.children].indexOf(input.parentElement);
    return [input, row.children[0], row.children[1], headings[0], headings[1], headings[column]].map((element) => {
      const { x, y, width, height } = element.getBoundingClientRect();
      return element.contains(document.elementFromPoint(x + width / 2, y + height / 2));
    });
  });
  expect(touched, `${label} with its index, name and headings`).toEqual(Array(6).fill(true));
}

test('after a click typing replaces the value wherever the engine leaves the caret; a second click places the caret', async ({ page }) => {
  const original = syntheticImage();
  await openImage(page, original);
  // Some engines drop the selection when the mouse button goes up: as if so, here.
  const enter = async (label) => {
    await field(page, label).click();
    await field(page, label).evaluate((input) => input.setSelectionRange(1, 1));
  };
  await enter('武器 #3 字段 1');
  await page.keyboard.type('7.5');
  await page.keyboard.press('Tab');
  await expect(field(page, '武器 #3 字段 1')).toHaveValue('8');
  await enter('武器 #6 字段 2');
  await page.keyboard.press('Backspace');
  await page.keyboard.type('4');
  await expect(field(page, '武器 #6 字段 2')).toHaveValue('4');
  await page.keyboard.press('Escape');
  await expect(field(page, '武器 #6 字段 2')).toHaveValue(String(original[offsetOf('weapon', 6, 2)]));

  const clicked = field(page, '武器 #3 字段 1');
  await clicked.click();
  const { width, height } = await clicked.boundingBox();
  await clicked.click({ position: { x: width - 4, y: height / 2 } });
  await page.keyboard.type('5');
  await page.keyboard.press('Enter');
  await expect(field(page, '武器 #4 字段 1')).toBeFocused();
  await expect(clicked).toHaveValue('85');
});

test.describe('on a phone', () => {
  test.use({ viewport: { width: 360, height: 640 }, isMobile: true, hasTouch: true });

  test('a tap opens the field for typing and typing replaces its value', async ({ page }) => {
    await openImage(page);
    const tapped = field(page, '防具 #2 字段 4');
    await tapped.tap();
    // Phones' engines may ignore the selection made while focusing.
    await tapped.evaluate((input) => input.setSelectionRange(input.value.length, input.value.length));
    await page.keyboard.type('１２');
    await page.keyboard.press('Enter');
    await expect(tapped).toHaveValue('12');
  });

  test('keyboard focus stays in view, and the index, names and headings stay while the fields scroll either way', async ({ page }) => {
    await openImage(page);
    await field(page, '武器 #0 字段 1').focus();
    for (const [key, times, label] of [['ArrowDown', 25, '武器 #25 字段 1'], ['Tab', 7, '武器 #25 字段 8'],
      ['ArrowRight', 1, '武器 #25 字段 8'], ['ArrowUp', 20, '武器 #5 字段 8'], ['ArrowLeft', 7, '武器 #5 字段 1']]) {
      for (let step = 0; step < times; ++step) await page.keyboard.press(key);
      await expectInView(page, label);
    }
  });

  test('nothing scrolls sideways but the grids and the toolbar, which takes a quarter of the screen at most; '
    + 'every control is a finger tall and keyboard focus shows it whole', async ({ page }) => {
    await openImage(page);
    expect((await page.getByRole('group', { name: '文件' }).boundingBox()).height).toBeLessThanOrEqual(640 / 4);
    expect(await page.evaluate(() => document.documentElement.scrollWidth)).toBeLessThanOrEqual(360);
    const heights = await page.locator('button, label.button, input:not(.file)').evaluateAll((all) => all.map((control) => control.getBoundingClientRect().height));
    expect(Math.min(...heights)).toBeGreaterThanOrEqual(40);
    await page.getByLabel('打开文件').focus();
    const reached = [];
    // A file input shows as the label after it.
    const focused = () => page.evaluate(() => {
      const control = document.activeElement;
      const shown = control.classList.contains('file') ? control.nextElementSibling : control;
      const { left, right } = shown.getBoundingClientRect();
      return control.closest('.toolbar') && { name: control.getAttribute('aria-label') ?? control.textContent, whole: left >= 0 && right <= 360 };
    });
    for (let control = await focused(); control; control = await focused()) {
      reached.push(control);
      await page.keyboard.press('Tab');
    }
    const names = ['打开文件', '保存修改', '制作 IPS 补丁', '制作 BPS 补丁', '应用补丁', '导出 CSV', '导出 JSON', '导入表格文件', '比较镜像'];
    expect(reached).toEqual(expect.arrayContaining(names.map((name) => ({ name, whole: true }))));
  });
});
