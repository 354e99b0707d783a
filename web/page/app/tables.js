// Table files in: the C++ code reads the bytes as import does (encoding,
// format, rows and checks) and imports them. The encoding is the one chosen
// beside the import, or found from the bytes.
const encoding = document.getElementById('import-encoding');

export function readTableFile(code, session, name, bytes) {
  return session.readTableFile(name, bytes, code.TextEncoding[encoding.value] ?? null);
}
