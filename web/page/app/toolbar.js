// On a phone the toolbar is one row that scrolls sideways: the control that
// gets focus comes into view whole. A file input is shown by the label after
// it, so its label comes into view.
export function keepFocusInView(toolbar) {
  toolbar.addEventListener('focusin', ({ target }) => {
    const shown = target.classList.contains('file') ? target.nextElementSibling : target;
    shown.scrollIntoView({ block: 'nearest', inline: 'nearest' });
  });
}
