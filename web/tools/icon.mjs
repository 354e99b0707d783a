// The window's icon (an XPM drawing) as a PNG of any whole multiple of its
// size, pixels kept square: the app icon a phone or desktop shows.
import { deflateSync } from 'node:zlib';

const crcTable = Array.from({ length: 256 }, (_, n) => {
  let c = n;
  for (let k = 0; k < 8; ++k) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
  return c >>> 0;
});

function crc32(bytes) {
  let c = 0xffffffff;
  for (const byte of bytes) c = crcTable[(c ^ byte) & 0xff] ^ (c >>> 8);
  return (c ^ 0xffffffff) >>> 0;
}

function chunk(type, data) {
  const body = Buffer.concat([Buffer.from(type, 'ascii'), data]);
  const framed = Buffer.alloc(body.length + 8);
  framed.writeUInt32BE(data.length, 0);
  body.copy(framed, 4);
  framed.writeUInt32BE(crc32(body), body.length + 4);
  return framed;
}

// The pixels of an XPM with one character per pixel, as RGBA rows.
function readXpm(text) {
  const strings = [...text.matchAll(/"([^"]*)"/g)].map((match) => match[1]);
  const [width, height, colourCount] = strings[0].split(/\s+/).map(Number);
  const colours = new Map(strings.slice(1, 1 + colourCount).map((line) => {
    const colour = line.slice(1).trim().split(/\s+/)[1];
    const rgba = colour === 'None' ? [0, 0, 0, 0] : [1, 3, 5].map((at) => parseInt(colour.slice(at, at + 2), 16)).concat(255);
    return [line[0], rgba];
  }));
  const rows = strings.slice(1 + colourCount, 1 + colourCount + height);
  return { width, height, pixel: (x, y) => colours.get(rows[y][x]) };
}

export function xpmToPng(text, scale) {
  const { width, height, pixel } = readXpm(text);
  const side = width * scale;
  const raw = Buffer.alloc((side * 4 + 1) * height * scale);
  for (let y = 0; y < height * scale; ++y) {
    const row = y * (side * 4 + 1); // each row starts with filter type 0
    for (let x = 0; x < side; ++x) Buffer.from(pixel(Math.floor(x / scale), Math.floor(y / scale))).copy(raw, row + 1 + x * 4);
  }
  const header = Buffer.alloc(13);
  header.writeUInt32BE(side, 0);
  header.writeUInt32BE(height * scale, 4);
  header.set([8, 6, 0, 0, 0], 8); // 8 bits, RGBA, deflate, no filter, no interlace
  return Buffer.concat([Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]),
    chunk('IHDR', header), chunk('IDAT', deflateSync(raw, { level: 9 })), chunk('IEND', Buffer.alloc(0))]);
}
