// Debian's Emacs with Eglot, in batch, with the README's setup: it opens a
// faulty pair, shows the server's diagnostic through Flymake, clears it
// once its quick fix is applied, completes without snippets, renames a
// station into a pair that compiles, and shuts the
// server down with Eglot's shutdown and exit (both with null params).
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { program, withPatience } from './client.mjs';
import { drivers, editorHome, faultyPair, readmeSetup, serverStatus } from './editors.mjs';

function run(command, args, options) {
  const child = spawn(command, args, { ...options, stdio: ['ignore', 'pipe', 'pipe'] });
  let output = '';
  child.stdout.on('data', (chunk) => (output += chunk));
  child.stderr.on('data', (chunk) => (output += chunk));
  return withPatience(new Promise((resolve) => child.on('exit', (code) => resolve({ code, output }))), command)
    .finally(() => child.exitCode === null && child.kill());
}

test('Emacs and Eglot with the README setup: diagnostic, quick fix, rename, clean shutdown', async () => {
  const pair = faultyPair();
  const editor = editorHome();
  const init = join(editor.home, 'init.el');
  writeFileSync(init, readmeSetup('#### Emacs (Eglot)', 'elisp'));
  const { code, output } = await run('emacs', [
    // What an interactive Emacs does at startup: activate the installed packages (Eglot).
    '--batch', '--eval', '(package-activate-all)', '-l', init, '-l', join(drivers, 'eglot_driver.el'),
  ], {
    cwd: pair.folder,
    env: {
      ...editor.env,
      SCENARIOGEN_FILE: pair.train.path,
      SCENARIOGEN_RESULT: editor.result,
    },
  });
  assert.equal(code, 0, output);
  const seen = JSON.parse(readFileSync(editor.result, 'utf8'));
  assert.equal(seen.mode, 'scenariogen-mode');
  assert.equal(seen.coding, 'windows-1252-dos');
  assert.ok(seen.raised, `no diagnostic: ${output}`);
  const fault = seen.diagnostics.find((d) => d.message.includes('[8]'));
  assert.deepEqual([fault.line, fault.col], [pair.faultLine, 11]);
  assert.match(fault.message, /multiple of 50/);
  assert.match(seen.fix ?? 'no quick fix', /^Round 5310 m to 5300 m/);
  assert.ok(seen.cleared, 'the fixed fault stayed');
  assert.ok(seen.completions.some((c) => c.label === 'segnale'));
  assert.deepEqual(seen.completions.filter((c) => c.format === 2 || c.text.includes('$')), []);
  // Emacs notes the end of the stream there; the server says nothing.
  assert.doesNotMatch(seen.stderr, /scenariogen lsp:/);
  assert.ok(seen.renamed, 'the station was not renamed');
  assert.equal(await serverStatus(editor.status), 0);
  // The pair as Emacs saved it compiles.
  assert.match(readFileSync(pair.train.path, 'latin1'), /,   LUVERA CENTRALE\r\n/);
  const folder = mkdtempSync(join(tmpdir(), 'scenariogen-renamed-'));
  execFileSync(program, ['compile', pair.line.path, pair.train.path, '-o', folder], { stdio: 'pipe' });
});
