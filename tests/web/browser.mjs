// What the page's tests share: where things are, Debian's chromium
// started headless, the status line, and a file chooser answered.

import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { chromium } from 'playwright-core';

export const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
export const examples = path.join(root, 'examples');
export const companion = path.join(root, 'build/default/src/kestrane-msn');
export const pageFile = path.join(root, 'build/web/kestrane.html');
export const pageUrl = pathToFileURL(pageFile).href;

export const launch = () => chromium.launch({
  executablePath: '/usr/bin/chromium',
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
    '--disable-component-update', '--no-first-run', '--disable-sync'],
});

export const said = (page) => page.getByRole('status').textContent();

// Does what act does and waits until the status line says something else.
export async function saying(page, act) {
  const before = await said(page);
  await act();
  await page.waitForFunction((earlier) => document.querySelector('[role=status]').textContent !== earlier, before);
}

// Chooses files in the chooser a button opens; the page reads them before
// the model says what it did.
export const choose = (page, button, files) => saying(page, async () => {
  const [chooser] = await Promise.all([page.waitForEvent('filechooser'), page.getByRole('button', { name: button }).click()]);
  await chooser.setFiles(files);
});
