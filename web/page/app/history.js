// Undo and redo: the 撤销 and 重做 buttons and Ctrl+Z, Ctrl+Shift+Z and
// Ctrl+Y (⌘ on a Mac) take the C++ session's history a step back or forward.
// While a text box holds typed text not yet committed, the keys stay the
// browser's own text undo.
import { showAlert } from './messages.js';

// The step a key asks for, or null.
function stepOf(event) {
  if (!(event.ctrlKey || event.metaKey) || event.altKey) return null;
  const key = event.key.toLowerCase();
  if (key === 'z') return event.shiftKey ? 'redo' : 'undo';
  if (key === 'y' && !event.shiftKey) return 'redo';
  return null;
}

// A grid cell holds committed text when it shows its byte; any other text
// box (the filter) is always the browser's.
function keepsTextUndo(target, grids) {
  if (!(target instanceof HTMLInputElement) || target.type === 'file') return false;
  const position = Number(target.dataset.cell);
  return Number.isNaN(position) || target.value !== String(grids.values[position]);
}

export class UndoRedo {
  // `afterStep()` shows the image after a step was taken.
  constructor(session, grids, { undoButton, redoButton, note, afterStep }) {
    Object.assign(this, { session, undoButton, redoButton, note, afterStep });
    undoButton.addEventListener('click', () => this.take('undo'));
    redoButton.addEventListener('click', () => this.take('redo'));
    document.addEventListener('keydown', (event) => {
      const step = stepOf(event);
      if (!step || !this.session.isOpen() || keepsTextUndo(event.target, grids)) return;
      event.preventDefault();
      this.take(step);
    });
  }

  take(step) {
    const state = this.session.history();
    if (!(step === 'undo' ? state.canUndo : state.canRedo)) return;
    const result = step === 'undo' ? this.session.undo() : this.session.redo();
    if (!result.ok) showAlert(result.message);
    else this.afterStep();
  }

  // Follows the session after every change: the buttons, and the word that
  // the oldest steps went, said once per image.
  update() {
    const state = this.session.history();
    this.undoButton.disabled = !state.canUndo;
    this.redoButton.disabled = !state.canRedo;
    this.note.textContent = state.trimmed ?? '';
    this.note.hidden = !state.trimmed;
  }
}
