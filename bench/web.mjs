// The browser edition's figures for `make bench`, printed for bench/run.sh
// to show and keep: build/web/kestrane.html's size; its start-up in
// headless chromium, from opening the file to the first key the sheet
// takes, against a copy of the ready sheet with no script; and a load, an
// option edit and a save through the model's bindings in the page, beside
// the desktop model's same calls.
//
// node bench/web.mjs BUILD RUNS LOAD_US EDIT_US SAVE_US
//   BUILD    the bench build folder; the static copy is written there
//   RUNS     start-up runs of each case
//   *_US     the desktop's CPU time per call (BM_Load, BM_EditOptionClick,
//            BM_Save), or empty when the core benchmarks have none

import { existsSync, readFileSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { gzipSync } from 'node:zlib';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '..');
const pageFile = path.join(root, 'build/web/kestrane.html');
const chromiumPath = '/usr/bin/chromium';
const [build, runsArg, ...desktopArgs] = process.argv.slice(2);
const runs = Math.max(15, Number(runsArg) || 25);  // a median of fewer runs says little on a shared machine
const desktop = { load: desktopArgs[0], edit: desktopArgs[1], save: desktopArgs[2] };
const staticFile = path.join(build, 'web-static.html');
const key = 'K';
const maxRaw = 1_000_000;  // bytes
const maxRatio = 1.3;

const say = (line = '') => console.log(line);
const verdict = (met) => (met ? 'met' : 'MISSED');
const thousands = (n) => Math.round(n).toLocaleString('en');
const sorted = (values) => [...values].sort((a, b) => a - b);
const at = (values, q) => sorted(values)[Math.min(values.length - 1, Math.floor(q * values.length))];
function median(values) {
  const s = sorted(values), mid = s.length >> 1;
  return s.length % 2 ? s[mid] : (s[mid - 1] + s[mid]) / 2;
}
// The spread of a case: lowest..highest, and the middle half (the
// quartiles), which a single slow run does not move.
const spread = (values) => {
  const f = (q) => at(values, q).toFixed(1);
  return `spread ${f(0)}..${f(1)} ms, middle half ${f(0.25)}..${f(0.75)} ms`;
};

function showSize() {
  const bytes = readFileSync(pageFile);
  const gzipped = gzipSync(bytes, { level: 9 }).length;
  say(`  size of build/web/kestrane.html: ${thousands(bytes.length)} bytes, ${thousands(gzipped)} gzipped (gzip -9)` +
    `  (target under 1 MB raw: ${verdict(bytes.length < maxRaw)})`);
}

// Polls until the check holds; each poll is one round trip to the page,
// a millisecond or two, so the wait adds as little to a quick page as to
// a slow one.
async function until(check, what) {
  const deadline = performance.now() + 30_000;
  for (;;) {
    if (await check().catch(() => false)) return;
    if (performance.now() > deadline) throw new Error(`gave up waiting for ${what}`);
  }
}

// One start-up, in a fresh browser context: no cache, storage or renderer
// of an earlier run is there. Timed from the request to open the file to
// the key shown in the box: the box must exist, take the focus and take
// the key.
async function startUp(browser, url, boxId) {
  const context = await browser.newContext();
  const tab = await context.newPage();
  const t0 = performance.now();
  await tab.goto(url, { waitUntil: 'commit' });
  await until(() => tab.evaluate((id) => {
    const box = document.getElementById(id);
    box?.focus();
    return box !== null && document.activeElement === box;
  }, boxId), 'the box');
  await tab.keyboard.press(key);
  await until(() => tab.evaluate(([id, k]) => document.getElementById(id).value === k, [boxId, key]), 'the key');
  const ms = performance.now() - t0;
  await context.close();
  return ms;
}

// Opens the page until it is ready and returns it with the id of the box
// the key goes to.
async function readyPage(browser) {
  const context = await browser.newContext();
  const tab = await context.newPage();
  await tab.goto(pathToFileURL(pageFile).href);
  await tab.waitForSelector('body[data-ready]');
  const boxId = await tab.getByRole('textbox', { name: 'Miission name' }).getAttribute('id');
  return { context, tab, boxId };
}

// The ready sheet copied as a page of its own: the same elements, places,
// texts and style, with every value the script set as a property written
// as an attribute, and no script.
async function writeStaticCopy(browser) {
  const { context, tab, boxId } = await readyPage(browser);
  const html = await tab.evaluate(() => {
    for (const input of document.querySelectorAll('input')) {
      if (input.type === 'checkbox' || input.type === 'radio') input.toggleAttribute('checked', input.checked);
      else if (input.type !== 'file') input.setAttribute('value', input.value);
    }
    for (const option of document.querySelectorAll('option')) option.toggleAttribute('selected', option.selected);
    for (const script of document.querySelectorAll('script')) script.remove();
    delete document.body.dataset.ready;
    return `<!DOCTYPE html>\n${document.documentElement.outerHTML}\n`;
  });
  await context.close();
  if (/<script/i.test(html)) throw new Error('the static copy still holds a script');
  writeFileSync(staticFile, html);
  return boxId;
}

// The browser is started once and shared by every run: its own start is a
// cost of neither page, and each run's fresh context keeps the runs apart.
// One untimed run of each case goes first, so that neither case alone pays
// for the browser's first pages (the files read from disk, the fonts).
async function compareStartUps(browser) {
  const boxId = await writeStaticCopy(browser);
  const urls = { page: pathToFileURL(pageFile).href, copy: pathToFileURL(staticFile).href };
  const times = { page: [], copy: [] };
  for (const name of ['page', 'copy']) await startUp(browser, urls[name], boxId);
  // The order turns each round, so that no case always runs first.
  for (let i = 0; i < runs; ++i) {
    for (const name of i % 2 ? ['copy', 'page'] : ['page', 'copy']) times[name].push(await startUp(browser, urls[name], boxId));
  }
  const ratio = median(times.page) / median(times.copy);
  say(`  start-up, from opening the file to "${key}" shown in the "Miission name" box (${runs} runs each, interleaved,`);
  say(`  a fresh browser context each run; the static copy is ${path.relative(root, staticFile)}, ` +
    `${thousands(readFileSync(staticFile).length)} bytes):`);
  const line = (label, values) => say(`    ${label.padEnd(42)} median ${median(values).toFixed(1).padStart(6)} ms  (${spread(values)})`);
  line('the page', times.page);
  line('static copy of its ready sheet, no script', times.copy);
  say(`    ratio ${ratio.toFixed(2)} (target within ${maxRatio}×): ${verdict(ratio <= maxRatio)}`);
  say(`    all runs (ms): page: ${times.page.map((t) => t.toFixed(1)).join(' ')}`);
  say(`                   copy: ${times.copy.map((t) => t.toFixed(1)).join(' ')}`);
}

// Runs in the page: a model of its own, made by the module the page holds,
// over a game folder of catalogues as long as the desktop benchmark's (100
// aircraft, 100 targets, 32 blocks). Returns microseconds per call of each
// operation, one figure per batch (timeBatches).
async function timeOperations({ mission, yearId, fileNameId, batches, batchMs }) {
  // The page's global, given the WebAssembly the page holds packed, as
  // the page gives it.
  const packed = document.getElementById('wasm').textContent.trim();
  const unpacked = (await fetch(`data:application/gzip;base64,${packed}`)).body.pipeThrough(new DecompressionStream('gzip'));
  const M = await KestraneModule({ wasmBinary: await new Response(unpacked).arrayBuffer() });
  const folder = M.gameFolder();
  const lines = (stem, n) => Array.from({ length: n }, (_, i) => `${stem} ${i} (Northern sector)\n`).join('');
  const [planes, targets, blocks] = M.catalogueNames();
  M.FS.mkdir(folder);
  M.FS.writeFile(`${folder}/${planes}`, lines('Aircraft', 100));
  M.FS.writeFile(`${folder}/${targets}`, lines('Target', 100));
  M.FS.writeFile(`${folder}/${blocks}`, lines('Block', 32));
  M.FS.writeFile(`${folder}/bench.msn`, new Uint8Array(mission));
  const model = new M.Page();
  const controls = M.sheet().controls;
  const status = controls.find((c) => c.kind === 'status').id;
  const saveButton = controls.find((c) => c.kind === 'button' && model.text(c.id) === 'Save!').id;
  const expect = (start) => {
    if (!model.text(status).startsWith(start)) throw new Error(`the page's model said: ${model.text(status)}`);
  };
  const load = () => model.load(`${folder}/bench.msn`);
  const times = { load: timeBatches(load, batches, batchMs) };
  expect('Loaded ');
  // Each batch of edits starts from a fresh load, so the undo history does
  // not grow through the whole run.
  times.edit = timeBatches((i) => model.click(yearId, i & 3), batches, batchMs, load);
  expect('Year: ');
  model.type(fileNameId, 'bench-out');
  times.save = timeBatches(() => model.click(saveButton, -1), batches, batchMs);
  expect('Saved ');
  model.delete();
  return times;
}

// Runs in the page: its own year buttons clicked, each click forwarded to
// the page's model and every control shown again, as a user's click is.
function timeRadioClicks({ yearId, batches, batchMs }) {
  const radios = document.querySelectorAll(`input[name="c${yearId}"]`);
  return timeBatches((i) => radios[i & 3].click(), batches, batchMs);
}

// Runs in the page. The page's clock is coarse (0.1 ms without cross-origin
// isolation), so calls are timed in batches: the calls of a batch double
// until one takes batchMs (which also warms the code up), then each batch
// gives one figure, in microseconds per call. setUp runs before each batch,
// untimed.
function timeBatches(call, batches, batchMs, setUp = () => {}) {
  const batch = (calls) => {
    setUp();
    const t0 = performance.now();
    for (let i = 0; i < calls; ++i) call(i);
    return performance.now() - t0;
  };
  let calls = 16;
  while (batch(calls) < batchMs) calls *= 2;
  return Array.from({ length: batches }, () => (batch(calls) * 1000) / calls);
}

// Chooses files in one of the page's file inputs and waits for the model
// to say what it did.
async function choose(tab, input, files, said) {
  await tab.setInputFiles(input, files);
  await tab.waitForFunction((start) => document.querySelector('[role=status]').textContent.startsWith(start), said);
}

async function compareOperations(browser) {
  const batches = 31, batchMs = 10;
  const { context, tab } = await readyPage(browser);
  const idOf = async (locator, attribute) => Number((await locator.getAttribute(attribute)).slice(1));
  const yearId = await idOf(tab.getByRole('radio', { name: '1944' }), 'name');
  const fileNameId = await idOf(tab.getByRole('textbox', { name: '"***.msn" filename' }), 'id');
  const mission = [...readFileSync(path.join(root, 'examples/sample.msn'))];
  await tab.evaluate(`globalThis.timeBatches = ${timeBatches}`);  // for the functions run in the page
  const page = await tab.evaluate(timeOperations, { mission, yearId, fileNameId, batches, batchMs });
  await choose(tab, '#game-folder', path.join(root, 'examples'), 'Read ');
  await choose(tab, '#mission-file', path.join(root, 'examples/sample.msn'), 'Loaded ');
  const clicks = await tab.evaluate(timeRadioClicks, { yearId, batches, batchMs });
  await context.close();

  say(`  a load, an option edit and a save through the model's bindings in the page (wall time, median of ${batches}`);
  say(`  batches of ${batchMs} ms or more), beside the desktop model's same calls (CPU time, core benchmarks above):`);
  say(`    ${'operation'.padEnd(42)} ${'page us'.padStart(9)} ${'desktop us'.padStart(11)}  page/desktop`);
  const line = (label, values, desktopUs) => {
    const us = median(values);
    const ratio = desktopUs ? (us / Number(desktopUs)).toFixed(2) : '-';
    say(`    ${label.padEnd(42)} ${us.toFixed(2).padStart(9)} ${(desktopUs || '-').padStart(11)}  ${ratio}`);
  };
  line('load (BM_Load)', page.load, desktop.load);
  line('option edit, a year (BM_EditOptionClick)', page.edit, desktop.edit);
  line('save, Save! (BM_Save)', page.save, desktop.save);
  say('    the page saves into its memory files, the desktop to disk with fsync.');
  say(`    a click on the page's own year button, the page's model told and every control shown again`);
  say(`    (no paint): ${median(clicks).toFixed(2)} us`);
}

async function main() {
  say('== Browser edition: build/web/kestrane.html ==');
  if (!existsSync(pageFile)) return say('  build/web/kestrane.html is missing (make web builds it): browser figures skipped.');
  showSize();
  let chromium;
  try {
    chromium = createRequire(path.join(root, 'tests/web/package.json'))('playwright-core').chromium;
  } catch {
    return say('  playwright-core is not installed in tests/web (make deps installs it): start-up and operations skipped.');
  }
  if (!existsSync(chromiumPath)) return say(`  ${chromiumPath} is missing (make deps installs it): start-up and operations skipped.`);
  const browser = await chromium.launch({
    executablePath: chromiumPath,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
      '--disable-component-update', '--no-first-run', '--disable-sync'],
  });
  try {
    say(`  headless chromium ${browser.version()}`);
    await compareStartUps(browser);
    await compareOperations(browser);
  } finally {
    await browser.close();
  }
}

await main();
