// The browser edition's page in Debian's chromium, opened from disk: the
// game folder and a mission chosen through the browser's file choosers, an
// edit of every kind, the save downloaded and compared with what the
// command-line companion writes for the same changes, a refusal in the
// model's words, undo, the arranged places, and no accessibility faults.

import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import path from 'node:path';
import * as shared from './browser.mjs';

const { examples, companion } = shared;

let browser;
let page;

before(async () => {
  browser = await shared.launch();
  // A browser without the File System Access API (Firefox, say): the game
  // folder is read through the directory input, and saves are downloads.
  const context = await browser.newContext({ acceptDownloads: true });
  await context.addInitScript(() => { delete window.showDirectoryPicker; });
  page = await context.newPage();
  await page.goto(shared.pageUrl);
  await page.waitForSelector('body[data-ready]');
});

after(() => browser?.close());

const status = () => shared.said(page);
const choose = (button, files) => shared.choose(page, button, files);

test('the game folder and a mission load through the file choosers', async () => {
  await choose('Choose game folder…', examples);
  assert.equal(await status(), 'Read 40 aircraft and 40 places from /game; missions are saved there now.');
  await choose('Load a ".msn" file', path.join(examples, 'sample.msn'));
  assert.equal(await status(), 'Loaded /game/sample.msn.');
  assert.equal(await page.title(), 'sample.msn — Kestrane Mission maker');
  assert.equal(await page.getByRole('textbox', { name: 'Miission name' }).inputValue(), 'Channel sweep');
});

test('an edit of every kind, saved, is what the companion writes for the same changes', async () => {
  await page.getByRole('group', { name: 'Weather' }).getByRole('radio', { name: 'Overcast' }).check();
  const altitude = page.getByRole('textbox', { name: 'Attack Primary' });
  await altitude.fill('12000');
  await altitude.press('Enter');
  await page.getByRole('checkbox', { name: 'Instant Action' }).click();
  await page.getByRole('listbox', { name: 'Aircraft' }).selectOption({ index: 3 });
  await page.getByRole('button', { name: /^Attack plane 2: / }).click();
  assert.equal(await page.getByRole('button', { name: /^Attack plane 2: / }).getAttribute('aria-label'),
    'Attack plane 2: 3:Hurricane Mk I');
  await page.getByRole('listbox', { name: 'Target/Home Base' }).selectOption({ index: 7 });
  await page.getByRole('button', { name: /^Target: / }).click();
  await page.getByRole('textbox', { name: '"***.msn" filename' }).fill('edited');
  const [download] = await Promise.all([page.waitForEvent('download'), page.getByRole('button', { name: 'Save!' }).click()]);
  assert.equal(download.suggestedFilename(), 'edited.msn');
  assert.equal(await status(), 'Saved /game/edited.msn.');
  const saved = readFileSync(await download.path());

  const expected = path.join(mkdtempSync(path.join(tmpdir(), 'kestrane-page-')), 'expected.msn');
  execFileSync(companion, ['set', path.join(examples, 'sample.msn'), 'WeatherSetting=Overcast',
    'AttackPrimaryAltitude=12000', 'InstantActionFlag=off', 'AttackPlane2Type=3', 'TargetNumber=7',
    '--catalogues', examples, '-o', expected]);
  assert.equal(saved.length, 400);
  assert.deepEqual(saved, readFileSync(expected));
});

test('a refused number says what the desktop says and keeps the focus in its box', async () => {
  const count = page.getByRole('textbox', { name: 'Number of aircraft' });
  await count.fill('999');
  await count.press('Enter');
  assert.equal(await status(),
    'Number of aircraft: "999" reads as 999, above 255; enter a whole number from 0 to 255. Nothing was stored.');
  assert.ok(await count.evaluate((box) => box === document.activeElement));
  await count.fill('4');
  await count.press('Enter');
});

test('undo and redo from the keyboard, outside a box', async () => {
  const overcast = page.getByRole('radio', { name: 'Overcast' });
  await overcast.focus();
  await page.keyboard.press('Control+Z');
  assert.equal(await status(), 'Undone: Target went back from 7:Southampton docks to 5:Tangmere airfield.');
  // Ctrl+Y where the layout gives the key another character (a Cyrillic one).
  await overcast.dispatchEvent('keydown', { key: 'н', code: 'KeyY', ctrlKey: true, bubbles: true, cancelable: true });
  assert.match(await status(), /^Redone: Target changed from /);
});

test('the missions panel lists the game folder with the save, sorts by a header (again: the other way round), filters, compares two chosen and opens a row', async () => {
  await page.keyboard.press('F3');
  const panel = page.getByRole('region', { name: 'Missions' });
  const rows = await panel.getByRole('row').allInnerTexts();
  assert.deepEqual(rows.map((row) => row.split('\t').slice(0, 5)), [
    ['File', 'Mission name', 'Year', 'Time of day', 'Weather'],
    ['edited.msn', 'Channel sweep', '1944', 'Day', 'Overcast'],
    ['sample.msn', 'Channel sweep', '1944', 'Day', 'Clear']]);
  const files = () => panel.getByRole('rowheader').allInnerTexts();
  const weather = panel.getByRole('columnheader', { name: 'Weather' });
  await weather.getByRole('button').click();
  assert.deepEqual([await files(), await weather.getAttribute('aria-sort')], [['sample.msn', 'edited.msn'], 'ascending']);
  assert.equal(await panel.getByRole('columnheader', { name: 'File' }).getAttribute('aria-sort'), null);
  await weather.getByRole('button').press('Enter');
  assert.deepEqual([await files(), await weather.getAttribute('aria-sort')], [['edited.msn', 'sample.msn'], 'descending']);
  const filter = panel.getByRole('searchbox', { name: 'Filter:' });
  await filter.fill('OVERCAST');
  assert.deepEqual(await files(), ['edited.msn']);
  await filter.fill('');
  await panel.getByRole('checkbox', { name: 'edited.msn' }).check();
  await panel.getByRole('button', { name: 'Compare', exact: true }).click();
  assert.equal(await status(), 'Select two missions to compare (1 selected). Nothing was compared.');
  await panel.getByRole('checkbox', { name: 'sample.msn' }).check();
  await panel.getByRole('button', { name: 'Compare', exact: true }).click();
  assert.match(await status(), /^edited\.msn and sample\.msn differ in \d+ places: see the Differences box of Missions\.$/);
  assert.match(await panel.getByRole('textbox', { name: 'Differences' }).inputValue(), /Weather/);
  const said = await status();
  await filter.press('Control+Z');  // the filter's own typing, not the mission's last change
  assert.equal(await status(), said);
  await filter.fill('');
  await panel.getByRole('button', { name: 'sample.msn' }).click();
  assert.equal(await status(), 'Loaded /game/sample.msn.');
});

test('an option, a list and a slot work from the keyboard', async () => {
  await page.getByRole('radio', { name: '1944' }).focus();
  await page.keyboard.press('ArrowRight');
  assert.equal(await status(), 'Year: 1945.');
  await page.getByRole('listbox', { name: 'Aircraft' }).focus();
  await page.keyboard.press('End');
  await page.getByRole('button', { name: /^Enemy secondary: / }).focus();
  await page.keyboard.press('Space');
  assert.equal(await status(), 'Enemy secondary: None.');
});

test('a mission\'s Compare opens the inspector, each byte beside the file\'s, the changed ones marked; F2 hides it, the focus back on Compare', async () => {
  const edited = page.getByRole('region', { name: 'Missions' }).getByRole('row')
    .filter({ has: page.getByRole('button', { name: 'edited.msn' }) });
  await edited.getByRole('button', { name: 'Compare with...' }).click();
  assert.equal(await status(), 'Comparing with /game/edited.msn: 20 bytes differ.');
  const rows = page.getByRole('region', { name: 'Inspector' }).getByRole('row');
  assert.equal(await rows.count(), 401);
  assert.deepEqual((await rows.nth(1 + 272).innerText()).split('\t'),
    ['272', '110', '03', '3', '', 'YearSetting', 'YearSetting (272); 273-275 spare', 'changed', '02', 'differs']);
  await page.keyboard.press('F2');
  assert.equal(await rows.count(), 0);
  assert.ok(await edited.getByRole('button', { name: 'Compare' }).evaluate((button) => button === document.activeElement));
  await page.keyboard.press('F2');
});

test('a list entry\'s menu from the keyboard puts the entry into the slot chosen; Escape closes it', async () => {
  const aircraft = page.getByRole('listbox', { name: 'Aircraft' });
  await aircraft.focus();
  await page.keyboard.press('Home');
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('Shift+F10');
  const menu = page.getByRole('menu');
  assert.deepEqual(await menu.getByRole('menuitem').allInnerTexts(),
    ['Use as Attack plane 1', 'Use as Attack plane 2', 'Use as Enemy primary', 'Use as Enemy secondary']);
  await page.keyboard.press('Escape');
  assert.equal(await menu.count(), 0);
  assert.ok(await aircraft.evaluate((list) => list === document.activeElement));
  await page.keyboard.press('Shift+F10');
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('Enter');
  assert.equal(await page.getByRole('button', { name: /^Attack plane 2: / }).getAttribute('aria-label'), 'Attack plane 2: 1:Spitfire Mk V');
});

// Drops files on the sheet as the browser does, from a DataTransfer made in
// the page; each file is [name, its bytes].
async function drop(files) {
  const before = await status();
  const data = await page.evaluateHandle((files) => {
    const transfer = new DataTransfer();
    for (const [name, bytes] of files) transfer.items.add(new File([new Uint8Array(bytes)], name));
    return transfer;
  }, files.map(([name, bytes]) => [name, [...bytes]]));
  await page.dispatchEvent('#sheet', 'drop', { dataTransfer: data });
  await page.waitForFunction((said) => document.querySelector('[role=status]').textContent !== said, before);
}

test('a dropped mission loads, dropped catalogues become the game folder, and other drops are refused', async () => {
  const file = (name) => [name, readFileSync(path.join(examples, name))];
  await drop([file('planes.txt'), ['sample.msn', readFileSync(path.join(examples, 'sample.msn'))]]);
  assert.equal(await status(), 'Drop one mission file to load it, or the game folder or its catalogues to read them: ' +
    '2 items were dropped. Nothing was changed.');
  await drop([file('planes.txt'), file('targets.txt'), file('blocks.txt')]);
  assert.equal(await status(), 'Read 40 aircraft and 40 places from /game; missions are saved there now.');
  assert.deepEqual(await page.getByRole('region', { name: 'Missions' }).getByRole('rowheader').allInnerTexts(), []);
  await drop([['dropped.msn', readFileSync(path.join(examples, 'sample.msn'))]]);
  assert.equal(await status(), 'Loaded /game/dropped.msn. Your unsaved changes are kept: Alt+R brings them back.');
  assert.equal(await page.title(), 'dropped.msn — Kestrane Mission maker');
});

test('Save! stands where the arrangement puts it, in pixels of 15 twips', async () => {
  const sheet = await page.locator('#sheet').boundingBox();
  const save = await page.getByRole('button', { name: 'Save!' }).boundingBox();
  assert.deepEqual([save.x - sheet.x, save.y - sheet.y, save.width, save.height], [210, 86, 53, 45]);
});

test('F1 lists the keys the browser leaves to the page; axe finds no accessibility violation, the panels and an entry\'s menu shown', async () => {
  await page.keyboard.press('F1');
  const keys = await page.getByRole('region', { name: 'Keyboard shortcuts' }).getByRole('row').allInnerTexts();
  assert.ok(keys.includes('Alt+R\tRestore unsaved work') && keys.includes('Alt+N\tNew mission'), keys.join('\n'));
  await page.getByRole('listbox', { name: 'Target/Home Base' }).focus();
  await page.keyboard.press('Home');
  await page.keyboard.press('Shift+F10');
  await page.getByRole('menu').waitFor();
  const axe = createRequire(import.meta.url).resolve('axe-core/axe.min.js');
  await page.addScriptTag({ content: readFileSync(axe, 'utf8') });
  const violations = await page.evaluate(async () => (await window.axe.run()).violations);
  assert.deepEqual(violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target).join(', ')}`), []);
});
