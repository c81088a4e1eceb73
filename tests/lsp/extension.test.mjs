// The VS Code extension's own path to the server: its built JavaScript,
// loaded with a stand-in for the `vscode` module, activates, and
// vscode-languageclient starts `scenariogen lsp` as it starts any server
// over stdio, hands it a faulty pair, shows the diagnostics, watches the
// partner file for the server, and stops the server cleanly; and goes to
// definition through the client's own provider.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import childProcess from 'node:child_process';
import { mkdtempSync } from 'node:fs';
import Module, { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { fixedDescriptions, program, withPatience, writeDescription } from './client.mjs';

const extensionFolder = fileURLToPath(new URL('../../editors/vscode/', import.meta.url));
const standInPath = fileURLToPath(new URL('./vscode_stand_in.cjs', import.meta.url));
const fromExtension = createRequire(join(extensionFolder, 'package.json'));

// The extension built from its sources, as its package script builds it,
// into a fresh folder.
function buildExtension() {
  const out = mkdtempSync(join(tmpdir(), 'scenariogen-extension-'));
  const tsc = fromExtension.resolve('typescript/bin/tsc');
  childProcess.execFileSync(process.execPath, [tsc, '-p', extensionFolder, '--outDir', out], { stdio: 'inherit' });
  return join(out, 'extension.js');
}

// `vscode` is the stand-in; the built extension finds its own packages
// where the extension's package.json has them installed.
function loadExtension(path) {
  const resolve = Module._resolveFilename;
  Module._resolveFilename = function (request, parent, ...rest) {
    if (request === 'vscode') return standInPath;
    if (parent?.filename === path && !request.startsWith('.')) return fromExtension.resolve(request);
    return resolve.call(this, request, parent, ...rest);
  };
  return createRequire(import.meta.url)(path);
}

// The processes vscode-languageclient starts, with their arguments.
function recordStarts() {
  const started = [];
  const spawn = childProcess.spawn;
  childProcess.spawn = (...args) => {
    const child = spawn(...args);
    const exited = new Promise((resolve) => child.on('exit', (code, signal) => resolve({ code, signal })));
    started.push({ command: args[0], args: args[1], child, exited });
    return child;
  };
  return started;
}

// The next diagnostics the client shows for `uri` that satisfy `accept`.
function shown(vscode, uri, accept) {
  return withPatience(new Promise((resolve) => {
    const listener = (at, diagnostics) => {
      if (at !== uri || !accept(diagnostics)) return;
      vscode.standIn.diagnostics.off('set', listener);
      resolve(diagnostics);
    };
    vscode.standIn.diagnostics.on('set', listener);
  }), `diagnostics shown for ${uri}`);
}

test('the extension starts the server through vscode-languageclient and shows its diagnostics', async (t) => {
  const started = recordStarts();
  const extension = loadExtension(buildExtension());
  const vscode = createRequire(import.meta.url)('vscode');
  vscode.standIn.configuration['scenariogen.path'] = program;
  // A failed test leaves no server behind.
  t.after(() => started.forEach(({ child }) => child.exitCode === null && child.kill()));

  const fixed = fixedDescriptions();
  const faulty = fixed.train.text.replace('stazione,  5300,', 'stazione,  5310,');
  writeDescription(fixed.train.path, faulty);
  const context = { subscriptions: [], extensionPath: extensionFolder };
  await extension.activate(context);
  assert.equal(started.length, 1, vscode.standIn.output);
  assert.deepEqual([started[0].command, started[0].args], [program, ['lsp', '--stdio']]);

  // The line description is open; its partner, on disk, holds the fault.
  const raised = shown(vscode, fixed.train.uri, (list) => list.length > 0);
  vscode.standIn.open(fixed.line.path, 'scenariogen', fixed.line.text);
  const fault = (await raised).find((d) => d.code === 8);
  assert.match(fault.message, /multiple of 50/);
  assert.equal(fault.range.start.line, fixed.train.text.split('\r\n').findIndex((l) => l.startsWith('stazione,  5300,')));

  // The server asked the client to watch the partner files; VS Code tells
  // the client of a change, the client tells the server.
  const watcher = vscode.standIn.watchers.find((w) => w.pattern.includes('txt'));
  assert.ok(watcher, `the client watches no description: ${vscode.standIn.output}`);
  const cleared = shown(vscode, fixed.train.uri, (list) => list.length === 0);
  writeDescription(fixed.train.path, fixed.train.text);
  watcher.changed.fire(vscode.Uri.file(fixed.train.path));
  await cleared;

  await extension.deactivate();
  assert.deepEqual(await withPatience(started[0].exited, 'the server to exit'), { code: 0, signal: null });
});

test("go to definition through the extension's client: from a signal to the sign board in its cell", async (t) => {
  const started = recordStarts();
  const extension = loadExtension(buildExtension());
  const vscode = createRequire(import.meta.url)('vscode');
  vscode.standIn.configuration['scenariogen.path'] = program;
  t.after(() => started.forEach(({ child }) => child.exitCode === null && child.kill()));

  const fixed = fixedDescriptions();
  // A signal at 550 m, where the first sign board stands.
  const text = fixed.train.text.replace('segnale,  3200,',
    'segnale,  550,  1,  4,  1,  0,  0,  0,  0,  0,  0,  0\r\nsegnale,  3200,');
  writeDescription(fixed.train.path, text);
  const signal = text.split('\r\n').findIndex((l) => l.startsWith('segnale,  550,'));
  const board = fixed.line.text.split('\r\n').findIndex((l) => l.startsWith('cartello_indicatore,  550,'));
  await extension.activate({ subscriptions: [], extensionPath: extensionFolder });
  // The train description open (its diagnostics come once the server has it), the line description on disk.
  const raised = shown(vscode, fixed.train.uri, (list) => list.length > 0);
  const document = vscode.standIn.open(fixed.train.path, 'scenariogen', text);
  await raised;

  // The provider of this test's client: the stand-in outlives the client of the test before.
  const { provider } = vscode.standIn.providers.registerDefinitionProvider?.at(-1) ?? {};
  assert.ok(provider, 'the client registered no definition provider');
  const token = new vscode.CancellationTokenSource().token;
  const found = await withPatience(provider.provideDefinition(document, new vscode.Position(signal, 3), token),
    'definition');
  const places = found.map((l) => {
    const [uri, range] = l.args ?? [l.uri ?? l.targetUri, l.range ?? l.targetRange];
    return [uri.toString(), range.start.line];
  });
  assert.ok(places.some(([uri, line]) => uri === fixed.line.uri && line === board), JSON.stringify(places));

  await extension.deactivate();
  assert.deepEqual(await withPatience(started[0].exited, 'the server to exit'), { code: 0, signal: null });
});
