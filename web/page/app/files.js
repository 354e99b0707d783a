// Files in and out of the page: chosen or dropped files read whole, results
// handed over as downloads. Nothing is sent anywhere.
import { PageFailure, attempt } from './failures.js';

export async function readBytes(file) {
  try {
    return new Uint8Array(await file.arrayBuffer());
  } catch (error) {
    throw new PageFailure(`浏览器读不出这个文件（${error?.message ?? error}）。它可能在选择之后被移动、删除或改动了，请重新选择。`);
  }
}

export function download(name, bytes) {
  const url = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
  const link = Object.assign(document.createElement('a'), { href: url, download: name });
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 0);
}

function onlyFile(files, how) {
  if (files.length === 0) throw new PageFailure(`${how}的内容里没有文件。请${how}一个文件。`);
  if (files.length > 1) {
    throw new PageFailure(`一次只能处理一个文件，这次${how}了 ${files.length} 个（${files.map((file) => file.name).join('、')}）。`);
  }
  return files[0];
}

// Calls `handle` with the one file dropped anywhere on the page, for `action`;
// a folder, nothing or several files are refused.
export function whenDropped(action, handle) {
  document.addEventListener('dragover', (event) => event.preventDefault());
  document.addEventListener('drop', (event) => {
    event.preventDefault();
    const transfer = event.dataTransfer;
    // Entries are only to be had while the drop event runs.
    const folder = [...(transfer?.items ?? [])].map((item) => item.webkitGetAsEntry?.()).find((entry) => entry?.isDirectory);
    const files = [...(transfer?.files ?? [])];
    attempt(action, files.length === 1 ? files[0].name : '', () => {
      if (folder) throw new PageFailure(`${folder.name} 是文件夹。请拖入文件夹里的文件本身。`);
      return handle(onlyFile(files, '拖入'));
    });
  });
}

// Calls `handle` with the file chosen in a file input, for `action`, then
// forgets the choice, so that choosing the same file again is a new choice.
export function whenChosen(input, action, handle) {
  input.addEventListener('change', () => {
    const files = [...input.files];
    input.value = '';
    if (files.length === 0) return; // the choice was cancelled
    attempt(action, files.length === 1 ? files[0].name : '', () => handle(onlyFile(files, '选择')));
  });
}
