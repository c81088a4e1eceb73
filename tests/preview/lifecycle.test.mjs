// The server over its life: saves of every kind, half-written files, the
// binary files it writes only when asked, and Ctrl-C.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, renameSync, rmSync, writeFileSync } from 'node:fs';
import net from 'node:net';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { test } from 'node:test';

import { fixedRoute, getState, listing, load, program, save, startServer, stopServer, waitFor } from './server.mjs';

const WAIT_MS = 15000;

async function withServer(args, body) {
  const route = fixedRoute();
  const server = await startServer([route.line, route.train, ...args(route)]);
  try {
    await waitFor(async () => (await getState(server.port))?.generation >= 1, WAIT_MS);
    await body(route, server);
  } finally {
    await stopServer(server);
    route.remove();
  }
}

// The next state after `generation` that `accept` takes.
async function nextState(server, generation, accept = () => true) {
  return waitFor(async () => {
    const state = await getState(server.port);
    return state.generation > generation && accept(state) ? state : null;
  }, WAIT_MS, () => `no state after ${generation}`);
}

test('every way of saving is seen, a half-written file is survived, and the complete save wins', async () => {
  await withServer(() => [], async (route, server) => {
    const original = load(route.line);
    const broken = original.replace('progressiva chilometrica due,  12700', 'progressiva chilometrica due,  12730');
    const saves = [
      ['in place', (text) => save(route.line, text)],
      ['renamed over', (text) => {
        const temporary = path.join(route.folder, '.linea.tmp');
        writeFileSync(temporary, text, 'latin1');
        renameSync(temporary, route.line);
      }],
      ['deleted, then written anew', (text) => { rmSync(route.line); save(route.line, text); }],
    ];
    let generation = (await getState(server.port)).generation;
    for (const [name, write] of saves) {
      write(broken);
      let state = await nextState(server, generation, (s) => s.faults.length > 0);
      assert.ok(state.faults.some((f) => /error 2: /.test(f.text)), name);
      write(original);
      // A save that deletes the file first shows it missing for a moment: wait for the compiled one.
      state = await nextState(server, state.generation, (s) => s.faults.length === 0 && s.unreadable === null);
      assert.equal(state.figures.stations.length, 9, name);
      generation = state.generation;
    }

    // An editor that writes in two steps: the first leaves the file cut in its general section.
    save(route.line, original.slice(0, 30));
    let state = await nextState(server, generation, (s) => s.faults.length > 0);
    assert.ok(state.faults.some((f) => /error 25: /.test(f.text)), JSON.stringify(state.faults));
    assert.equal(state.drawing, null);
    rmSync(route.line);
    state = await nextState(server, state.generation, (s) => s.unreadable !== null);
    assert.match(state.unreadable, /cannot read .*linea\.txt/);
    save(route.line, original);
    state = await nextState(server, state.generation, (s) => s.faults.length === 0 && s.unreadable === null);
    assert.equal(state.figures.stations.length, 9);
    assert.equal(server.child.exitCode, null, 'the server still runs');
  });
});

test('--write DIR writes the binary files of each clean compilation, as compile does, and nothing after a fault', async () => {
  const written = mkdtempSync(path.join(tmpdir(), 'scenariogen-preview-write-'));
  const reference = mkdtempSync(path.join(tmpdir(), 'scenariogen-preview-reference-'));
  const names = ['Zervano-OdelmaVmod_27340.dat', 'Zervano-OdelmaVmod_27340.sim', 'Zervano-OdelmaVmod_linea.dat'];
  try {
    await withServer(() => ['--write', written], async (route, server) => {
      execFileSync(program, ['compile', route.line, route.train, '-o', reference]);
      await waitFor(() => listing(written).length === 3, WAIT_MS);
      assert.deepEqual(listing(written), names);
      for (const name of names) {
        assert.ok(readFileSync(path.join(written, name)).equals(readFileSync(path.join(reference, name))), name);
      }
      const good = load(route.train);
      const goodLine = load(route.line);
      // A fault of the compiler's, one that only the strict check sees (the compiler would store a gradient of
      // 180 as -76), and an empty train file, as a truncating save leaves it for a moment: compile refuses each,
      // and so nothing is written over the good files.
      const faulty = [
        ['a station length off the 100 m grid', () => save(route.train, good.replace('stazione,  35650,  27,  300', 'stazione,  35650,  27,  350'))],
        ['a gradient the cells cannot hold', () => { save(route.train, good); save(route.line, goodLine.replace('pendenza,  14100,  -6', 'pendenza,  14100,  180')); }],
        ['an empty train file', () => { save(route.line, goodLine); save(route.train, ''); }],
      ];
      for (const [what, write] of faulty) {
        const { generation } = await getState(server.port);
        write();
        const state = await nextState(server, generation, (s) => s.faults.some((f) => f.severity === 'error'));
        assert.ok(state.faults.length > 0, what);
        for (const name of names) {
          assert.ok(readFileSync(path.join(written, name)).equals(readFileSync(path.join(reference, name))), `${what}: ${name}`);
        }
      }
    });
  } finally {
    rmSync(written, { recursive: true, force: true });
    rmSync(reference, { recursive: true, force: true });
  }
});

test('without --write nothing is written, and Ctrl-C stops the server cleanly with a page open', async () => {
  const route = fixedRoute();
  const workingFolder = mkdtempSync(path.join(tmpdir(), 'scenariogen-preview-cwd-'));
  const server = await startServer([route.line, route.train], { cwd: workingFolder });
  try {
    await waitFor(async () => (await getState(server.port))?.generation >= 1, WAIT_MS);
    const page = net.connect(server.port, '127.0.0.1');
    page.on('error', () => {});
    let received = '';
    page.setEncoding('utf8').on('data', (text) => { received += text; });
    page.write(`GET /events HTTP/1.1\r\nHost: localhost:${server.port}\r\n\r\n`);
    await waitFor(() => received.includes('event: state'), WAIT_MS);

    server.child.kill('SIGINT');
    const ended = await Promise.race([server.exited, new Promise((resolve) => setTimeout(() => resolve(null), 10000))]);
    assert.deepEqual(ended, { code: 0, signal: null }, server.stderr);
    assert.match(server.stderr, /stopped\n$/);
    page.destroy();
    assert.deepEqual(listing(route.folder), [route.line, route.train].map((p) => path.basename(p)).sort());
    assert.deepEqual(listing(workingFolder), []);
  } finally {
    await stopServer(server);
    route.remove();
    rmSync(workingFolder, { recursive: true, force: true });
  }
});
