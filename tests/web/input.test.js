// Typing into the grids however a field is entered, the focused field kept
// in view, and the page on a phone: frozen panes and a toolbar of one row.
import { expect, test } from '@playwright/test';
import { offsetOf, openImage, syntheticImage } from './page.js';

const field = (page, label) => page.getByLabel(label, { exact: true });

// Whether the field shows whole inside its grid's box, below the heading row
// and right of the frozen columns, and is what a finger at its middle touches.
function shownWhole(input) {
  const box = input.closest('.grid').getBoundingClientRect();
  const head = input.closest('.grid').querySelector('.head').getBoundingClientRect();
  const frozen = input.closest('[role="row"]').children[1].getBoundingClientRect();
  const own = input.getBoundingClientRect();
  const inside = own.top > head.bottom - 1 && own.bottom < box.bottom + 1 && own.left > frozen.right - 1 && own.right < box.right + 1;
  return inside && document.elementFromPoint(own.x + own.width / 2, own.y + own.height / 2) === input;
}

async function expectInView(page, label) {
  await expect(field(page, label)).toBeFocused();
  expect(await field(page, label).evaluate(shownWhole), `${label} in view`).toBe(true);
}

test('after a click typing replaces the value wherever the engine leaves the caret; a second click places the caret', async ({ page }) => {
  const original = syntheticImage();
  await openImage(page, original);
  const clicked = field(page, '武器 #3 字段 1');
  await clicked.click();
  // As some engines do when the mouse button goes up: the selection is gone.
  await clicked.evaluate((input) => input.setSelectionRange(1, 1));
  await page.keyboard.type('7.5');
  await page.keyboard.press('Tab');
  await expect(clicked).toHaveValue('8');

  const other = field(page, '武器 #6 字段 2');
  await other.click();
  await other.evaluate((input) => input.setSelectionRange(0, 0));
  await page.keyboard.press('Backspace');
  await page.keyboard.type('4');
  await expect(other).toHaveValue('4');
  await page.keyboard.press('Escape');
  await expect(other).toHaveValue(String(original[offsetOf('weapon', 6, 2)]));

  // Clicked again near its right end, the field takes typing at the caret.
  await clicked.click();
  const { width, height } = await clicked.boundingBox();
  await clicked.click({ position: { x: width - 4, y: height / 2 } });
  await page.keyboard.type('5');
  await expect(clicked).toHaveValue('85');
  await page.keyboard.press('Enter');
  await expect(field(page, '武器 #4 字段 1')).toBeFocused();
  await expect(clicked).toHaveValue('85');
});

test('keyboard focus stays in view below the heading row and beside the frozen columns', async ({ page }) => {
  await page.setViewportSize({ width: 360, height: 640 });
  await openImage(page);
  await field(page, '武器 #0 字段 1').focus();
  for (let step = 1; step <= 25; ++step) await page.keyboard.press('ArrowDown');
  await expectInView(page, '武器 #25 字段 1');
  for (let step = 1; step <= 20; ++step) await page.keyboard.press('ArrowUp');
  await expectInView(page, '武器 #5 字段 1');
  for (let field = 2; field <= 8; ++field) {
    await page.keyboard.press('Tab');
    await expectInView(page, `武器 #5 字段 ${field}`);
  }
  await page.keyboard.press('ArrowRight'); // the record's last field stays, as in a spreadsheet
  await expectInView(page, '武器 #5 字段 8');
  for (let step = 1; step <= 7; ++step) await page.keyboard.press('ArrowLeft');
  await expectInView(page, '武器 #5 字段 1');
});

test.describe('on a phone', () => {
  test.use({ viewport: { width: 360, height: 640 }, isMobile: true, hasTouch: true });

  test('a tap opens the field for typing and typing replaces its value', async ({ page }) => {
    await openImage(page);
    const tapped = field(page, '防具 #2 字段 4');
    await tapped.scrollIntoViewIfNeeded();
    await tapped.tap();
    await expect(tapped).toBeFocused();
    // Phones' engines may ignore the selection made while focusing.
    await tapped.evaluate((input) => input.setSelectionRange(input.value.length, input.value.length));
    await page.keyboard.type('１２');
    await page.keyboard.press('Enter');
    await expect(tapped).toHaveValue('12');
    await expect(tapped).toHaveClass(/changed/);
  });

  test('the index, names and heading row stay while the fields scroll either way', async ({ page }) => {
    await openImage(page);
    const grid = page.getByRole('region', { name: '武器' });
    await grid.evaluate((box) => {
      box.scrollIntoView({ block: 'end' });
      box.scrollTo(box.scrollWidth, 30 * 40);
    });
    // What a finger touches at the heading cells, and in the middle row at its index and name.
    const touched = await grid.evaluate((box) => {
      const at = (x, y) => document.elementFromPoint(x, y);
      const middle = (cell) => { const { x, y, width, height } = cell.getBoundingClientRect(); return [x + width / 2, y + height / 2]; };
      const headings = [...box.querySelectorAll('[role="columnheader"]')];
      const { left, top, bottom } = box.getBoundingClientRect();
      const row = at(left + 8, (top + bottom) / 2).closest('[role="row"]');
      return {
        headings: [headings[0], headings[1], headings.at(-1)].map((cell) => cell.contains(at(...middle(cell)))),
        index: row.children[0] === at(...middle(row.children[0])) && row.children[0].textContent,
        name: row.children[1] === at(...middle(row.children[1])),
        scrolled: [box.scrollLeft, box.scrollTop],
      };
    });
    expect(touched.headings).toEqual([true, true, true]);
    expect(Number(touched.index)).toBeGreaterThan(20);
    expect(touched.name).toBe(true);
    expect(Math.min(...touched.scrolled)).toBeGreaterThan(0);
  });

  test('the toolbar takes a quarter of the screen at most, and every control keeps its name, its keyboard and a finger\'s height', async ({ page }) => {
    await openImage(page);
    const toolbar = page.getByRole('group', { name: '文件' });
    expect((await toolbar.boundingBox()).height).toBeLessThanOrEqual(640 / 4);
    expect(await page.evaluate(() => document.documentElement.scrollWidth)).toBeLessThanOrEqual(360);
    const names = ['打开文件', '保存修改', '制作 IPS 补丁', '制作 BPS 补丁', '应用补丁', '导出 CSV', '导出 JSON', '导入表格文件', '比较镜像'];
    await page.getByLabel('打开文件').focus();
    const reached = [];
    for (;;) {
      // A file input shows as the label after it; the label is what must come into view.
      const control = await page.evaluate(() => {
        const focused = document.activeElement;
        if (!focused.closest('.toolbar')) return null;
        const shown = focused.classList.contains('file') ? focused.nextElementSibling : focused;
        const { left, right, height } = shown.getBoundingClientRect();
        return { name: focused.getAttribute('aria-label') ?? focused.textContent, left, right, height };
      });
      if (!control) break;
      const { name, left, right, height } = control;
      reached.push(name);
      expect(left, name).toBeGreaterThanOrEqual(0);
      expect(right, name).toBeLessThanOrEqual(360);
      expect(height, name).toBeGreaterThanOrEqual(40);
      await page.keyboard.press('Tab');
    }
    expect(reached).toEqual(expect.arrayContaining(names));
    await expect(page.getByLabel('按名称筛选')).toBeVisible();
  });
});
