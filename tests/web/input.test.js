// Typing into the grids however a field is entered, the focused field kept
// in view beside frozen panes, and the page on a phone.
import { expect, test } from './driver/index.js';
import { offsetOf, syntheticImage } from './page.js';

// Some engines drop the selection the page made on focus when the mouse
// button goes up, or ignore it on a phone: as if so, here, in every engine.
const caretAt = (page, name, position) => page.selector(name)
  .then((field) => page.evaluate((selector, at) => document.querySelector(selector).setSelectionRange(at, at), field, position));

test('after a click typing replaces the value wherever the engine leaves the caret; a second click places the caret', async ({ page }) => {
  const original = syntheticImage();
  await page.openImage(original);
  await page.click('武器 #3 字段 1');
  await caretAt(page, '武器 #3 字段 1', 1);
  await page.type('7.5');
  await page.press('Tab');
  await expect.poll(() => page.value('武器 #3 字段 1')).toBe('8');
  // A field just entered moves sideways as a whole, and deletes as a whole.
  await page.click('武器 #6 字段 2');
  await caretAt(page, '武器 #6 字段 2', 1);
  await page.press('ArrowRight');
  await expect.poll(() => page.focused()).toBe('武器 #6 字段 3');
  await caretAt(page, '武器 #6 字段 3', 0);
  await page.press('Backspace');
  await page.type('4');
  await expect.poll(() => page.value('武器 #6 字段 3')).toBe('4');
  await page.press('Escape');
  await expect.poll(() => page.value('武器 #6 字段 3')).toBe(String(original[offsetOf('weapon', 6, 3)]));

  // Clicked again, the field takes typing at the caret, here its end.
  await page.click('武器 #3 字段 1');
  await page.click('武器 #3 字段 1');
  await caretAt(page, '武器 #3 字段 1', 1);
  await page.type('5');
  await page.press('Enter');
  await expect.poll(() => page.focused()).toBe('武器 #4 字段 1');
  expect(await page.value('武器 #3 字段 1')).toBe('85');
});

// The focused field, its record's index and name, and the headings over them
// are each what a finger at their middle touches: in view, and not covered by
// the heading row or the frozen columns.
test.describe('on a phone', () => {
  test.use({ device: 'phone' });

  test('at 360 × 640 only the grids and toolbar scroll sideways, controls are a finger tall and show whole with focus, a tap opens a field to typing, focus stays in view beside frozen panes', async ({ page }) => {
    await page.openImage(syntheticImage());
    expect(await page.evaluate(() => ({ width: innerWidth, page: document.documentElement.scrollWidth <= innerWidth,
      toolbar: document.querySelector('.toolbar').getBoundingClientRect().height <= innerHeight / 4,
      grid: document.querySelector('.grid').scrollWidth > document.querySelector('.grid').clientWidth,
      lowest: Math.min(...[...document.querySelectorAll('button, label.button, input:not(.file)')].map((control) => control.getBoundingClientRect().height)) >= 40,
    }))).toEqual({ width: 360, page: true, toolbar: true, grid: true, lowest: true });
    // A file input shows as the label after it.
    const focused = () => page.evaluate(() => {
      const control = document.activeElement;
      const shown = control.classList.contains('file') ? control.nextElementSibling : control;
      const { left, right } = shown.getBoundingClientRect();
      const bar = control.closest('.toolbar')?.getBoundingClientRect();
      return bar ? { name: control.getAttribute('aria-label') ?? control.textContent, whole: left > bar.left - 1 && right < bar.right + 1 } : null;
    });
    await page.focus('打开文件');
    for (const name of ['打开文件', '保存修改', '制作 IPS 补丁', '制作 BPS 补丁', '应用补丁', '导出 CSV', '导出 JSON', '导入表格文件', '编码', '比较镜像', null]) {
      await expect.poll(focused).toEqual(name && { name, whole: true });
      await page.press('Tab');
    }

    if (page.engine.touch) { // here, Chromium's phone mode
      await page.tap('防具 #2 字段 4');
      await expect.poll(() => page.focused()).toBe('防具 #2 字段 4');
      await caretAt(page, '防具 #2 字段 4', 3);
      await page.type('１２');
      await page.press('Enter');
      await expect.poll(() => page.value('防具 #2 字段 4')).toBe('12');
    }
    await page.focus('武器 #0 字段 1');
    for (const [key, times, name] of [['ArrowDown', 25, '武器 #25 字段 1'], ['Tab', 7, '武器 #25 字段 8'],
      ['ArrowRight', 1, '武器 #25 字段 8'], ['ArrowUp', 20, '武器 #5 字段 8'], ['ArrowLeft', 7, '武器 #5 字段 1']]) {
      for (let step = 0; step < times; ++step) await page.press(key);
      await expect.poll(() => page.focused()).toBe(name);
      await expect.poll(async () => page.evaluate((selector) => {
        const input = document.querySelector(selector);
        const row = input.closest('[role="row"]');
        const headings = input.closest('[role="table"]').querySelector('.head').children;
        const column = [...row.children].indexOf(input.parentElement);
        return [input, row.children[0], row.children[1], headings[0], headings[1], headings[column]].map((element) => {
          const { x, y, width, height } = element.getBoundingClientRect();
          return element.contains(document.elementFromPoint(x + width / 2, y + height / 2));
        });
      }, await page.selector(name)), `${name} with its index, name and headings`).toEqual(Array(6).fill(true));
    }
  });
});
