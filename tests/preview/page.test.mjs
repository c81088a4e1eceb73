// The page as an engineer uses it, in a real browser: what plot draws, the
// model's values, faults that lead to the editor and to their place, the
// profile zoomed along the km, exports, print, the dark scheme.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { after, before, test } from 'node:test';
import { chromium } from 'playwright-core';

import { chromiumArgs, chromiumPath, fixedRoute, load, save, startServer, stopServer } from './server.mjs';

const WAIT = { timeout: 15000 };
let route, server, browser, page;

before(async () => {
  route = fixedRoute();
  server = await startServer([route.line, route.train]);
  browser = await chromium.launch({ executablePath: chromiumPath, args: chromiumArgs, headless: true });
  await open();
});

after(async () => {
  await browser?.close();
  if (server) await stopServer(server);
  route?.remove();
});

// A page of its own for each test, at the address `server.url + hash`;
// `watch` sees the page before it loads.
async function open(hash = '', watch = () => {}) {
  await page?.close();
  page = await browser.newPage({ viewport: { width: 1600, height: 1000 }, acceptDownloads: true });
  watch(page);
  await page.goto(server.url + hash);
  await page.waitForFunction(() => Number(document.body.dataset.generation) >= 1, null, WAIT);
}

const generation = () => page.evaluate(() => Number(document.body.dataset.generation));
const text = (selector) => page.textContent(selector);
const visible = (selector) => page.isVisible(selector);

async function nextState(change) {
  const before = await generation();
  await change();
  await page.waitForFunction((g) => Number(document.body.dataset.generation) > g, before, WAIT);
}

// The profile's stretch as the address holds it; null for the whole route.
async function stretch() {
  const params = new URLSearchParams((await page.evaluate(() => location.hash)).slice(1));
  return params.has('from') ? { from: Number(params.get('from')), to: Number(params.get('to')) } : null;
}

// Waits until the profile shows the stretch the address names.
async function stretchDrawn() {
  await page.waitForFunction(() => {
    const params = new URLSearchParams(location.hash.slice(1));
    const svg = document.querySelector('#profile-view');
    return params.get('from') === String(Math.round(Number(svg.dataset.from))) &&
      params.get('to') === String(Math.round(Number(svg.dataset.to)));
  }, null, WAIT);
}

const profileTexts = () => page.$$eval('#profile-view text', (texts) => texts.map((t) => t.textContent));

test('the page shows what plot draws: fastest run, legend, running times, time-distance graph, title', async () => {
  assert.equal(await page.locator('#profile-view #driving-curve path').count(), 1);
  assert.equal(await page.locator('#legend-view > g#legend').count(), 1);
  assert.equal(await page.locator('#graph-view > g#graph').count(), 1);
  assert.match(await text('#graph-view'), /Time\u2013distance graph\s+\u2013\s+train 27340/);
  assert.deepEqual(await page.$$eval('#timetable thead th', (cells) => cells.map((c) => c.textContent)),
    ['From', 'To', 'Distance', 'Scheduled', 'Minimum', 'Slack', 'Top speed', '']);
  const legs = await page.$$eval('#timetable tbody tr', (rows) => rows.map((r) => [...r.cells].map((c) => c.textContent)));
  assert.equal(legs.length, 8, 'nine stations, eight legs');
  assert.deepEqual(legs[0].slice(0, 4), ['ZERVANO', 'LUVERA', '5.300 km', '5:00']);
  assert.match(await text('#model-summary'), /braking 0\.90 m\/s² \(130 % braked mass\), top speed 130 km\/h/);
  assert.equal(await text('#title'), 'Zervano-OdelmaVmod – train 27340');
  assert.equal(await page.title(), 'no faults · Zervano-OdelmaVmod – train 27340 · scenariogen preview');
  assert.equal(await visible('#no-faults'), true, 'an empty fault list says "none"');
  assert.equal(await text('#no-faults'), 'none');
  assert.equal(await page.getAttribute('#status', 'aria-live'), 'polite');
  assert.equal(await page.locator('.faults [aria-live]').count(), 1);
});

test('the model\'s values refuse NaN, zero, negatives and infinities with a short message, and draw again with a good one', async () => {
  const before = await generation();
  for (const [field, value, message] of [
    ['max_speed', 'nan', "the top speed: give a number above 0 (km/h), not 'nan'"],
    ['max_speed', '0', "the top speed: give a number above 0 (km/h), not '0'"],
    ['acceleration', '-0.5', "the acceleration: give a number above 0 (m/s²), not '-0.5'"],
    ['braking', '1e999', "the braking: give a number above 0 (m/s²), not '1e999'"],
    ['braking', '0,8', "the braking: give a number above 0 (m/s²), not '0,8'"],
  ]) {
    await page.fill(`#model-${field}`, value);
    await page.click('#model button[type=submit]');
    assert.equal(await text('#model-message'), message);
    assert.equal(await page.getAttribute(`#model-${field}`, 'aria-invalid'), 'true');
    await page.fill(`#model-${field}`, '');
  }
  assert.equal(await generation(), before, 'a refused value draws nothing');

  await nextState(async () => {
    await page.fill('#model-max_speed', '80');
    await page.click('#model button[type=submit]');
  });
  assert.equal(await text('#model-message'), '');
  assert.match(await text('#model-summary'), /top speed 80 km\/h/);
  const warnings = await page.$$eval('#timetable-warnings li', (items) => items.map((i) => i.textContent));
  assert.equal(warnings.length, 2);
  for (const warning of warnings) assert.match(warning, /is scheduled in .*; the train needs at least/);
  assert.equal(await page.locator('#timetable tbody tr.problem').count(), 2);

  await nextState(async () => {
    await page.fill('#model-max_speed', '');
    await page.click('#model button[type=submit]');
  });
  assert.match(await text('#model-summary'), /top speed 130 km\/h/);
  assert.equal(await page.locator('#timetable tbody tr.problem').count(), 0);
});

test('a fault that stops the reading: its link opens the editor at its line, the drawing is marked partial', async () => {
  const original = load(route.train);
  const broken = original.replace('stazione,  23100,  12,', 'stazione,  23100,  xx,');
  assert.notEqual(broken, original);
  try {
    await nextState(() => save(route.train, broken));
    const link = page.locator('#faults > li > a.fault');
    assert.equal(await link.count(), 1);
    assert.equal(await link.getAttribute('href'), `vscode://file${route.train}:19:20`);
    assert.equal(await page.title(), '1 fault · Zervano-OdelmaVmod – train 27340 · scenariogen preview');
    assert.equal(await visible('#no-faults'), false);
    assert.equal(await visible('#partial'), true);
    assert.match(await text('#partial'), /^Partial drawing: the reading stopped at a fault/);
    assert.equal(await page.locator('.partial-tag:visible').count(), 2);
    assert.equal(await page.locator('#profile-view.partial').count(), 1);
  } finally {
    await nextState(() => save(route.train, original));
  }
  assert.equal(await visible('#partial'), false);
  assert.equal(await page.locator('.partial-tag:visible').count(), 0);
  assert.equal(await visible('#no-faults'), true);
});

test('a save sends only what changed: an edited sign text is shown, the fastest run and the graph stay as drawn', async () => {
  await open();
  await page.evaluate(() => {
    document.querySelector('#profile-view #driving-curve').kept = true;
    document.querySelector('#graph-view > g#graph').kept = true;
  });
  const asked = [];
  page.on('request', (request) => {
    if (request.url().includes('/pieces')) asked.push(new URL(request.url()).searchParams.get('keys'));
  });
  const original = load(route.line);
  try {
    await nextState(() => save(route.line, original.replace('(km 0+662)', '(km 0+667)')));
    assert.match(await text('#profile-view'), /km 0\+667/);
    assert.doesNotMatch(await text('#profile-view'), /km 0\+662/);
    assert.deepEqual(await page.evaluate(() => [
      document.querySelector('#profile-view #driving-curve').kept,
      document.querySelector('#graph-view > g#graph').kept,
    ]), [true, true], 'the fastest run and the graph are the elements drawn before the save');
    assert.deepEqual(asked, [], 'the few runs that changed came with the state');
  } finally {
    await nextState(() => save(route.line, original));
  }
  assert.match(await text('#profile-view'), /km 0\+662/);
});

test('the time slider marks the train on the profile, the plan and the graph, from the fastest run and from the timetable', async () => {
  await open();
  const slider = page.locator('#clock');
  assert.match(await slider.getAttribute('aria-label'), /^Time of day/);
  assert.match(await text('#clock-key'), /the fastest run at the time chosen[^]*the timetable's place at the time chosen/);
  const marks = () => page.$$eval('.clock-marks > [id]', (nodes) => nodes.map((n) => n.id).sort());
  const places = async () => (await text('#clock-places')).trim();
  // Before the departure both stand at the first station.
  await page.waitForFunction(() => document.querySelector('#clock-text').textContent !== '', null, WAIT);
  assert.match(await places(), /^fastest run at km 0\.000, 0 km\/h · timetable at km 0\.000$/);
  // By keyboard: the train moves along, and both marks follow it in the three drawings.
  await slider.focus();
  const before = await text('#clock-text');
  for (let i = 0; i < 3; ++i) await page.keyboard.press('PageUp');
  await page.waitForFunction((t) => document.querySelector('#clock-text').textContent !== t, before, WAIT);
  await page.waitForFunction(() => !/km 0\.000, 0 km/.test(document.querySelector('#clock-places').textContent), null, WAIT);
  assert.match(await places(), /^fastest run at km \d+\.\d{3}, \d+ km\/h · timetable at km \d+\.\d{3}$/);
  assert.deepEqual(await marks(), ['clock-run-graph', 'clock-run-plan', 'clock-run-profile', 'clock-time-graph',
    'clock-timetable-graph', 'clock-timetable-plan', 'clock-timetable-profile']);
  const look = await page.$$eval('#clock-run-profile, #clock-timetable-profile',
    (lines) => lines.map((l) => [l.getAttribute('stroke'), l.hasAttribute('stroke-dasharray')]));
  assert.deepEqual(look, [['#000', true], ['#2166ac', false]], 'the timetable dashed and black, the run solid and blue');
  assert.match(await slider.getAttribute('aria-valuetext'), /^\d+:\d\d:\d\d$/);
  // At the end both stand at the terminus.
  const terminus = await text('#stations tbody tr:last-child td.km');
  await page.keyboard.press('End');
  const atTerminus = (km) => document.querySelector('#clock-places').textContent.trim() ===
    `fastest run at km ${km}, 0 km/h · timetable at km ${km}`;
  await page.waitForFunction(atTerminus, terminus, WAIT);
  // The address keeps the time: a reload shows the train at the terminus again.
  const hash = await page.evaluate(() => location.hash);
  assert.match(hash, /(^#|&)time=\d+$/);
  await open(hash);
  await page.waitForFunction(atTerminus, terminus, WAIT);
});

test('a chosen fault is marked on the time-distance graph too, at its place along the route', async () => {
  await open();
  const original = load(route.line);
  try {
    await nextState(() => save(route.line,
      original.replace('indicatori_vmax,  700,  130,  140,  140,', 'indicatori_vmax,  700,  60,  60,  60,')));
    const link = page.locator('#faults > li > a.fault', { hasText: '[board-limit]' });
    await link.click();
    await page.waitForSelector('#graph-view #fault-place-graph', WAIT);
    // On the graph, the band lies at the place of the board (km 0.700): between the first two stations' rows.
    const [band, first, second] = await page.evaluate(() => {
      const rows = [...document.querySelectorAll('#graph-view g > title')]
        .filter((t) => / at \d+\.\d{3} km$/.test(t.textContent)).map((t) => t.parentElement.getBBox().y);
      const rect = document.querySelector('#fault-place-graph');
      return [Number(rect.getAttribute('y')), rows[0], rows[1]];
    });
    assert.ok(band > first - 3 && band < second, `${band} between ${first} and ${second}`);
  } finally {
    await nextState(() => save(route.line, original));
  }
  assert.equal(await page.locator('#graph-view #fault-place-graph').count(), 0);
});

test('the chosen fault is kept in the address: a reload marks it again in both drawings', async () => {
  const original = load(route.line);
  try {
    await nextState(() => save(route.line, original.replace('cartello_indicatore,  2150,', 'cartello_indicatore,  2000,')));
    const link = page.locator('#faults > li > a.fault');
    assert.match(await link.getAttribute('href'), new RegExp(`^vscode://file${route.line}:\\d+:\\d+$`));
    await link.click();
    await page.waitForSelector('#profile-view #fault-place', WAIT);
    const chosen = new URLSearchParams((await page.evaluate(() => location.hash)).slice(1)).get('fault');
    assert.equal(chosen, await link.textContent());
    await open(await page.evaluate(() => location.hash));
    await page.waitForSelector('#faults a.fault.chosen', WAIT);
    await page.waitForSelector('#profile-view #fault-place', WAIT);
    await page.waitForSelector('#plan-view #fault-place-plan', WAIT);
  } finally {
    await nextState(() => save(route.line, original));
  }
  assert.equal(await page.evaluate(() => location.hash), '', 'a fault that went is no longer chosen');
});

test('the profile zooms along the km by keyboard: axes and lanes stay in view, labels come back, a reload keeps the stretch', async () => {
  await open();
  const whole = new Set(await profileTexts());
  const home = await page.getAttribute('#profile-view', 'viewBox');
  await page.click('#title');
  for (let i = 0; i < 4; ++i) await page.keyboard.press('+');
  await stretchDrawn();
  const zoomed = await stretch();
  assert.ok(zoomed.to - zoomed.from < 46000 / 4, `${JSON.stringify(zoomed)} is narrower`);
  assert.equal(await page.getAttribute('#profile-view', 'viewBox'), home, 'only the km axis zooms');

  // The lane names and axis titles are inside the view, and the km labels
  // are those of the stretch.
  const inView = await page.$$eval('#profile-view text', (texts) => {
    const view = document.querySelector('#profile-view').getBoundingClientRect();
    const names = ['Signals', 'Speed boards', 'Sign boards', 'Mountain', 'Route km', 'Height (m)'];
    return texts.filter((t) => names.includes(t.textContent)).map((t) => {
      const r = t.getBoundingClientRect();
      return (r.left >= view.left && r.top >= view.top && r.right <= view.right && r.bottom <= view.bottom) || t.textContent;
    });
  });
  assert.deepEqual(inView, [true, true, true, true, true, true]);
  const texts = await profileTexts();
  const kmLabels = texts.filter((t) => /^\d+(\.\d+)?$/.test(t)).map(Number).filter((k) => k > 0 && k < 50);
  assert.ok(kmLabels.some((k) => k * 1000 >= zoomed.from && k * 1000 <= zoomed.to));
  const comeBack = texts.filter((t) => /[A-Za-z]/.test(t) && !whole.has(t));
  assert.ok(comeBack.length > 0, 'a label left out on the whole route shows in the stretch');

  await page.keyboard.press('ArrowRight');
  await stretchDrawn();
  const panned = await stretch();
  assert.ok(Math.abs(panned.from - (zoomed.from + (zoomed.to - zoomed.from) / 4)) <= 2, JSON.stringify(panned));

  await open(await page.evaluate(() => location.hash));
  await stretchDrawn();
  assert.deepEqual(await stretch(), panned);

  await page.click('#title');
  await page.keyboard.press('0');
  assert.equal(await stretch(), null);
  assert.equal(await page.getAttribute('#profile-view', 'data-from'), null);
});

test('the km field jumps to a place of the route and refuses one that is not on it', async () => {
  await open();
  for (const bad of ['abc', '99', '-1']) {
    await page.fill('#goto-km', bad);
    await page.click('#zoom button[type=submit]');
    assert.equal(await text('#zoom-message'), 'give a km from 0 to 46.000', bad);
    assert.equal(await stretch(), null, bad);
  }
  await page.fill('#goto-km', '12.8');
  await page.click('#zoom button[type=submit]');
  await stretchDrawn();
  const shown = await stretch();
  assert.ok(Math.abs((shown.from + shown.to) / 2 - 12800) <= 1, JSON.stringify(shown));
  assert.equal(await text('#zoom-message'), '');
  await page.click('#zoom-reset');
  assert.equal(await stretch(), null);
});

test('the export buttons give a valid SVG, PNG of both pages and a PDF of two pages', async () => {
  await open();
  const downloaded = {};
  for (const format of ['svg', 'png', 'pdf']) {
    const [download] = await Promise.all([page.waitForEvent('download', WAIT), page.click(`#export-${format}`)]);
    assert.equal(download.suggestedFilename(), `Zervano-OdelmaVmod_27340.${format}`);
    downloaded[format] = readFileSync(await download.path());
  }
  assert.match(downloaded.svg.toString('utf8'), /^<\?xml[^]*id="graph"[^]*<\/svg>\n$/);
  const png = downloaded.png;
  assert.deepEqual([...png.subarray(0, 8)], [0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]);
  const [width, height] = [png.readUInt32BE(16), png.readUInt32BE(20)];
  assert.ok(Math.abs(width - 1754) <= 1 && Math.abs(height - 2480) <= 2, `${width}×${height} px: two A4 pages at 150 dpi`);
  const pdf = downloaded.pdf.toString('latin1');
  assert.ok(pdf.startsWith('%PDF-'));
  assert.equal(pdf.match(/\/Type\s*\/Page[^s]/g).length, 2);
});

test('a fresh load asks for nothing that is not there (no favicon 404)', async () => {
  const failures = [];
  const asked = [];
  await open('', (fresh) => {
    fresh.on('request', (request) => asked.push(new URL(request.url()).pathname));
    fresh.on('response', (response) => { if (response.status() >= 400) failures.push(`${response.status()} ${response.url()}`); });
  });
  await page.waitForTimeout(300);
  assert.deepEqual(failures, []);
  assert.ok(!asked.includes('/favicon.ico'), asked.join(' '));
  assert.match(await page.getAttribute('link[rel=icon]', 'href'), /^data:image\/svg\+xml,/);
});

// The contrast of every text of the page's own (not the drawings') against
// the ground it stands on, as WCAG computes it.
function lowestContrast() {
  const channel = (c) => { const s = c / 255; return s <= 0.03928 ? s / 12.92 : ((s + 0.055) / 1.055) ** 2.4; };
  const luminance = ([r, g, b]) => 0.2126 * channel(r) + 0.7152 * channel(g) + 0.0722 * channel(b);
  const rgba = (text) => text.match(/[\d.]+/g).map(Number);
  const ground = (node) => {
    for (let n = node; n; n = n.parentElement) {
      const c = rgba(getComputedStyle(n).backgroundColor);
      if (c.length === 3 || c[3] > 0) return c.slice(0, 3);
    }
    return [255, 255, 255];
  };
  let worst = { ratio: Infinity };
  const nodes = [...document.querySelectorAll('body *')].filter((n) => !n.closest('svg') &&
    [...n.childNodes].some((c) => c.nodeType === Node.TEXT_NODE && c.textContent.trim()) && n.getClientRects().length);
  for (const node of nodes) {
    const a = luminance(rgba(getComputedStyle(node).color).slice(0, 3));
    const b = luminance(ground(node));
    const ratio = (Math.max(a, b) + 0.05) / (Math.min(a, b) + 0.05);
    if (ratio < worst.ratio) worst = { ratio, text: node.textContent.slice(0, 40), tag: node.tagName };
  }
  return worst;
}

test('the dark scheme follows the system, and every text keeps a contrast of 4.5:1 in both schemes', async () => {
  await open();
  await nextState(() => save(route.line, load(route.line).replace('cartello_indicatore,  2150,', 'cartello_indicatore,  2000,')));
  for (const scheme of ['light', 'dark']) {
    await page.emulateMedia({ colorScheme: scheme });
    const background = await page.evaluate(() => getComputedStyle(document.body).backgroundColor);
    assert.equal(background, scheme === 'dark' ? 'rgb(18, 18, 18)' : 'rgb(244, 244, 244)');
    const worst = await page.evaluate(lowestContrast);
    assert.ok(worst.ratio >= 4.5, `${scheme}: ${JSON.stringify(worst)}`);
  }
  await page.emulateMedia({ colorScheme: 'light' });
  await nextState(() => save(route.line, load(route.line).replace('cartello_indicatore,  2000,', 'cartello_indicatore,  2150,')));
});

test('the print layout leaves out the controls and puts the graph on a page of its own', async () => {
  await open();
  await page.emulateMedia({ media: 'print' });
  const shown = await page.evaluate(() => Object.fromEntries(['#zoom', '#model', '.exports', '#status'].map((s) =>
    [s, getComputedStyle(document.querySelector(s)).display])));
  assert.deepEqual(shown, { '#zoom': 'none', '#model': 'none', '.exports': 'none', '#status': 'none' });
  assert.equal(await page.evaluate(() => getComputedStyle(document.querySelector('.graph')).breakBefore), 'page');
  await page.emulateMedia({ media: 'screen' });
});
