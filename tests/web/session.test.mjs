// The page's session, opened from disk in Debian's chromium: keys taken
// before the model has started, unsaved work kept in the browser and
// offered again by a new page, two pages as two sessions, storage that
// refuses said in the status line, and a game
// folder on disk that saves write into (the origin's private file system
// stands in for the folder a player would choose; a page from disk has no
// such file system, so that page comes from a static web server).

import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, writeFileSync } from 'node:fs';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { choose, companion, examples, launch, pageFile, pageUrl, said as status, saying } from './browser.mjs';

let browser;
let server;
before(async () => {
  const html = readFileSync(pageFile);
  server = createServer((request, response) => response.end(html)).listen(0, '127.0.0.1');
  await new Promise((resolve) => server.on('listening', resolve));
  browser = await launch();
});
after(() => { server?.close(); return browser?.close(); });

async function open(context, url = pageUrl) {
  const page = await context.newPage();
  await page.goto(url);
  await page.waitForSelector('body[data-keeping]');
  return page;
}

// Alt+R restores after the page has read its storage again: the status line
// changes when it is done.
const restore = (page) => saying(page, () => page.keyboard.press('Alt+R'));

// Waits until the browser's storage holds a kept work: within two seconds
// of a change, however busy the machine.
async function kept(page) {
  const count = () => page.evaluate(() => new Promise((resolve) => {
    const request = indexedDB.open('kestrane');
    request.onsuccess = () => {
      const counted = request.result.transaction('unsaved').objectStore('unsaved').count();
      counted.onsuccess = () => { request.result.close(); resolve(counted.result); };
    };
  }));
  for (let tries = 0; (await count()) === 0; ++tries) {
    assert.ok(tries < 40, 'no work was kept within ten seconds');
    await page.waitForTimeout(250);
  }
}

// The example folder through the directory input, and its mission loaded.
async function loadSample(page) {
  await page.evaluate(() => { window.showDirectoryPicker = undefined; });
  await choose(page, 'Choose game folder…', examples);
  await choose(page, 'Load a ".msn" file', path.join(examples, 'sample.msn'));
}

test('what is typed, pressed and saved before the model has started reaches it, in order; a model that cannot start is said', async () => {
  const context = await browser.newContext({ acceptDownloads: true });
  await context.addInitScript(() => { window.requestIdleCallback = (run) => setTimeout(run, 1000); });
  const page = await context.newPage();
  const downloads = [];
  page.on('download', (download) => downloads.push(download.suggestedFilename()));
  await page.goto(pageUrl);
  await page.keyboard.press('Alt+N');
  const file = page.getByRole('textbox', { name: '"***.msn" filename' });
  for (const typed of ['first', 'second']) {
    await file.fill(typed);
    await page.getByRole('button', { name: 'Save!' }).click();
  }
  const name = page.getByRole('textbox', { name: 'Miission name' });
  await name.fill('Dawn patrol');
  await name.press('Enter');
  await page.getByRole('radio', { name: 'Overcast' }).check();
  await page.keyboard.press('F3');
  const year = page.getByRole('region', { name: 'Missions' }).getByRole('columnheader', { name: 'Year' });
  await year.getByRole('button').click();
  assert.equal(await page.evaluate(() => document.body.dataset.ready), undefined);
  await page.waitForSelector('body[data-ready]');
  assert.equal(await name.inputValue(), 'Dawn patrol');
  assert.equal(await status(page), 'Weather: Overcast.');
  assert.deepEqual([downloads.sort(), await year.getAttribute('aria-sort')], [['first.msn', 'second.msn'], 'ascending']);
  await context.close();

  // A browser that cannot start the model says so where the model would.
  const old = await browser.newContext();
  await old.addInitScript(() => { delete window.DecompressionStream; });
  const stuck = await old.newPage();
  await stuck.goto(pageUrl);
  await stuck.waitForFunction(() => document.querySelector('[role=status]').textContent.startsWith('This browser'));
  assert.match(await status(stuck), /^This browser could not start the editor, so nothing you do here is kept or saved; open the page in a current Chromium, Firefox or Safari\. The browser said: .+/);
  await old.close();
});

test('work kept in a closed or reloaded page comes back in a new one, never while its page runs', async () => {
  const context = await browser.newContext();
  const first = await open(context);
  await loadSample(first);
  await first.getByRole('textbox', { name: 'Miission name' }).fill('Dawn patrol');
  await first.getByRole('radio', { name: 'Overcast' }).check();
  await kept(first);

  const second = await open(context);
  await restore(second);
  assert.equal(await status(second), 'No unsaved work is kept but that of 1 editor that is still running.');
  await first.close();
  await second.waitForFunction(async () => (await navigator.locks.query()).held.length === 0);

  const third = await open(context);
  assert.match(await status(third), / The unsaved work "Dawn patrol" from \d{4}-\d\d-\d\d \d\d:\d\d:\d\d is kept: press Alt\+R to restore it\.$/);
  await restore(third);
  assert.match(await status(third), /^Restored the unsaved work "Dawn patrol" from /);
  assert.equal(await third.getByRole('textbox', { name: 'Miission name' }).inputValue(), 'Dawn patrol');
  assert.ok(await third.getByRole('radio', { name: 'Overcast' }).isChecked());
  assert.equal(await third.title(), 'sample.msn* — Kestrane Mission maker');

  // A change made just before a reload is kept as the page is left; Alt+R
  // pressed before the page has read its storage restores it once it has.
  const name = third.getByRole('textbox', { name: 'Miission name' });
  await name.fill('Dusk patrol');
  await name.press('Enter');
  await context.addInitScript(() => { window.requestIdleCallback = (run) => setTimeout(run, 1000); });
  await third.reload();
  await third.keyboard.press('Alt+R');
  await third.waitForFunction(() => /^Restored/.test(document.querySelector('[role=status]').textContent), null, { timeout: 5000 });
  assert.match(await status(third), /^Restored the unsaved work "Dusk patrol" from /);
  await context.close();
});

test('storage that is full or refused is said in the status line', async () => {
  const context = await browser.newContext();
  await context.addInitScript(() => {
    IDBObjectStore.prototype.put = () => { throw new DOMException('The quota has been exceeded.', 'QuotaExceededError'); };
  });
  const full = await open(context);
  await loadSample(full);
  await full.getByRole('radio', { name: 'Overcast' }).check();
  await full.waitForFunction(() => document.querySelector('[role=status]').textContent.startsWith('Your unsaved'), null, { timeout: 4000 });
  assert.equal(await status(full), "Your unsaved work could not be kept in this browser's storage " +
    "(the browser's storage for this page is full); save the mission to keep it.");

  await context.addInitScript(() => { indexedDB.open = () => { throw new DOMException('Access is denied.', 'SecurityError'); }; });
  const refused = await open(context);
  assert.match(await status(refused), / Unsaved work cannot be kept in this browser's storage \(the browser refused its storage: Access is denied\.\): save your missions to keep them\.$/);
  await context.close();
});

// The folder a player chooses, stood in for by a folder of the origin's
// private file system, filled with the files given, and a 17 MB huge.msn.
async function diskFolder(page, files) {
  await page.evaluate(async (files) => {
    const root = await navigator.storage.getDirectory();
    await root.removeEntry('game', { recursive: true }).catch(() => {});
    const folder = await root.getDirectoryHandle('game', { create: true });
    for (const [name, bytes] of Object.entries(files)) {
      const writer = await (await folder.getFileHandle(name, { create: true })).createWritable();
      await writer.write(new Uint8Array(bytes));
      await writer.close();
    }
    const huge = await (await folder.getFileHandle('huge.msn', { create: true })).createWritable();
    await huge.truncate(17 << 20);
    await huge.close();
  }, Object.fromEntries(files.map(([name, bytes]) => [name, [...bytes]])));
}

const onDisk = (page, name) => page.evaluate(async (name) => {
  let at = await (await navigator.storage.getDirectory()).getDirectoryHandle('game');
  const parts = name.split('/');
  for (const part of parts.slice(0, -1)) at = await at.getDirectoryHandle(part);
  if (parts.at(-1) === '*') {
    const names = [];
    for await (const entry of at.keys()) names.push(entry);
    return names;
  }
  const file = await (await at.getFileHandle(parts.at(-1))).getFile();
  return file.size > 4096 ? file.size : [...new Uint8Array(await file.arrayBuffer())];
}, name);

test('a game folder on disk: saves and stamps write into it, a replaced mission copied first, and it is opened again', async () => {
  const context = await browser.newContext({ acceptDownloads: true });
  await context.addInitScript(() => {
    window.showDirectoryPicker = async () => (await navigator.storage.getDirectory()).getDirectoryHandle('game');
  });
  const served = `http://127.0.0.1:${server.address().port}/kestrane.html`;
  const page = await open(context, served);
  const example = (name) => readFileSync(path.join(examples, name));
  const bad = Buffer.from(example('sample.msn'));
  bad[0] ^= 0xFF;  // the stored checksum, wrong
  // A folder from Windows may name its catalogues in any case.
  await diskFolder(page, [['PLANES.TXT', example('planes.txt')],
    ...['targets.txt', 'blocks.txt', 'sample.msn'].map((name) => [name, example(name)]),
    ['other.msn', example('sample.msn')], ['bad.msn', bad], ['gone.msn', example('sample.msn')]]);
  await page.getByRole('button', { name: 'Choose game folder…' }).click();
  await page.waitForFunction(() => document.querySelector('[role=status]').textContent.startsWith('Read 40 aircraft'));
  assert.match(await status(page), / Not read, each larger than the 16 MB the page reads of a file: huge\.msn\.$/);
  // A mission removed from the disk is no longer the page's once it reads the folder again.
  await page.evaluate(async () => (await (await navigator.storage.getDirectory()).getDirectoryHandle('game')).removeEntry('gone.msn'));
  await page.keyboard.press('F3');
  await page.getByRole('region', { name: 'Missions' }).getByRole('button', { name: 'sample.msn' }).click();
  await page.waitForFunction(() => document.querySelector('[role=status]').textContent.startsWith('Loaded'));
  // The rows shown again without gone.msn, the row's button keeps the focus.
  assert.equal(await page.evaluate(() => (document.activeElement.closest('tbody') ? document.activeElement.textContent : document.activeElement.tagName)),
    'sample.msn');
  await page.getByRole('radio', { name: 'Overcast' }).check();
  await page.getByRole('textbox', { name: '"***.msn" filename' }).fill('other');
  let downloaded = false;
  page.on('download', () => { downloaded = true; });
  await page.getByRole('button', { name: 'Save!' }).click();
  await page.waitForFunction(() => document.querySelector('[role=status]').textContent.startsWith('Saved'));
  assert.match(await status(page), /^Saved \/game\/other\.msn, the name typed beside "\*\*\*\.msn" filename:, not the loaded \/game\/sample\.msn, which stays as it was\. The mission it replaced is kept as \/game\/replaced\/other-\d{8}-\d{6}\.msn\.$/);
  await page.waitForTimeout(300);
  const expected = path.join(mkdtempSync(path.join(tmpdir(), 'kestrane-disk-')), 'expected.msn');
  execFileSync(companion, ['set', path.join(examples, 'sample.msn'), 'WeatherSetting=Overcast', '-o', expected]);
  assert.deepEqual(Buffer.from(await onDisk(page, 'other.msn')), readFileSync(expected));
  const copies = await onDisk(page, 'replaced/*');
  assert.equal(copies.length, 1);
  assert.deepEqual(Buffer.from(await onDisk(page, `replaced/${copies[0]}`)), readFileSync(path.join(examples, 'sample.msn')));
  assert.equal(downloaded, false);

  // A file the page did not read is never written over: the save downloads.
  await page.getByRole('textbox', { name: '"***.msn" filename' }).fill('huge');
  const [download] = await Promise.all([page.waitForEvent('download'), page.getByRole('button', { name: 'Save!' }).click()]);
  assert.equal(download.suggestedFilename(), 'huge.msn');
  await page.waitForFunction(() => document.querySelector('[role=status]').textContent.startsWith('Could not'));
  assert.equal(await status(page), 'Could not write huge.msn into the game folder (the file there changed since the page ' +
    'read it, or was not read): it is downloaded instead.');
  assert.equal(await onDisk(page, 'huge.msn'), 17 << 20);

  // Stamp checksums writes the chosen missions it stamps into the folder on disk.
  const missions = page.getByRole('region', { name: 'Missions' });
  for (const file of ['bad.msn', 'sample.msn']) await missions.getByRole('checkbox', { name: file }).check();
  await missions.getByRole('button', { name: 'Stamp checksums' }).click();
  await page.waitForFunction(() => document.querySelector('[role=status]').textContent.startsWith('Stamped'));
  assert.equal(await status(page), 'Stamped the checksum of 1 file; 1 already right.');
  await page.waitForTimeout(300);
  assert.deepEqual(Buffer.from(await onDisk(page, 'bad.msn')), example('sample.msn'));

  // A mission loaded from elsewhere under the name of one in the folder:
  // Ctrl+S keeps the folder's one before it writes over it.
  const elsewhere = path.join(path.dirname(expected), 'sample.msn');
  writeFileSync(elsewhere, readFileSync(expected));
  await choose(page, 'Load a ".msn" file', elsewhere);
  await page.keyboard.press('Control+S');
  await page.waitForFunction(() => document.querySelector('[role=status]').textContent.startsWith('Saved'));
  const copy = /The mission it replaced is kept as \/game\/(replaced\/sample-\d{8}-\d{6}\.msn)\.$/.exec(await status(page));
  await page.waitForTimeout(300);
  assert.deepEqual(Buffer.from(await onDisk(page, copy[1])), example('sample.msn'));

  // A page opened later reads the folder again, then says what work is kept.
  await page.getByRole('radio', { name: 'Clear' }).check();
  await page.close();
  const again = await open(context, served);
  assert.match(await status(again), /^Read 40 aircraft .* The unsaved work "Channel sweep" from [\d-]+ [\d:]+ is kept: press Alt\+R to restore it\.$/);

  // The folder removed from the disk: the save that finds it so does nothing, and says so.
  await again.evaluate(async () => (await navigator.storage.getDirectory()).removeEntry('game', { recursive: true }));
  downloaded = false;
  again.on('download', () => { downloaded = true; });
  await again.getByRole('button', { name: 'Save!' }).click();
  await again.waitForFunction(() => document.querySelector('[role=status]').textContent.startsWith('The game folder'));
  assert.match(await status(again), /^The game folder on disk could not be read again \(.+\), and nothing was changed: saves are downloaded from now on; choose the folder again to save into it\.$/);
  assert.equal(downloaded, false);
  await context.close();
});
