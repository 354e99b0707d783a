// Typing into a field just entered replaces what it shows, as in a
// spreadsheet, however it was entered (click, tap, Tab, arrows) and whatever
// the engine did with the selection: some put the caret where the mouse
// button went up, some ignore select() while focusing, and the field's
// three-character limit would then drop every character typed.
// A field stays "entered" from its focus until the first text or deletion,
// or until the person places the caret or selects in it.

// Keys that put text in or take it out: whatever they do, they do to the whole value.
const editing = (event) => !event.ctrlKey && !event.metaKey && !event.altKey &&
  (event.key.length === 1 || ['Backspace', 'Delete', 'Process', 'Unidentified'].includes(event.key));

export function typeOver(container) {
  const entered = new WeakSet();
  const field = (target) => target instanceof HTMLInputElement && 'cell' in target.dataset;
  const replace = (input) => {
    if (!entered.delete(input)) return;
    input.setSelectionRange(0, input.value.length);
  };
  container.addEventListener('focusin', ({ target }) => {
    if (!field(target)) return;
    entered.add(target);
    target.select(); // shown where the engine keeps it
  });
  // A press inside the field that has focus places the caret: the person's choice.
  container.addEventListener('pointerdown', ({ target }) => {
    if (target === document.activeElement) entered.delete(target);
  });
  // The release after the press that entered the field would move the caret.
  container.addEventListener('mouseup', (event) => {
    if (entered.has(event.target)) event.preventDefault();
  });
  container.addEventListener('keydown', (event) => {
    if (!entered.has(event.target)) return;
    if (editing(event)) replace(event.target);
    else if (['Home', 'End'].includes(event.key) || (event.shiftKey && event.key.startsWith('Arrow'))) entered.delete(event.target);
  });
  // Text that comes with no key first: pasted, dropped, or from a phone's keyboard.
  container.addEventListener('paste', ({ target }) => replace(target));
  container.addEventListener('beforeinput', ({ target }) => replace(target));
  // Whether typing in `input` now replaces its whole value.
  return (input) => entered.has(input);
}
