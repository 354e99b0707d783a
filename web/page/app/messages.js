// One message at a time: refusals and errors in the alert, results and
// summaries in the status. A message is a few lines, and may carry a list.
const alertBox = document.getElementById('alert');
const statusBox = document.getElementById('status');

function fill(box, text, items) {
  const parts = [];
  if (text) parts.push(Object.assign(document.createElement('p'), { textContent: text }));
  if (items.length > 0) {
    const list = document.createElement('ul');
    list.append(...items.map((item) => Object.assign(document.createElement('li'), { textContent: item })));
    parts.push(list);
  }
  box.replaceChildren(...parts);
}

export function showAlert(text, items = []) {
  statusBox.replaceChildren();
  fill(alertBox, text, items);
}

export function showStatus(text, items = []) {
  alertBox.replaceChildren();
  fill(statusBox, text, items);
}

// A result of the C++ code: {ok, message, lines}.
export function report(result) {
  (result.ok ? showStatus : showAlert)(result.message, result.lines ?? []);
}
