// A page runs one version whole. A new version's service worker installs
// beside the running one and waits; the page says so, and takes it when the
// person agrees (the new worker takes over, then the page loads again) or
// when it is next opened with no tab of the old version left.

function offer(worker, onAgree) {
  if (document.getElementById('update-notice')) return;
  const button = Object.assign(document.createElement('button'), { type: 'button', textContent: '更新到新版本' });
  const notice = Object.assign(document.createElement('p'), {
    id: 'update-notice',
    className: 'message',
    textContent: '页面有新版本可用。更新会重新载入页面，未保存的修改请先保存；不更新的话，下次打开页面时会自动用上新版本。',
  });
  notice.setAttribute('aria-live', 'polite');
  notice.append(' ', button);
  button.addEventListener('click', () => {
    button.disabled = true;
    onAgree();
    worker.postMessage('take-update');
  });
  document.querySelector('main').prepend(notice);
}

export function offerUpdates() {
  if (!navigator.serviceWorker) return;
  let agreed = false;
  navigator.serviceWorker.addEventListener('controllerchange', () => {
    if (agreed) window.location.reload();
  });
  const agree = () => { agreed = true; };
  // Without a worker the page still works; it only does not open offline.
  navigator.serviceWorker.register('sw.js').then((registration) => {
    const offerWaiting = () => {
      if (registration.waiting && navigator.serviceWorker.controller) offer(registration.waiting, agree);
    };
    // The check made when the page was opened may have found one already.
    const watch = (worker) => worker?.addEventListener('statechange', () => {
      if (worker.state === 'installed') offerWaiting();
    });
    offerWaiting();
    watch(registration.installing);
    registration.addEventListener('updatefound', () => watch(registration.installing));
  }, (error) => console.warn('service worker not registered:', error));
}
