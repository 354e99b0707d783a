// Scrolls a grid's box so that a field shows whole, below the heading row and
// right of the frozen index and name columns, then the page so that the box
// shows it below the page's own sticky top (its scroll-padding-top). Scrolled
// here rather than by the engine: some engines stop scrolling a focused field
// into view at boxes whose rows skip their layout until they are in view.
export function reveal(input) {
  const box = input.closest('.grid');
  const row = input.closest('[role="row"]');
  const cell = input.parentElement.getBoundingClientRect();
  const view = box.getBoundingClientRect();
  const top = box.querySelector('.head').getBoundingClientRect().bottom;
  const left = row.children[1].getBoundingClientRect().right;
  const bottom = view.top + box.clientTop + box.clientHeight;
  const right = view.left + box.clientLeft + box.clientWidth;
  // Whole pixels, away from the edge: a box scrolls by whole pixels.
  const shift = (start, end, first, last) => {
    if (start < first) return Math.floor(start - first);
    return end > last ? Math.ceil(Math.min(end - last, start - first)) : 0;
  };
  box.scrollBy(shift(cell.left, cell.right, left, right), shift(cell.top, cell.bottom, top, bottom));
  // The heading row over the field comes along when the window has room for both.
  const shown = input.parentElement.getBoundingClientRect();
  const heading = Math.min(shown.top, box.querySelector('.head').getBoundingClientRect().top);
  const covered = parseFloat(getComputedStyle(document.documentElement).scrollPaddingTop) || 0;
  window.scrollBy(0, shift(heading, shown.bottom, covered, document.documentElement.clientHeight));
}
