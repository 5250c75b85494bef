// Tacknote's browser entry: a context-menu entry on selected text and on links that
// copies the selection (or the link) to the clipboard as plain text and then signals the
// running Tacknote through its native messaging host, which makes a new note of it.
//
// One script for Chromium (a service worker) and Firefox (an event page); it uses the
// `chrome` namespace with callbacks, which both offer.
'use strict';

// Tacknote registers one host per interface language, the one chosen at its start; the
// entry speaks the language of the host that is registered.
const HOSTS = [
  { name: 'tacknote.capture.ptb', title: 'Copiar para o T&acknote' },
  { name: 'tacknote.capture.enu', title: 'Copy to T&acknote' },
];
const MENU_ID = 'tacknote-capture';
const OFFSCREEN_TARGET = 'tacknote-offscreen';

// Sends one message to a host. found is false when the host is not registered (or the
// browser could not start it); otherwise answer is what the host said.
function sendNative(host, message) {
  return new Promise((resolve) => {
    try {
      chrome.runtime.sendNativeMessage(host, message, (answer) => {
        const error = chrome.runtime.lastError;
        if (error)
          resolve({ found: false, error: error.message });
        else
          resolve({ found: true, answer: answer || { ok: false, error: 'no answer' } });
      });
    } catch (error) {
      resolve({ found: false, error: String(error) });
    }
  });
}

// The registered host, or null.
async function findHost() {
  for (const host of HOSTS) {
    const reply = await sendNative(host.name, { command: 'hello' });
    if (reply.found && reply.answer.ok)
      return host;
  }
  return null;
}

function removeMenu() {
  return new Promise((resolve) => {
    chrome.contextMenus.removeAll(() => {
      void chrome.runtime.lastError;
      resolve();
    });
  });
}

function createMenu(title) {
  return new Promise((resolve) => {
    chrome.contextMenus.create({ id: MENU_ID, title, contexts: ['selection', 'link'] }, () => {
      void chrome.runtime.lastError;
      resolve();
    });
  });
}

function retitleMenu(title) {
  return new Promise((resolve) => {
    chrome.contextMenus.update(MENU_ID, { title }, () => {
      void chrome.runtime.lastError;
      resolve();
    });
  });
}

// The entry in the registered host's language; none when no host is registered (Tacknote
// was never started, or started in a language that has no entry).
async function refreshMenu() {
  const host = await findHost();
  await removeMenu();
  if (host)
    await createMenu(host.title);
  return host;
}

// The selection as the page holds it, line breaks included (the menu's own copy of the
// selection loses them); empty when the page cannot be asked.
async function pageSelection(tab, frameId) {
  if (!tab || typeof tab.id !== 'number' || !chrome.scripting)
    return '';
  try {
    const results = await chrome.scripting.executeScript({
      target: { tabId: tab.id, frameIds: [frameId || 0] },
      func: () => String(getSelection()),
    });
    const result = results && results[0] && results[0].result;
    return typeof result === 'string' ? result : '';
  } catch (error) {
    return '';
  }
}

// What the entry was chosen on: the selected text, else the link.
async function chosenText(info, tab) {
  if (info.selectionText) {
    const fromPage = await pageSelection(tab, info.frameId);
    // Text selected inside a form field is not part of the page's selection.
    return fromPage.trim() ? fromPage : info.selectionText;
  }
  return info.linkUrl || '';
}

// Copies text to the clipboard as plain text; false when it could not be done.
async function copyToClipboard(text) {
  if (chrome.offscreen) {
    // A Chromium service worker has no document: a hidden page of the extension copies.
    try {
      await chrome.offscreen.createDocument({
        url: 'offscreen.html',
        reasons: ['CLIPBOARD'],
        justification: 'Copies the chosen text for Tacknote.',
      });
    } catch (error) {
      // Already open from an earlier copy.
    }
    try {
      const reply = await chrome.runtime.sendMessage({ target: OFFSCREEN_TARGET, text });
      return Boolean(reply && reply.ok);
    } catch (error) {
      return false;
    } finally {
      try {
        await chrome.offscreen.closeDocument();
      } catch (error) {
        // Closed already.
      }
    }
  }
  try {
    await navigator.clipboard.writeText(text);
    return true;
  } catch (error) {
    return false;
  }
}

// The entry was chosen: copy, then signal. Nothing is signalled when the copy failed, so
// Tacknote never pastes what the clipboard held before.
async function capture(info, tab) {
  const text = await chosenText(info, tab);
  if (!text)
    return false;
  if (!(await copyToClipboard(text))) {
    console.warn('Tacknote: the text could not be copied to the clipboard.');
    return false;
  }
  for (const host of HOSTS) {
    const reply = await sendNative(host.name, { command: 'capture' });
    if (!reply.found)
      continue;
    // Tacknote may have started in another language since the entry was made.
    await retitleMenu(host.title);
    if (!reply.answer.ok)
      console.warn('Tacknote: ' + reply.answer.error);
    return Boolean(reply.answer.ok);
  }
  await refreshMenu();
  return false;
}

chrome.runtime.onInstalled.addListener(() => {
  refreshMenu();
});
chrome.runtime.onStartup.addListener(() => {
  refreshMenu();
});
chrome.contextMenus.onClicked.addListener((info, tab) => {
  if (info.menuItemId === MENU_ID)
    capture(info, tab);
});
