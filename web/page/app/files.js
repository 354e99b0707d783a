// Files in and out of the page: chosen or dropped files read whole, results
// handed over as downloads. Nothing is sent anywhere.

export async function readBytes(file) {
  return new Uint8Array(await file.arrayBuffer());
}

export function download(name, bytes) {
  const url = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
  const link = Object.assign(document.createElement('a'), { href: url, download: name });
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 0);
}

// Calls `handle` with the files dropped anywhere on the page.
export function whenDropped(handle) {
  document.addEventListener('dragover', (event) => event.preventDefault());
  document.addEventListener('drop', (event) => {
    event.preventDefault();
    handle([...event.dataTransfer.files]);
  });
}

// Calls `handle` with the file chosen in a file input, then forgets the
// choice, so that choosing the same file again is a new choice.
export function whenChosen(input, handle) {
  input.addEventListener('change', () => {
    const [file] = input.files;
    input.value = '';
    if (file) handle(file);
  });
}
