// Partner files on disk: a change to a partner that is not open raises or
// clears its diagnostics without any open or save, whether the client
// watches the files for the server or the server watches them itself; a
// partner that a project file names but that does not exist is named, and
// the open file is checked alone.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { mkdtempSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';
import { Session, fixedDescriptions, lineStarting, writeDescription } from './client.mjs';

const withStationFault = (text) => text.replace('stazione,  5300,', 'stazione,  5310,');
const hasFault = (code) => (list) => list.some((d) => d.code === code);

test('the server watches the partner where the client does not register a watch', async () => {
  const fixed = fixedDescriptions();
  const session = new Session();
  await session.initialize();
  const opened = session.diagnostics(fixed.train.uri);
  await session.open(fixed.line);
  assert.deepEqual(await opened, []);

  const raised = session.diagnostics(fixed.train.uri, hasFault(8));
  writeDescription(fixed.train.path, withStationFault(fixed.train.text));
  await raised;
  const cleared = session.diagnostics(fixed.train.uri, (list) => list.length === 0);
  writeDescription(fixed.train.path, fixed.train.text);
  await cleared;
  assert.deepEqual(await session.close(), { code: 0, signal: null });
});

test('a client that allows it is asked to watch the partner files, and its notification recompiles', async () => {
  const fixed = fixedDescriptions();
  const session = new Session();
  let registrations;
  session.connection.onRequest('client/registerCapability', (params) => {
    registrations = params.registrations;
    return null;
  });
  await session.initialize({ workspace: { didChangeWatchedFiles: { dynamicRegistration: true } } });
  const opened = session.diagnostics(fixed.train.uri);
  await session.open(fixed.line);
  await opened;
  assert.equal(registrations[0].method, 'workspace/didChangeWatchedFiles');
  const globs = registrations[0].registerOptions.watchers.map((w) => w.globPattern);
  assert.ok(globs.includes('**/scenario.json') && globs.some((g) => g.includes('txt')), globs);

  const raised = session.diagnostics(fixed.train.uri, hasFault(8));
  writeDescription(fixed.train.path, withStationFault(fixed.train.text));
  await session.connection.sendNotification('workspace/didChangeWatchedFiles', {
    changes: [{ uri: fixed.train.uri, type: 2 }],
  });
  await raised;
  assert.deepEqual(await session.close(), { code: 0, signal: null });
});

// A folder whose scenario.json names a line description and a train
// description; `files` are written into it.
function project(files) {
  const folder = mkdtempSync(join(tmpdir(), 'scenariogen-project-'));
  writeFileSync(join(folder, 'scenario.json'),
    JSON.stringify({ line: 'valbruna_linea.txt', train: 'valbruna_treno.txt', name: 'Valbruna' }));
  const documents = {};
  for (const [name, text] of Object.entries(files)) {
    const path = join(folder, name);
    writeDescription(path, text);
    documents[name] = { path, uri: pathToFileURL(path).href, text };
  }
  return { folder, documents, path: (name) => join(folder, name) };
}

test('a partner that scenario.json names and that does not exist is named, and the open file is checked alone', async () => {
  const fixed = fixedDescriptions();
  const faulty = fixed.line.text.replace('pendenza,  14100,  -6', 'pendenza,  14100,  200');
  const { documents, path } = project({ 'valbruna_linea.txt': faulty });
  const line = documents['valbruna_linea.txt'];
  const session = new Session();
  await session.initialize();
  const published = session.diagnostics(line.uri);
  await session.open(line);
  const list = await published;
  const missing = list.find((d) => d.message.includes('valbruna_treno.txt'));
  assert.match(missing.message, /train description named in scenario\.json cannot be read/);
  assert.equal(missing.severity, 1);
  // The line's own fault, at its field, as when the line compiles alone.
  const gradient = list.find((d) => d.code === 'out-of-range');
  assert.equal(gradient.range.start.line, lineStarting(faulty, 'pendenza,  14100,'));

  // The missing file appears: the line compiles with it.
  const paired = session.diagnostics(line.uri, (l) => !l.some((d) => d.message.includes('valbruna_treno.txt')));
  writeDescription(path('valbruna_treno.txt'), fixed.train.text);
  assert.ok((await paired).some((d) => d.code === 'out-of-range'));
  await session.close();
});

test('a train description whose line description does not exist names it', async () => {
  const fixed = fixedDescriptions();
  const { documents } = project({ 'valbruna_treno.txt': fixed.train.text });
  const train = documents['valbruna_treno.txt'];
  const session = new Session();
  await session.initialize();
  const published = session.diagnostics(train.uri);
  await session.open(train);
  const [diagnostic] = await published;
  assert.match(diagnostic.message, /line description named in scenario\.json cannot be read: .*valbruna_linea\.txt/);
  await session.close();
});
