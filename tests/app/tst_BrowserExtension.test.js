// The browser extension's scripts, run by Node's own test runner against a small fake of
// the browser's extension API.
'use strict';

const test = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const vm = require('node:vm');

// The extension as shipped, in the repository's data folder.
const extension = path.resolve(__dirname, '..', '..', 'data', 'browser');
const read = (file) => fs.readFileSync(path.join(extension, file), 'utf8');
// Values made inside the scripts' own realm, as plain values of this one.
const plain = (value) => JSON.parse(JSON.stringify(value));

const PORTUGUESE = 'tacknote.capture.ptb';
const ENGLISH = 'tacknote.capture.enu';

// A browser with the given native hosts registered (name -> function answering a
// message). chromium: a service worker with offscreen documents, else Firefox's event
// page with navigator.clipboard. page: what the page's selection holds, or an Error when
// the page cannot be scripted.
function fakeBrowser({ hosts = {}, chromium = true, page = '', copyWorks = true } = {}) {
  const log = []; // what reached the outside world, in order
  const menus = new Map();
  const listeners = { installed: [], startup: [], clicked: [], message: [] };
  const chrome = {
    runtime: {
      lastError: undefined,
      onInstalled: { addListener: (f) => listeners.installed.push(f) },
      onStartup: { addListener: (f) => listeners.startup.push(f) },
      onMessage: { addListener: (f) => listeners.message.push(f) },
      sendNativeMessage(host, message, callback) {
        setImmediate(() => {
          if (!(host in hosts)) {
            chrome.runtime.lastError = { message: 'Specified native messaging host not found.' };
            callback(undefined);
            chrome.runtime.lastError = undefined;
            return;
          }
          log.push(['native', host, String(message.command)]);
          callback(hosts[host](message));
        });
      },
      async sendMessage(message) {
        // To the offscreen document, when one is open.
        if (!offscreenOpen)
          throw new Error('Could not establish connection. Receiving end does not exist.');
        log.push(['clipboard', String(message.text)]);
        return { ok: copyWorks };
      },
    },
    contextMenus: {
      onClicked: { addListener: (f) => listeners.clicked.push(f) },
      create(item, callback) {
        if (menus.has(item.id))
          chrome.runtime.lastError = { message: 'Cannot create item with duplicate id' };
        else
          menus.set(item.id, { ...item });
        callback();
        chrome.runtime.lastError = undefined;
      },
      update(id, changes, callback) {
        if (menus.has(id))
          Object.assign(menus.get(id), changes);
        else
          chrome.runtime.lastError = { message: 'Cannot find menu item with id ' + id };
        callback();
        chrome.runtime.lastError = undefined;
      },
      removeAll(callback) {
        menus.clear();
        callback();
      },
    },
    scripting: {
      async executeScript({ target, func }) {
        if (page instanceof Error)
          throw page;
        assert.equal(typeof func, 'function');
        return [{ frameId: target.frameIds[0], result: page }];
      },
    },
  };
  let offscreenOpen = false;
  if (chromium) {
    chrome.offscreen = {
      async createDocument({ url, reasons }) {
        if (offscreenOpen)
          throw new Error('Only a single offscreen document may be created.');
        assert.equal(url, 'offscreen.html');
        assert.deepEqual(plain(reasons), ['CLIPBOARD']);
        offscreenOpen = true;
      },
      async closeDocument() {
        offscreenOpen = false;
      },
    };
  }
  const navigator = {
    clipboard: {
      async writeText(text) {
        if (!copyWorks)
          throw new Error('Clipboard write was blocked');
        log.push(['clipboard', String(text)]);
      },
    },
  };
  const context = vm.createContext({ chrome, navigator: chromium ? {} : navigator, console });
  vm.runInContext(read('background.js'), context, { filename: 'background.js' });
  return { context, log, menus, listeners };
}

const running = { hello: { ok: true, program: 'Tacknote' }, capture: { ok: true } };
const host = (answers = running) => (message) => answers[message.command];

test('the menu entry speaks the language of the registered host', async (t) => {
  const cases = [
    { name: 'Portuguese', hosts: { [PORTUGUESE]: host() }, title: 'Copiar para o T&acknote' },
    { name: 'English', hosts: { [ENGLISH]: host() }, title: 'Copy to T&acknote' },
    { name: 'none registered', hosts: {}, title: null },
  ];
  for (const c of cases) {
    await t.test(c.name, async () => {
      const browser = fakeBrowser({ hosts: c.hosts });
      await browser.context.refreshMenu();
      const items = [...browser.menus.values()];
      if (c.title === null) {
        assert.equal(items.length, 0);
        return;
      }
      assert.equal(items.length, 1);
      assert.equal(items[0].title, c.title);
      assert.deepEqual(plain(items[0].contexts), ['selection', 'link']);
    });
  }
});

test('the entry is made at install and at browser start, and only its clicks capture', () => {
  const browser = fakeBrowser();
  const calls = [];
  browser.context.refreshMenu = () => calls.push('refresh');
  browser.context.capture = (info) => calls.push('capture ' + info.menuItemId);
  assert.equal(browser.listeners.installed.length, 1);
  assert.equal(browser.listeners.startup.length, 1);
  browser.listeners.installed[0]({ reason: 'install' });
  browser.listeners.startup[0]();
  browser.listeners.clicked[0]({ menuItemId: 'other-extension-item' }, { id: 1 });
  browser.listeners.clicked[0]({ menuItemId: 'tacknote-capture' }, { id: 1 });
  assert.deepEqual(calls, ['refresh', 'refresh', 'capture tacknote-capture']);
});

test('a capture copies the chosen text as plain text, then signals', async (t) => {
  const cases = [
    {
      name: 'the page selection keeps its line breaks',
      info: { selectionText: 'one two', frameId: 3 },
      page: 'one\ntwo',
      copied: 'one\ntwo',
    },
    {
      name: 'a selection inside a form field',
      info: { selectionText: 'typed text' },
      page: '',
      copied: 'typed text',
    },
    {
      name: 'a page that cannot be scripted',
      info: { selectionText: 'from the menu' },
      page: new Error('Cannot access contents of the page'),
      copied: 'from the menu',
    },
    {
      name: 'a link',
      info: { linkUrl: 'https://example.org/a?b=1&c=2' },
      copied: 'https://example.org/a?b=1&c=2',
    },
    {
      name: 'selected link text',
      info: { selectionText: 'label', linkUrl: 'https://example.org/' },
      page: 'label',
      copied: 'label',
    },
  ];
  for (const chromium of [true, false]) {
    for (const c of cases) {
      await t.test(`${c.name} (${chromium ? 'Chromium' : 'Firefox'})`, async () => {
        const browser = fakeBrowser({ hosts: { [ENGLISH]: host() }, chromium, page: c.page });
        const ok = await browser.context.capture(
          { menuItemId: 'tacknote-capture', ...c.info }, { id: 7 });
        assert.equal(ok, true);
        assert.deepEqual(browser.log, [
          ['clipboard', c.copied],
          ['native', ENGLISH, 'capture'],
        ]);
      });
    }
  }
});

test('nothing is signalled when nothing could be copied', async (t) => {
  const cases = [
    { name: 'nothing chosen', info: {}, copyWorks: true },
    { name: 'the clipboard refused (Chromium)', info: { linkUrl: 'x' }, copyWorks: false },
    {
      name: 'the clipboard refused (Firefox)',
      info: { linkUrl: 'x' },
      copyWorks: false,
      chromium: false,
    },
  ];
  for (const c of cases) {
    await t.test(c.name, async () => {
      const browser = fakeBrowser({
        hosts: { [PORTUGUESE]: host() },
        copyWorks: c.copyWorks,
        chromium: c.chromium !== false,
      });
      const warn = console.warn;
      console.warn = () => {};
      try {
        assert.equal(await browser.context.capture(c.info, { id: 1 }), false);
      } finally {
        console.warn = warn;
      }
      assert.deepEqual(browser.log.filter((entry) => entry[0] === 'native'), []);
    });
  }
});

test('the entry follows the host registered now', async (t) => {
  await t.test('the program restarted in another language', async () => {
    const hosts = { [PORTUGUESE]: host() };
    const browser = fakeBrowser({ hosts });
    await browser.context.refreshMenu();
    delete hosts[PORTUGUESE];
    hosts[ENGLISH] = host();
    assert.equal(await browser.context.capture({ linkUrl: 'x' }, { id: 1 }), true);
    assert.equal(browser.menus.get('tacknote-capture').title, 'Copy to T&acknote');
  });
  await t.test('no host registered any more', async () => {
    const browser = fakeBrowser({ hosts: {} });
    browser.menus.set('tacknote-capture', { id: 'tacknote-capture', title: 'Copy to T&acknote' });
    assert.equal(await browser.context.capture({ linkUrl: 'x' }, { id: 1 }), false);
    assert.equal(browser.menus.size, 0);
  });
  await t.test('the program is not running', async () => {
    const notRunning = { ...running, capture: { ok: false, error: 'Tacknote is not running' } };
    const browser = fakeBrowser({ hosts: { [PORTUGUESE]: host(notRunning) } });
    const warnings = [];
    const warn = console.warn;
    console.warn = (text) => warnings.push(text);
    try {
      assert.equal(await browser.context.capture({ linkUrl: 'x' }, { id: 1 }), false);
    } finally {
      console.warn = warn;
    }
    assert.deepEqual(warnings, ['Tacknote: Tacknote is not running']);
  });
});

test('the manifest declares what the browsers need', () => {
  const manifest = JSON.parse(read('manifest.json'));
  assert.equal(manifest.manifest_version, 3);
  assert.equal(manifest.background.service_worker, 'background.js');
  assert.deepEqual(manifest.background.scripts, ['background.js']);
  for (const permission of ['contextMenus', 'nativeMessaging', 'clipboardWrite'])
    assert.ok(manifest.permissions.includes(permission), permission);

  // Which extension the program's registration lets start the host is checked on the
  // program's side (tst_Capture), against this manifest.
  assert.match(manifest.key, /^[A-Za-z0-9+/]+=*$/);
  assert.ok(manifest.browser_specific_settings.gecko.id);

  // The context menu shows the program's picture: each size the browsers ask for is a
  // PNG of that size (its header holds width and height).
  assert.deepEqual(Object.keys(manifest.icons).sort(), ['128', '16', '32', '48']);
  for (const [size, file] of Object.entries(manifest.icons)) {
    const png = fs.readFileSync(path.join(extension, file));
    assert.equal(png.toString('latin1', 1, 4), 'PNG', file);
    assert.deepEqual([png.readUInt32BE(16), png.readUInt32BE(20)], [+size, +size], file);
  }

  for (const locale of ['pt_BR', 'en']) {
    const messages = JSON.parse(read(`_locales/${locale}/messages.json`));
    assert.ok(messages.extensionName.message);
    assert.ok(messages.extensionDescription.message);
  }
});
