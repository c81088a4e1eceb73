// The page in a real browser: what it shows of the fixed route, and how it
// follows the author's saves without a reload.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import { chromium } from 'playwright-core';

import { chromiumArgs, chromiumPath, fixedRoute, load, save, startServer, stopServer } from './server.mjs';

const WAIT = { timeout: 15000 };
let route, server, browser, page;

before(async () => {
  route = fixedRoute();
  server = await startServer([route.line, route.train]);
  browser = await chromium.launch({ executablePath: chromiumPath, args: chromiumArgs, headless: true });
  page = await browser.newPage({ viewport: { width: 1600, height: 1000 } });
  await page.goto(server.url);
  await page.waitForFunction(() => Number(document.body.dataset.generation) >= 1, null, WAIT);
});

after(async () => {
  await browser?.close();
  if (server) await stopServer(server);
  route?.remove();
});

const generation = () => page.evaluate(() => Number(document.body.dataset.generation));
const faultTexts = () => page.$$eval('#faults > li > a.fault', (links) => links.map((link) => link.textContent));
const profileStretch = () => page.evaluate(() => location.hash);

test('the page shows the fixed route: nine stations, its figures, the plan and the profile', async () => {
  const stations = await page.$$eval('#stations tbody tr td:first-child', (cells) => cells.map((c) => c.textContent));
  assert.equal(stations.length, 9);
  assert.equal(stations[0], 'ZERVANO');
  assert.equal(stations[8], 'ODELMA P.LIVARA');
  assert.equal(await page.textContent('.figure-length'), '46.000 km (cells 0 to 1060)');
  assert.equal(await page.textContent('.figure-signals'), '12');
  assert.equal(await page.textContent('.figure-sign-boards'), '37');
  assert.deepEqual(await faultTexts(), []);
  assert.match(await page.textContent('#status'), /^no faults/);
  assert.equal(await page.locator('#profile-view > g#profile').count(), 1);
  assert.equal(await page.locator('#plan-view > g#plan').count(), 1);
});

test('a fault written into the line file appears without a reload, keeps the zoom, and goes when fixed', async () => {
  await page.evaluate(() => { window.sameDocument = true; });
  const profile = await page.locator('#profile-view').boundingBox();
  await page.mouse.move(profile.x + profile.width / 2, profile.y + profile.height / 2);
  await page.mouse.wheel(0, -600);
  await page.waitForFunction(() => document.querySelector('#profile-view').dataset.from !== undefined, null, WAIT);
  const zoomed = await profileStretch();
  assert.match(zoomed, /^#from=\d+&to=\d+$/);
  const before = await generation();

  const original = load(route.line);
  const broken = original.replace('cartello_indicatore,  2150,', 'cartello_indicatore,  2000,');
  assert.notEqual(broken, original);
  save(route.line, broken);
  await page.waitForFunction((g) => Number(document.body.dataset.generation) > g && document.querySelector('#faults a.fault'),
    before, WAIT);
  const faults = await faultTexts();
  assert.equal(faults.length, 1);
  assert.match(faults[0], /Zervano-OdelmaVmod_linea\.txt:\d+:\d+: error 6: the sign board's cell \(cell \d+, [^)]*\) is already taken by the .* \[occupied-cell\]$/);
  assert.equal(await page.evaluate(() => window.sameDocument), true);
  assert.equal(await profileStretch(), zoomed, 'the zoom stays');

  await page.click('#faults a.fault');
  await page.waitForSelector('#profile-view #fault-place', WAIT);
  assert.equal(await page.locator('#profile-view #fault-place').count(), 1);
  assert.equal(await page.locator('#plan-view #fault-place-plan').count(), 1);

  const withFault = await generation();
  save(route.line, original);
  await page.waitForFunction((g) => Number(document.body.dataset.generation) > g, withFault, WAIT);
  assert.deepEqual(await faultTexts(), []);
  assert.equal(await page.locator('#profile-view #fault-place').count(), 0);
  assert.equal(await page.locator('#plan-view #fault-place-plan').count(), 0);
  assert.equal(await page.evaluate(() => window.sameDocument), true);
  assert.match(await page.textContent('#status'), /^no faults/);
});
