// The hidden page through which the Chromium service worker copies text: a service
// worker has no document to copy from.
'use strict';

chrome.runtime.onMessage.addListener((message, sender, sendResponse) => {
  if (!message || message.target !== 'tacknote-offscreen')
    return false;
  const area = document.createElement('textarea');
  area.value = String(message.text);
  document.body.append(area);
  area.select();
  let ok = false;
  try {
    ok = document.execCommand('copy');
  } finally {
    area.remove();
  }
  sendResponse({ ok });
  return false;
});
