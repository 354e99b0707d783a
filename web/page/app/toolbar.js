// On a phone the toolbar is one row that scrolls sideways: the control that
// gets focus comes into view whole. A file input is shown by the label after
// it, so its label comes into view.
// Keyboard focus only: a control pressed with a mouse or a finger is in view
// already, and scrolling it between press and release would lose the click.
export function keepFocusInView(toolbar) {
  toolbar.addEventListener('focusin', ({ target }) => {
    if (!target.matches(':focus-visible')) return;
    const shown = target.classList.contains('file') ? target.nextElementSibling : target;
    shown.scrollIntoView({ block: 'nearest', inline: 'nearest' });
  });
}
