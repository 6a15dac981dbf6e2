// Makes the page one file: the HTML template with the style, the page's
// script, what the page shows before its module has started, and the
// module. The module is built as one script holding its WebAssembly as a
// data address; here the WebAssembly is taken out of it, and each is
// gzipped as base64 (together a third of the script's size, which the
// browser reads past quickly and unpacks itself), the page handing the
// WebAssembly to the script as it starts it.
//
// What the page shows first is read from the module itself: the sheet, the
// names the page builds from, and every control's text and value as a new
// model shows them. The page shows it at once and takes events while the
// module starts; the model then shows itself in its place.
//
// node pack.mjs TEMPLATE STYLE SCRIPT MODULE OUT

import { readFileSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import path from 'node:path';
import { gzipSync } from 'node:zlib';

const [template, style, script, modulePath, out] = process.argv.slice(2);

async function snapshot() {
  const M = await createRequire(import.meta.url)(path.resolve(modulePath))();
  const names = ['sheet', 'ids', 'commands', 'catalogueNames', 'missionColumns', 'inspectorColumns', 'inspectorName',
    'missionSize', 'gameFolder', 'largestRead', 'keysColumns', 'sheetKeys', 'missionsWords', 'startRefused'];
  const module = Object.fromEntries(names.map((name) => [name, M[name]()]));
  const page = new M.Page();
  const state = {};
  for (const c of module.sheet.controls) {
    state[c.id] ??= {
      text: page.text(c.id), value: page.value(c.id), name: page.name(c.id), commits: page.boxCommits(c.id),
      members: c.kind === 'option' ? page.members(c.id) : [],
      items: c.kind === 'list' ? Array.from({ length: page.itemCount(c.id) }, (_, i) => page.item(c.id, i)) : [],
    };
  }
  return { module, page: { state, title: page.title(), said: page.said(), cataloguesRead: page.cataloguesRead() } };
}

// Inside a script element, "</" would end it early; "<\/" is the same to
// JavaScript and to JSON.
const inScript = (text) => text.replaceAll('</', '<\\/');
const built = readFileSync(modulePath, 'utf8');
const wasm = /data:application\/octet-stream;base64,([A-Za-z0-9+/=]+)/.exec(built);
if (!wasm) throw new Error(`${modulePath} holds no WebAssembly as a data address`);
const packed = (bytes) => gzipSync(bytes, { level: 9 }).toString('base64');
const parts = {
  '/*STYLE*/': readFileSync(style, 'utf8'),
  '/*SCRIPT*/': inScript(readFileSync(script, 'utf8')),
  '/*SNAPSHOT*/': inScript(JSON.stringify(await snapshot())),
  '/*MODULE*/': packed(built.replace(wasm[1], '')),
  '/*WASM*/': packed(Buffer.from(wasm[1], 'base64')),
};
let page = readFileSync(template, 'utf8');
for (const [mark, text] of Object.entries(parts)) page = page.replace(mark, () => text);
writeFileSync(out, page);
