// Where a failure the C++ code did not already put into words becomes a
// message: a file the browser cannot read, a drop that holds no single file,
// a hash the browser will not compute, a hand-over that throws. Every action
// runs through attempt(), so none of them fails without a word.
import { showAlert } from './messages.js';

// A failure whose reason is already said for people.
export class PageFailure extends Error {}

// "打开文件 a.nes 失败：原因", from the C++ code's words for the page's actions.
let failureText = (action, file, reason) => reason; // until the code has loaded: the reason alone

export function sayFailuresWith(text) {
  failureText = text;
}

function reasonOf(error) {
  if (error instanceof PageFailure) return error.message;
  return `页面出了意外错误（${error?.message ?? error}）。请重新载入页面再试。`;
}

// Runs `work` for the action named `action` (a key of the C++ code's page
// actions) on the file named `file`; what it throws or rejects with is said.
export async function attempt(action, file, work) {
  try {
    return await work();
  } catch (error) {
    showAlert(failureText(action, file, reasonOf(error)));
    if (!(error instanceof PageFailure)) console.error(error);
    return undefined;
  }
}

// The last net, for a failure outside any action.
export function sayStrayFailures() {
  window.addEventListener('unhandledrejection', (event) => showAlert(reasonOf(event.reason)));
  // Only thrown errors: the browser also reports notices here that are none.
  window.addEventListener('error', (event) => {
    if (event.error) showAlert(reasonOf(event.error));
  });
}
