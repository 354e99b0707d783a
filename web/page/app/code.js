// Loads the project's C++ code, compiled to WebAssembly: the tables' layout,
// names and captions, the session that holds the image, the choices
// (formats, encodings) that its calls take, as Module.PatchFormat.Ips, and
// the words of the page's failures.
import { PageFailure } from './failures.js';

// The WebAssembly of this module's own version: the same stamp as its URL.
const locateFile = (path, folder) => `${folder}${path}${new URL(import.meta.url).search}`;

// Imported when called, not with the page's modules, so that the page
// answers before this large module has been compiled.
export async function loadCode() {
  const { default: createVarnel } = await import('../varnel.mjs');
  const code = await createVarnel({ locateFile });
  return { tables: code.tables(), session: new code.Session(), code, failureText: code.failureText };
}

// The code's first calls run far slower than later ones, while the browser
// prepares it for use: a first opening cost several times the next. So a
// session of its own opens an empty image of the smallest length the code
// takes, and is gone again, while the page waits for a person. Only while the
// page's session holds no image: both use the same folder, and this one comes
// and goes in one go, so they never hold files at the same time.
export function rehearseOpening(code) {
  const rehearsal = new code.Session();
  try {
    rehearsal.open('rehearsal.nes', new Uint8Array(code.smallestImageLength));
    rehearsal.fields();
    rehearsal.changes();
  } finally {
    rehearsal.delete();
  }
}

// Says so on the page when this browser cannot run the code at all, and
// takes back the control that would need it.
export function explainLoadFailure(error) {
  const reason = `这个浏览器无法运行本页面（${error?.message ?? error}）。请换用较新的浏览器。`;
  document.getElementById('loading').textContent = reason;
  document.getElementById('open-file').disabled = true;
  throw new PageFailure(reason);
}
