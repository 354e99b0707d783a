// Table files in: the C++ code decodes the bytes and tells CSV from JSON;
// JSON is read there whole, CSV is cut into rows here by Papa Parse and every
// row is checked there.
export function readTableFile(session, name, bytes) {
  return session.importJson(name, bytes);
}
