// The shared corpus of table files (tests/corpus/table-files), read as import
// reads it natively (TableFileCorpusTest). The page decodes text with the
// browser's own TextDecoder (BrowserIconv.cpp), so the files whose encoding
// matters are read here in each engine, as is one of bad rows: the same
// listing or refusal, byte for byte, and then the same image.
import { readFileSync } from 'node:fs';
import { expect, test } from './driver/index.js';
import { syntheticImage, tables } from './page.js';

const corpus = new URL('../corpus/table-files/', import.meta.url);
const files = JSON.parse(readFileSync(new URL('files.json', corpus))).filter(({ file }) => /utf|gb18030|cells-and-values/.test(file));

// What import said, laid out as the page lays out a result: a message and its list.
function listing(run, name) {
  const refusal = run.err.match(/^varnel-rom-tables: 无法读取表格文件 .*?：(.*)可以用 --encoding/);
  if (refusal) return { role: 'alert', message: `导入表格文件 ${name} 失败：${refusal[1]}可以在“编码”中选择文件的编码。`, lines: [] };
  if (run.status !== 0) {
    const [summary, ...lines] = run.err.trimEnd().split('\n');
    return { role: 'alert', message: summary.replace('varnel-rom-tables: ', ''), lines: lines.map((line) => line.replace(/^ {2}/, '')) };
  }
  const lines = run.out.trimEnd().split('\n');
  return { role: 'status', message: lines.at(-1), lines: lines.slice(0, -1) };
}

for (const { file, encoding, about } of files) {
  test(`${file}: ${about}`, async ({ page }) => {
    const bytes = readFileSync(new URL(file, corpus));
    const run = tables({ 'game.nes': syntheticImage(), [file]: bytes }, 'import', 'game.nes', file,
      ...(encoding ? ['--encoding', encoding] : []));

    await page.openImage(syntheticImage());
    // The 编码 control, set to the option with this text.
    await page.evaluate((selector, label) => { const control = document.querySelector(selector);
      control.value = [...control.options].find((option) => option.text === label).value; }, await page.selector('编码'), encoding?.toUpperCase() ?? '自动');
    await page.choose('导入表格文件', file, bytes);
    const { role, message, lines } = listing(run, file);
    await expect.poll(() => page.messageParts(role)).toEqual({ paragraphs: [message], items: lines });
    expect((await page.handedOver('保存修改')).bytes.equals(run.file('game.nes'))).toBe(true);
  });
}
