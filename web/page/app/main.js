// The page: wires the controls to the C++ session, the grids and the files.
import { explainLoadFailure, loadCode, rehearseOpening } from './code.js';
import { Grids } from './grids.js';
import { attempt, sayFailuresWith, sayStrayFailures } from './failures.js';
import { download, readBytes, whenChosen, whenDropped } from './files.js';
import { report, showAlert, showStatus } from './messages.js';
import { showInfo } from './info.js';
import { readTableFile } from './tables.js';
import { UndoRedo } from './history.js';
import { ChangeList } from './change-list.js';
import { keepFocusInView } from './toolbar.js';
import { offerUpdates } from './update.js';

const byId = (id) => document.getElementById(id);

// An image can be chosen or dropped from the first moment, while the C++ code
// still loads; one chosen that early opens once the page is ready, or is
// refused with the reason the code could not load.
const loading = loadCode().catch(explainLoadFailure);
let pageReady;
const ready = Promise.all([loading, new Promise((resolve) => { pageReady = resolve; })]);
const openWhenReady = (file) => ready.then(() => open(file));
whenChosen(byId('open-file'), 'open', openWhenReady);
whenDropped('open', openWhenReady);
byId('open-file').disabled = false;
performance.mark('varnel-usable');

const { tables, session, code, failureText } = await loading;
sayFailuresWith(failureText);
sayStrayFailures();
const unsaved = () => session.history().unsaved;

// The facts of the image now, once the grids are painted.
function facts() {
  return new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve)))
    .then(() => attempt('facts', session.name(), () => showInfo(session)));
}

// Marks the fields that differ from the image as opened, and counts them;
// the facts follow once the grids are painted.
function showChanges() {
  const changes = session.changes();
  grids.mark(changes);
  byId('change-count').textContent = `已修改 ${changes.length} 个字段`;
  undoRedo.update();
  changeList.show();
  return facts();
}

// Shows the image now after it changed as a whole.
function refresh() {
  grids.show(session.fields());
  return showChanges();
}

const grids = new Grids(byId('grids'), tables, (cell, text) => {
  const result = session.setField(cell.table.kind, cell.index, cell.field, text);
  if (!result.ok) {
    showAlert(result.message);
    return grids.values[Number(cell.input.dataset.cell)];
  }
  showChanges();
  return result.value;
});
const undoRedo = new UndoRedo(session, grids, { undoButton: byId('undo'), redoButton: byId('redo'), note: byId('history-note'), afterStep: refresh });
const changeList = new ChangeList(session, grids, { list: byId('change-list'), revertAll: byId('revert-all'), filter: byId('filter'), afterRevert: refresh });

// Reads a chosen file unless it is too large for what it is meant to be.
async function bytesOf(file, tableFile = false) {
  const check = session.checkSize(file.name, file.size, tableFile);
  if (!check.ok) {
    showAlert(check.message);
    return null;
  }
  return readBytes(file);
}

async function open(file) {
  if (session.isOpen() && unsaved() && !window.confirm(`${session.name()} 有未保存的修改。仍要打开 ${file.name} 吗？`)) return;
  performance.mark('varnel-open-start');
  const bytes = await bytesOf(file);
  if (!bytes) return;
  const result = session.open(file.name, bytes);
  report(result);
  if (!result.ok) return;
  byId('image-name').textContent = `镜像：${session.name()}`;
  // Timed until the grids have been painted: the frame after this one, before what follows it.
  requestAnimationFrame(() => setTimeout(() => performance.measure('varnel-open', 'varnel-open-start')));
  // Before the workspace is shown: finding where its rows are then needs no new style or layout.
  grids.showInViewFirst(session.fields());
  byId('workspace').classList.remove('unopened');
  for (const control of document.querySelectorAll('.toolbar :disabled')) control.disabled = false;
  await showChanges();
}

// Hands over what the C++ code made, {ok, name, bytes, message} or a refusal;
// true once the browser has it.
function handOver(result) {
  if (!result.ok) {
    showAlert(result.message);
    return false;
  }
  download(result.name, result.bytes);
  showStatus(result.message);
  return true;
}

function makePatch(format) {
  performance.mark('varnel-patch-start');
  const result = session.makePatch(code.PatchFormat[format]);
  performance.measure(`varnel-patch-${format.toLowerCase()}`, 'varnel-patch-start');
  handOver(result);
}

// A button that hands a file over, as the action `action`.
function whenClicked(id, action, handle) {
  byId(id).addEventListener('click', () => attempt(action, session.name(), handle));
}

whenClicked('save', 'save', () => {
  if (handOver(session.imageBytes())) session.markSaved();
});
whenClicked('make-ips', 'make-patch', () => makePatch('Ips'));
whenClicked('make-bps', 'make-patch', () => makePatch('Bps'));
whenClicked('export-csv', 'export', () => handOver(session.exportTables(code.TableFileFormat.Csv)));
whenClicked('export-json', 'export', () => handOver(session.exportTables(code.TableFileFormat.Json)));
whenChosen(byId('apply-patch'), 'apply-patch', async (file) => {
  const bytes = await bytesOf(file);
  if (!bytes) return;
  const result = session.applyPatch(file.name, bytes);
  report(result);
  if (result.ok) await refresh();
});
whenChosen(byId('import-table'), 'import', async (file) => {
  const bytes = await bytesOf(file, true);
  if (!bytes) return;
  const result = readTableFile(code, session, file.name, bytes);
  report(result);
  if (result.ok && result.changed) await refresh();
});
whenChosen(byId('compare-image'), 'compare', async (file) => {
  const bytes = await bytesOf(file);
  if (bytes) report(session.compare(file.name, bytes));
});
byId('filter').addEventListener('input', (event) => grids.filter(event.target.value));
keepFocusInView(document.querySelector('.toolbar'));
window.addEventListener('beforeunload', (event) => {
  if (unsaved()) event.preventDefault();
});

// While the page waits for an image: the grids are built, then an opening is
// rehearsed, so that the person's first one is not the code's first.
async function prepare() {
  await grids.buildInBackground();
  if (!session.isOpen()) rehearseOpening(code);
  performance.mark('varnel-prepared');
}

byId('loading').remove();
performance.mark('varnel-ready');
pageReady();
prepare();
offerUpdates();

// For the browser tests, which plant failures in the session's answers.
export { session };
