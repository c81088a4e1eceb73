// The preview as an author sees it: from the save of a description file to
// the new drawing painted on an open page in Chromium (the state received,
// what changed fetched and applied, and the next frame drawn), with the
// fastest run, the running-time table and the graph on the page; and what
// the page received for each save.
//
//   node bench/preview_paint.mjs PROGRAM LINE TRAIN [--name N --train T] [--saves K] [--label L]
//                                [--edit OLD NEW]
//
// Each save writes the line file again; with --edit, every other save has
// the first OLD in it replaced by NEW (an author's small edit, so that the
// drawing changes), the others its own text.
//
// Needs the preview tests' driver (npm ci in tests/preview) and Chromium.
import { spawn } from 'node:child_process';
import { readFileSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
const require = createRequire(path.join(here, '../tests/preview/package.json'));
const { chromium } = require('playwright-core');

const [program, line, train, ...rest] = process.argv.slice(2);
const option = (name, fallback) => { const i = rest.indexOf(name); return i >= 0 ? rest[i + 1] : fallback; };
const saves = Number(option('--saves', '15'));
const label = option('--label', '');
const editAt = rest.indexOf('--edit');
const edit = editAt >= 0 ? { from: rest[editAt + 1], to: rest[editAt + 2] } : null;
const extra = [];
for (const name of ['--name', '--train']) if (option(name)) extra.push(name, option(name));

const server = spawn(program, ['preview', line, train, '--port', '0', ...extra], { stdio: ['ignore', 'pipe', 'ignore'] });
const address = await new Promise((resolve) => {
  let out = '';
  server.stdout.setEncoding('utf8').on('data', (text) => {
    out += text;
    const found = out.match(/^(http:\/\/127\.0\.0\.1:\d+\/)$/m);
    if (found) resolve(found[1]);
  });
});
const browser = await chromium.launch({
  executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium', headless: true,
  args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking'],
});
try {
  const page = await browser.newPage({ viewport: { width: 1600, height: 1000 } });
  await page.goto(address);
  await page.waitForFunction(() => Number(document.body.dataset.generation) >= 1, null, { timeout: 60000 });
  const text = readFileSync(line, 'latin1');
  if (edit && !text.includes(edit.from)) throw new Error(`${line} holds no '${edit.from}' to edit`);
  const versions = [text, edit ? text.replace(edit.from, edit.to) : text];
  // What the page receives for the saves: the states and what it fetches.
  const network = await page.context().newCDPSession(page);
  await network.send('Network.enable');
  let received = 0;
  network.on('Network.dataReceived', (event) => { received += event.dataLength; });
  const times = [];
  for (let i = 0; i < saves; ++i) {
    await new Promise((resolve) => setTimeout(resolve, 150));
    const before = await page.evaluate(() => Number(document.body.dataset.generation));
    // The page notes when it painted the next state; the clock is the page's.
    const painted = page.evaluate((g) => new Promise((resolve) => {
      const check = () => {
        if (Number(document.body.dataset.generation) > g) requestAnimationFrame(() => resolve(performance.now()));
        else setTimeout(check, 1);
      };
      check();
    }), before);
    const start = await page.evaluate(() => performance.now());
    writeFileSync(line, versions[(i + 1) % 2], 'latin1');
    times.push((await painted) - start);
  }
  writeFileSync(line, text, 'latin1');
  times.sort((a, b) => a - b);
  const median = times[Math.floor(times.length / 2)];
  const kilobytes = received / saves / 1024;
  console.log(`${label.padEnd(24)} median ${median.toFixed(1).padStart(6)} ms   max ${times.at(-1).toFixed(1).padStart(6)} ms   ` +
    `${kilobytes.toFixed(1).padStart(6)} KB received per save   (${saves} saves, painted in Chromium)`);
} finally {
  await browser.close();
  server.kill('SIGINT');
}
