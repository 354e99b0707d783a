// The page's icons, rendered with rsvg-convert from the window's drawings:
// the pixel drawing at 32 for the tab, the master at 192 and 512 for a home
// screen, and a maskable 512 whose shield keeps inside the circle a phone may
// cut it to, on the manifest's background colour.
import { execFileSync } from 'node:child_process';
import { mkdirSync, readFileSync } from 'node:fs';
import { join } from 'node:path';

// The share of the side the master takes in the maskable icon: its corners
// then stay inside the safe circle of 40 % of the side around the centre.
const maskableShare = 0.62;

function render(side, output, file, input) {
  execFileSync('rsvg-convert', ['--width', `${side}`, '--height', `${side}`, '--output', output, ...(file ? [file] : [])],
    { input });
}

export function renderIcons(root, folder) {
  const drawings = join(root, 'ui', 'icons');
  const master = join(drawings, 'varnel-rom-editor.svg');
  mkdirSync(folder, { recursive: true });
  render(32, join(folder, 'icon-32.png'), join(drawings, 'varnel-rom-editor-32.svg'));
  for (const side of [192, 512]) render(side, join(folder, `icon-${side}.png`), master);

  const manifest = JSON.parse(readFileSync(join(root, 'web', 'page', 'manifest.webmanifest'), 'utf8'));
  const inner = readFileSync(master, 'utf8').replace(/^[\s\S]*?(?=<svg)/, '')
    .replace(/ width="\d+" height="\d+"/, ` x="${(1 - maskableShare) * 50}%" y="${(1 - maskableShare) * 50}%" width="${maskableShare * 100}%" height="${maskableShare * 100}%"`);
  const maskable = `<svg xmlns="http://www.w3.org/2000/svg" width="512" height="512">` +
    `<rect width="100%" height="100%" fill="${manifest.background_color}"/>${inner}</svg>`;
  render(512, join(folder, 'icon-maskable-512.png'), null, maskable);
}
