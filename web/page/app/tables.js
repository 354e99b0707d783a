// Table files in. The C++ code decodes the bytes, tells CSV, TSV and JSON
// apart, reads JSON whole and checks every row; CSV and TSV text is cut into
// rows here by Papa Parse, noting the line where each row starts.

// Where each line starts and ends (before its line break).
function linesOf(text) {
  const starts = [0];
  const ends = [];
  for (const match of text.matchAll(/\r\n|\n|\r/g)) {
    ends.push(match.index);
    starts.push(match.index + match[0].length);
  }
  ends.push(text.length);
  return { starts, ends };
}

// The 0-based line holding the character at `offset`.
function lineAt(starts, offset) {
  let low = 0;
  let high = starts.length - 1;
  while (low < high) {
    const middle = (low + high + 1) >> 1;
    if (starts[middle] <= offset) low = middle;
    else high = middle - 1;
  }
  return low;
}

// Rows as the C++ row checks take them: {line, cells, text} with the row's
// first line as text, and problem 'malformed' or 'unclosed' where quotes do
// not pair up. After a malformed line reading goes on with the next line, as
// the command line's reader does.
export function cutRows(text, delimiter) {
  const { starts, ends } = linesOf(text);
  const rows = [];
  let base = 0;
  while (base < text.length) {
    let cursor = 0;
    let restart = null;
    Papa.parse(text.slice(base), {
      delimiter,
      skipEmptyLines: false,
      step: ({ data, errors, meta }, parser) => {
        const line = lineAt(starts, base + cursor);
        cursor = meta.cursor;
        const row = { line: line + 1, cells: data, text: text.slice(starts[line], ends[line]) };
        const broken = errors.find((error) => error.type === 'Quotes');
        if (broken?.code === 'InvalidQuotes') {
          rows.push({ ...row, problem: 'malformed' });
          restart = starts[line + 1] ?? text.length;
          parser.abort();
        } else {
          rows.push(broken ? { ...row, problem: 'unclosed' } : row);
        }
      },
    });
    if (restart === null) break;
    base = restart;
  }
  return rows;
}

export function readTableFile(session, name, bytes) {
  const read = session.readTableText(name, bytes);
  if (!read.ok || read.text === undefined) return read; // refused, or JSON read whole
  return session.importRows(name, read.encoding, cutRows(read.text, read.separator));
}
