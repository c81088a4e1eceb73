// Quick fixes, navigation and renaming through the real protocol, as an
// editor drives them: a faulty pair opened, its quick fix applied and the
// cleared list received; from a signal to the sign board in its cell; a
// station renamed in both files, the renamed pair compiled by the program;
// a clean shutdown.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { Session, fixedDescriptions, lineStarting, program, writeDescription } from './client.mjs';

// A document's text with the edits of one document made in it.
function applied(text, edits) {
  const lines = text.split('\r\n');
  const sorted = [...edits].sort((a, b) => b.range.start.line - a.range.start.line ||
    b.range.start.character - a.range.start.character);
  for (const { range, newText } of sorted) {
    assert.equal(range.start.line, range.end.line, 'the edits stay on one line');
    const line = lines[range.start.line];
    lines[range.start.line] = line.slice(0, range.start.character) + newText + line.slice(range.end.character);
  }
  return lines.join('\r\n');
}

// The edits of a workspace edit made in the open documents, as the client
// makes them, and sent to the server.
async function apply(session, documents, edit) {
  for (const [uri, edits] of Object.entries(edit.changes)) {
    const document = documents.find((d) => d.uri === uri);
    document.text = applied(document.text, edits);
    document.version = (document.version ?? 1) + 1;
    await session.change(uri, document.version, [{ text: document.text }]);
  }
}

test('a quick fix clears its diagnostic', async () => {
  const fixed = fixedDescriptions();
  const train = { ...fixed.train, text: fixed.train.text.replace('stazione,  5300,', 'stazione,  5310,') };
  const session = new Session();
  await session.initialize();
  const raised = session.diagnostics(train.uri, (list) => list.length > 0);
  await session.open(fixed.line);
  await session.open(train);
  const [fault] = await raised;
  const actions = await session.request('textDocument/codeAction', {
    textDocument: { uri: train.uri }, range: fault.range, context: { diagnostics: [fault] },
  });
  const fix = actions.find((a) => a.isPreferred);
  assert.equal(fix?.title, 'Round 5310 m to 5300 m, on the 50 m grid', JSON.stringify(actions));
  assert.deepEqual(fix.diagnostics, [fault]);
  const cleared = session.diagnostics(train.uri);
  await apply(session, [train], fix.edit);
  assert.deepEqual(await cleared, []);
  assert.equal(train.text, fixed.train.text);
  assert.deepEqual(await session.close(), { code: 0, signal: null });
});

test('from a signal to the sign board in its cell, and back', async () => {
  const fixed = fixedDescriptions();
  // A signal at 550 m, where the first sign board stands.
  const train = {
    ...fixed.train,
    text: fixed.train.text.replace('segnale,  3200,', 'segnale,  550,  1,  4,  1,  0,  0,  0,  0,  0,  0,  0\r\nsegnale,  3200,'),
  };
  const signal = lineStarting(train.text, 'segnale,  550,');
  const board = lineStarting(fixed.line.text, 'cartello_indicatore,  550,');
  const session = new Session();
  await session.initialize();
  const raised = session.diagnostics(train.uri, (list) => list.length > 0);
  await session.open(fixed.line);
  await session.open(train);
  await raised;
  const definition = await session.request('textDocument/definition', {
    textDocument: { uri: train.uri }, position: { line: signal, character: 3 },
  });
  assert.ok(definition.some((l) => l.uri === fixed.line.uri && l.range.start.line === board), JSON.stringify(definition));
  const references = await session.request('textDocument/references', {
    textDocument: { uri: fixed.line.uri }, position: { line: board, character: 3 }, context: { includeDeclaration: true },
  });
  assert.deepEqual(references.map((l) => [l.uri, l.range.start.line]), [[train.uri, signal]]);
  assert.deepEqual(await session.close(), { code: 0, signal: null });
});

test('a station renamed in both files, and the renamed pair compiles', async () => {
  const fixed = fixedDescriptions();
  // The sign board at 4900 m names LUVERA.
  const line = { ...fixed.line, text: fixed.line.text.replace('(   P.L.  )(km 4+919)', '(Stazione di)(LUVERA)') };
  const train = { ...fixed.train };
  const station = lineStarting(train.text, 'stazione,  5300,');
  const column = train.text.split('\r\n')[station].indexOf('LUVERA');
  const session = new Session();
  await session.initialize();
  await session.open(line);
  await session.open(train);
  const where = { textDocument: { uri: train.uri }, position: { line: station, character: column + 1 } };
  const prepared = await session.request('textDocument/prepareRename', where);
  assert.equal(prepared.placeholder, 'LUVERA');
  const edit = await session.request('textDocument/rename', { ...where, newName: 'LUVERA CENTRALE' });
  assert.deepEqual(Object.keys(edit.changes).sort(), [line.uri, train.uri].sort());
  await apply(session, [line, train], edit);
  assert.match(line.text, /\(Stazione di\)\(LUVERA CENTRALE\)/);
  assert.match(train.text, /,   LUVERA CENTRALE\r\n/);
  assert.deepEqual(await session.close(), { code: 0, signal: null });

  writeDescription(line.path, line.text);
  writeDescription(train.path, train.text);
  const output = mkdtempSync(join(tmpdir(), 'scenariogen-renamed-'));
  execFileSync(program, ['compile', line.path, train.path, '-o', output], { stdio: 'pipe' });
});
