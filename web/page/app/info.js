// The facts of the image now, as the command line's info gives them: the C++
// code reads the header and the CRC-32s and words each digest, the browser hashes SHA-1.
import { PageFailure } from './failures.js';
import { showAlert } from './messages.js';

const list = document.getElementById('info');
let latest = 0; // the newest request: only it may paint

async function sha1(bytes) {
  let digest;
  try {
    digest = new Uint8Array(await crypto.subtle.digest('SHA-1', bytes));
  } catch (error) {
    throw new PageFailure(`浏览器没有算出 SHA-1（${error?.message ?? error}）。`);
  }
  return [...digest].map((byte) => byte.toString(16).padStart(2, '0')).join('');
}

// Paints the facts of the image now; the facts shown go when they can no
// longer be told, so that no earlier image's facts stay on screen.
export async function showInfo(session) {
  const request = ++latest;
  const facts = session.info();
  if (!facts.ok) {
    list.replaceChildren();
    showAlert(facts.message);
    return;
  }
  const { bytes } = session.imageBytes();
  let digests;
  try {
    digests = await Promise.all(facts.digests.map(async ({ term, crc32, from }) =>
      [term, session.digestLine(crc32, await sha1(bytes.subarray(from)))]));
  } catch (error) {
    if (request !== latest) return;
    list.replaceChildren();
    throw error;
  }
  if (request !== latest) return;
  list.replaceChildren(...[...facts.rows, ...digests, facts.tables].flatMap(([term, value]) => [
    Object.assign(document.createElement('dt'), { textContent: term }),
    Object.assign(document.createElement('dd'), { textContent: value }),
  ]));
}
