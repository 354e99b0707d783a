// The facts of the image now, as the command line's info gives them: the C++
// code reads the header and the CRC-32s and words each digest, the browser hashes SHA-1.
const list = document.getElementById('info');

async function sha1(bytes) {
  const digest = new Uint8Array(await crypto.subtle.digest('SHA-1', bytes));
  return [...digest].map((byte) => byte.toString(16).padStart(2, '0')).join('');
}

export async function showInfo(session) {
  const facts = session.info();
  if (!facts.ok) return;
  const { bytes } = session.imageBytes();
  const digests = await Promise.all(facts.digests.map(async ({ term, crc32, from }) =>
    [term, session.digestLine(crc32, await sha1(bytes.subarray(from)))]));
  list.replaceChildren(...[...facts.rows, ...digests, facts.tables].flatMap(([term, value]) => [
    Object.assign(document.createElement('dt'), { textContent: term }),
    Object.assign(document.createElement('dd'), { textContent: value }),
  ]));
}
