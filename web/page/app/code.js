// Loads the project's C++ code, compiled to WebAssembly: the tables' layout,
// names and captions, the session that holds the image, the choices
// (formats, encodings) that its calls take, as Module.PatchFormat.Ips, and
// the words of the page's failures.
import createVarnel from '../varnel.mjs';

// The WebAssembly of this module's own version: the same stamp as its URL.
const locateFile = (path, folder) => `${folder}${path}${new URL(import.meta.url).search}`;

export async function loadCode() {
  const code = await createVarnel({ locateFile });
  return { tables: code.tables(), session: new code.Session(), code, failureText: code.failureText };
}

// Says so on the page when this browser cannot run the code at all.
export function explainLoadFailure(error) {
  document.getElementById('loading').textContent = `这个浏览器无法运行本页面（${error.message}）。请换用较新的浏览器。`;
  throw error;
}
