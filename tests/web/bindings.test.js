// The C++ calls the page makes take their choices (tables, formats,
// encodings) as the enums the code registers: anything else is refused by
// name, never read as the first choice. Field numbers are checked first.
import { expect, test } from './driver/index.js';

test('a choice the code does not know is refused, and a field outside a record names the change', async ({ page }) => {
  await page.open();
  const answers = await page.evaluate(async () => {
    const code = await (await import('./varnel.mjs')).default();
    const session = new code.Session();
    session.open('game.nes', new Uint8Array(786_448));
    return [session.exportTables('csv'), session.makePatch(0), session.setField(0, 0, 1, '5'),
      session.readTableFile('t.csv', new Uint8Array([0x61]), 'utf-8'), session.setField(code.TableKind.Weapon, 0, 9, '5'), session.setField(code.TableKind.Weapon, 0, 0, '5')];
  });
  const unknown = (doing, what) => ({ ok: false, message: `${doing} 失败：意外错误：页面给出了未知的${what}。` });
  const noField = (field) => ({ ok: false, message: `修改字段 失败：意外错误：没有第 ${field} 个字段，每条记录只有 8 个。` });
  expect(answers).toEqual([unknown('导出表格', '表格文件格式'), unknown('制作补丁', '补丁格式'), unknown('修改字段', '表格'),
    unknown('导入表格文件 t.csv', '编码'), noField(9), noField(0)]);
});

test('while waiting for an image the page rehearses an opening and holds none after it; the smallest image the code takes opens, one byte less does not', async ({ page }) => {
  await page.open();
  await page.until(() => page.call('prepared'), 'the page prepared for an image');
  const [heldAfterRehearsal, opens] = await page.evaluate(async () => {
    const { session } = await import(document.querySelector('script[type="module"]').src); // the page's own instance
    const code = await (await import('./varnel.mjs')).default();
    const opens = (length) => new code.Session().open('small.nes', new Uint8Array(length)).ok;
    return [session.isOpen(), [opens(code.smallestImageLength), opens(code.smallestImageLength - 1)]];
  });
  expect([heldAfterRehearsal, opens]).toEqual([false, [true, false]]);
});
