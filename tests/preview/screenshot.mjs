// Takes the README's picture of the preview (docs/preview.png): the fixed
// route with one fault written into its line file and chosen on the page.
//   node tests/preview/screenshot.mjs OUT.png
import path from 'node:path';

import { chromium } from 'playwright-core';

import { chromiumArgs, chromiumPath, fixedRoute, load, save, startServer, stopServer } from './server.mjs';

const output = process.argv[2] ?? 'docs/preview.png';
const route = fixedRoute();
// Started in the route's folder, so that the page names the files as an author would.
const server = await startServer([path.basename(route.line), path.basename(route.train)], { cwd: route.folder });
const browser = await chromium.launch({ executablePath: chromiumPath, args: chromiumArgs, headless: true });
try {
  const page = await browser.newPage({ viewport: { width: 1600, height: 1150 } });
  await page.goto(server.url);
  await page.waitForFunction(() => Number(document.body.dataset.generation) >= 1, null, { timeout: 15000 });
  save(route.train, load(route.train).replace('segnale,  43000,', 'segnale,  42900,'));
  await page.waitForSelector('#faults a.fault', { timeout: 15000 });
  await page.click('#faults a.fault');
  await page.screenshot({ path: output });
} finally {
  await browser.close();
  await stopServer(server);
  route.remove();
}
