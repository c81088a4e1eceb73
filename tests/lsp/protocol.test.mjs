// The language server through the real protocol: diagnostics as the author
// types, hover, symbols, folding, completion, formatting and inlay hints on
// the generation run's own descriptions.
import { test, describe } from 'node:test';
import assert from 'node:assert/strict';
import { Session, fixedDescriptions, lineStarting, writeDescription } from './client.mjs';

// The train description with its second station 10 m off the 50 m grid.
function withStationFault(fixed) {
  const text = fixed.train.text.replace('stazione,  5300,', 'stazione,  5310,');
  const line = lineStarting(text, 'stazione,  5310,');
  return { text, line, range: { start: { line, character: 11 }, end: { line, character: 15 } } };
}

describe('diagnostics as the author types', () => {
  test('the fixed run descriptions compile without a diagnostic', async () => {
    const fixed = fixedDescriptions();
    const session = new Session();
    await session.initialize();
    const line = session.diagnostics(fixed.line.uri);
    const train = session.diagnostics(fixed.train.uri);
    await session.open(fixed.line);
    await session.open(fixed.train);
    assert.deepEqual(await line, []);
    assert.deepEqual(await train, []);
    assert.deepEqual(await session.close(), { code: 0, signal: null });
  });

  test('a fault stands at its field with its number, and a change that fixes it clears it', async () => {
    const fixed = fixedDescriptions();
    const fault = withStationFault(fixed);
    const session = new Session();
    await session.initialize();
    const published = session.diagnostics(fixed.train.uri, (list) => list.length > 0);
    await session.open(fixed.line);
    await session.open({ ...fixed.train, text: fault.text });
    // The compiler's error 8 and the strict check's name for it: one diagnostic, at the field.
    const list = await published;
    const same = list.filter((d) => d.range.start.line === fault.range.start.line);
    assert.equal(same.length, 1, JSON.stringify(list));
    const [diagnostic] = same;
    assert.deepEqual([diagnostic.code, diagnostic.data], [8, { number: 8, name: 'not-multiple' }]);
    assert.equal(diagnostic.severity, 1);
    assert.deepEqual(diagnostic.range, fault.range);
    assert.match(diagnostic.message, /multiple of 50 \(error 8\)/);

    const cleared = session.diagnostics(fixed.train.uri);
    await session.change(fixed.train.uri, 2, [{ range: fault.range, text: '5300' }]);
    assert.deepEqual(await cleared, []);
    await session.close();
  });

  test('a fault in the partner file on disk is published at the partner', async () => {
    const fixed = fixedDescriptions();
    const fault = withStationFault(fixed);
    writeDescription(fixed.train.path, fault.text);
    const session = new Session();
    await session.initialize();
    const train = session.diagnostics(fixed.train.uri, (list) => list.length > 0);
    const line = session.diagnostics(fixed.line.uri);
    await session.open(fixed.line);
    const diagnostic = (await train).find((d) => d.data?.number === 8);
    assert.deepEqual(diagnostic.range, fault.range);
    assert.deepEqual(await line, []);
    await session.close();
  });

  test('a fault of the placement rules stands at the line that placed the object in its cell', async () => {
    const fixed = fixedDescriptions();
    // Three code-drop points fill the cells where the slowdown's first point
    // before its start must go (error 12).
    const text = fixed.train.text
      .replace('[rallentamenti]\r\n', '[rallentamenti]\r\nrallentamento,  20000,  60,  500,  0,  0,  0\r\n')
      .replace('[codici]\r\n', '[codici]\r\n' +
        ['19700', '19750', '19800'].map((p) => `abbattimento,  ${p},  1\r\n`).join(''));
    const line = lineStarting(text, 'rallentamento,  20000,');
    const session = new Session();
    await session.initialize();
    const published = session.diagnostics(fixed.train.uri, (list) => list.length > 0);
    await session.open(fixed.line);
    await session.open({ ...fixed.train, text });
    const diagnostic = (await published).find((d) => d.code === 12);
    assert.deepEqual(diagnostic.range, { start: { line, character: 0 }, end: { line, character: 'rallentamento'.length } });
    assert.match(diagnostic.message, /cell 401/);
    await session.close();
  });

  test("the strict check's warnings, with their notes as related information", async () => {
    const fixed = fixedDescriptions();
    // LUVERA's time put before ZERVANO's.
    const text = fixed.train.text.replace('60,  6,  39,  0,   LUVERA', '60,  6,  30,  0,   LUVERA');
    const session = new Session();
    await session.initialize();
    const published = session.diagnostics(fixed.train.uri, (list) => list.length > 0);
    await session.open(fixed.line);
    await session.open({ ...fixed.train, text });
    const [warning] = await published;
    const line = lineStarting(text, 'stazione,  5300,');
    assert.deepEqual([warning.code, warning.severity, warning.range.start.line], ['timetable-order', 2, line]);
    assert.deepEqual(warning.relatedInformation.map((r) => [r.location.uri, r.location.range.start.line, r.message]),
      [[fixed.train.uri, line - 1, 'the previous station']]);
    await session.close();
  });

  test('a character without a Windows-1252 form gets the error that compile gives the saved file, at its column', async () => {
    const fixed = fixedDescriptions();
    // \u0150 has no Windows-1252 form; the engine before it is two UTF-16 units.
    const text = fixed.train.text.replace('   LUVERA', '   \u{1F686} LUVERA \u0150');
    const session = new Session();
    await session.initialize();
    const published = session.diagnostics(fixed.train.uri, (list) => list.length > 0);
    await session.open(fixed.line);
    await session.open({ ...fixed.train, text });
    const list = await published;
    const line = lineStarting(text, 'stazione,  5300,');
    const row = text.split('\r\n')[line];
    assert.deepEqual(list.map((d) => [d.code, d.range.start.line, d.range.start.character]), [
      ['encoding', line, row.indexOf('\u{1F686}')],
      ['encoding', line, row.indexOf('\u0150')],
    ]);
    assert.match(list[1].message, /'\u0150' \(U\+0150\) has no Windows-1252 form/);
    await session.close();
  });

  test('a line description without a partner compiles alone', async () => {
    const fixed = fixedDescriptions();
    const lonely = { ...fixed.line, uri: fixed.line.uri.replace('Zervano-OdelmaVmod_linea', 'Altrove_linea') };
    const session = new Session();
    await session.initialize();
    const published = session.diagnostics(lonely.uri);
    await session.open(lonely);
    assert.deepEqual(await published, []);
    await session.close();
  });
});

describe('hover', () => {
  test('on a gradient line: its km, its cell and the gradient in force there', async () => {
    const fixed = fixedDescriptions();
    const session = new Session();
    await session.initialize();
    await session.open(fixed.line);
    await session.open(fixed.train);
    const line = lineStarting(fixed.line.text, 'pendenza,  14100,');
    // On its value and on its keyword alike.
    for (const [character, range, meaning] of [[13, [11, 16], /value `position` \(m\)/], [2, [0, 8], /`gradient` \| ‰ \|/]]) {
      const hover = await session.request('textDocument/hover', {
        textDocument: { uri: fixed.line.uri },
        position: { line, character },
      });
      const text = hover.contents.value;
      assert.match(text, /km 14\+100/);
      assert.match(text, /cells 282 to 321 \(14050 to 16050 m\)/);
      assert.match(text, /gradient -6 ‰/);
      assert.match(text, /speed 140 km\/h/);
      assert.match(text, meaning);
      assert.deepEqual(hover.range, { start: { line, character: range[0] }, end: { line, character: range[1] } });
    }
    await session.close();
  });

  test('on a signal line: the cells it takes and what they hold after the placement rules', async () => {
    const fixed = fixedDescriptions();
    const session = new Session();
    await session.initialize();
    await session.open(fixed.line);
    await session.open(fixed.train);
    const line = lineStarting(fixed.train.text, 'segnale,  3200,');
    const hover = await session.request('textDocument/hover', {
      textDocument: { uri: fixed.train.uri },
      position: { line, character: 12 },
    });
    assert.match(hover.contents.value, /km 3\+200/);
    assert.match(hover.contents.value, /\| 65 \| 3200 m \| signal/);
    await session.close();
  });

  test('on a keyword: the meaning of its line and its fields with units', async () => {
    const fixed = fixedDescriptions();
    const session = new Session();
    await session.initialize();
    await session.open(fixed.train);
    const cases = [
      ['stazione,  0,', /\*\*stazione\*\*[^]*`length` \| m \|[^]*`stop` \| s \|/],
      ['velocita,  0,', /\*\*velocita\*\*[^]*`speed limit` \| km\/h \|/],
    ];
    for (const [prefix, expected] of cases) {
      const hover = await session.request('textDocument/hover', {
        textDocument: { uri: fixed.train.uri },
        position: { line: lineStarting(fixed.train.text, prefix), character: 2 },
      });
      assert.match(hover.contents.value, expected, prefix);
    }
    await session.close();
  });
});

describe('outline and editing help', () => {
  test('symbols: the sections, with the stations and signals in them', async () => {
    const fixed = fixedDescriptions();
    const session = new Session();
    await session.initialize();
    await session.open(fixed.train);
    const symbols = await session.request('textDocument/documentSymbol', { textDocument: { uri: fixed.train.uri } });
    assert.deepEqual(
      symbols.map((s) => s.name),
      ['[generale]', '[aderenze]', '[vel_limite]', '[stazioni]', '[rallentamenti]', '[segnali]', '[codici]', '[fine]'],
    );
    const stations = symbols.find((s) => s.name === '[stazioni]').children;
    assert.deepEqual(stations.map((s) => s.name), [
      'ZERVANO', 'LUVERA', 'BRENDAGO', 'TORRIANEVALLE', 'MURIELLO', 'CALVISSO', 'FONTEGA', 'ODELMA S.LEONARDINO',
      'ODELMA P.LIVARA',
    ]);
    assert.equal(stations[1].detail, 'stazione km 5+300');
    const signals = symbols.find((s) => s.name === '[segnali]').children;
    assert.equal(signals[0].name, 'segnale km 3+200');
    assert.equal(signals.at(-1).name, 'segnale km 43+000');
    await session.close();
  });

  test('folding: one range per section', async () => {
    const fixed = fixedDescriptions();
    const session = new Session();
    await session.initialize();
    await session.open(fixed.line);
    const ranges = await session.request('textDocument/foldingRange', { textDocument: { uri: fixed.line.uri } });
    const curves = lineStarting(fixed.line.text, '[curve]');
    assert.deepEqual(ranges[0], { startLine: 0, endLine: curves - 1, kind: 'region' });
    assert.deepEqual(ranges[1], { startLine: curves, endLine: curves + 20, kind: 'region' });
    await session.close();
  });

  test('completion: the keywords understood where the cursor stands, with snippets of their fields', async () => {
    const fixed = fixedDescriptions();
    const session = new Session();
    await session.initialize();
    await session.open(fixed.line);
    await session.open(fixed.train);
    const labels = async (document, prefix, character) => {
      const { items } = await session.request('textDocument/completion', {
        textDocument: { uri: document.uri },
        position: { line: lineStarting(document.text, prefix), character },
      });
      return items;
    };
    const general = (await labels(fixed.line, 'sfondo uno', 3)).map((i) => i.label);
    assert.ok(general.includes('lunghezza percorso') && !general.includes('pendenza'));
    const objects = await labels(fixed.line, 'pendenza,  0,', 3);
    const gradient = objects.find((i) => i.label === 'pendenza');
    assert.equal(gradient.textEdit.newText, 'pendenza,  ${1:position},  ${2:gradient}');
    assert.deepEqual(gradient.textEdit.range.start.character, 0);
    const train = (await labels(fixed.train, 'segnale,  3200,', 0)).map((i) => i.label);
    assert.ok(train.includes('segnale') && train.includes('stazione') && !train.includes('pendenza'));
    assert.deepEqual(await labels(fixed.train, 'segnale,  3200,', 12), []);
    await session.close();

    // A client that declares neither snippets nor Markdown gets neither.
    const plain = new Session();
    await plain.initialize({});
    await plain.open(fixed.line);
    const { items } = await plain.request('textDocument/completion', {
      textDocument: { uri: fixed.line.uri },
      position: { line: lineStarting(fixed.line.text, 'pendenza,  0,'), character: 3 },
    });
    const bare = items.find((i) => i.label === 'pendenza');
    assert.deepEqual([bare.insertTextFormat, bare.textEdit.newText, bare.documentation.kind], [1, 'pendenza,  ', 'plaintext']);
    assert.ok(items.every((i) => !/\$\{/.test(i.textEdit.newText)), 'no snippet');
    await plain.close();
  });

  test('a client that declares neither snippets nor markdown gets plain text', async () => {
    const fixed = fixedDescriptions();
    const session = new Session();
    // What Eglot without a snippet package and Neovim 0.7 declare, less all the rest.
    await session.initialize({ textDocument: { completion: { completionItem: { snippetSupport: false } } } });
    await session.open(fixed.line);
    await session.open(fixed.train);
    const line = lineStarting(fixed.line.text, 'pendenza,  0,');
    const { items } = await session.request('textDocument/completion', {
      textDocument: { uri: fixed.line.uri },
      position: { line, character: 3 },
    });
    for (const item of items) {
      assert.equal(item.insertTextFormat ?? 1, 1, item.label);
      assert.doesNotMatch(item.textEdit.newText, /\$/, item.label);
      if (item.documentation) assert.equal(item.documentation.kind, 'plaintext', item.label);
    }
    assert.equal(items.find((i) => i.label === 'pendenza').textEdit.newText, 'pendenza,  ');
    const hover = await session.request('textDocument/hover', {
      textDocument: { uri: fixed.line.uri },
      position: { line: lineStarting(fixed.line.text, 'pendenza,  14100,'), character: 2 },
    });
    assert.equal(hover.contents.kind, 'plaintext');
    assert.match(hover.contents.value, /^pendenza at km 14\+100/);
    assert.match(hover.contents.value, /^gradient {2,}‰ {2,}/m);
    assert.doesNotMatch(hover.contents.value, /\*\*|`|\|/);
    await session.close();
  });

  test('formatting aligns the fields of each section without changing a value', async () => {
    const fixed = fixedDescriptions();
    const session = new Session();
    await session.initialize();
    await session.open(fixed.line);
    await session.open(fixed.train);
    const edits = await session.request('textDocument/formatting', {
      textDocument: { uri: fixed.train.uri },
      options: { tabSize: 4, insertSpaces: true },
    });
    const formatted = applyEdits(fixed.train.text, edits);
    const squeezed = (text) => text.replace(/,[ \t]*/g, ',').replace(/^[ \t]+/gm, '');
    assert.equal(squeezed(formatted), squeezed(fixed.train.text));
    const rows = formatted.split('\r\n');
    for (const prefix of ['velocita', 'stazione', 'segnale']) {
      const columns = rows.filter((row) => row.startsWith(prefix + ',')).map(commaColumns);
      for (const row of columns) assert.deepEqual(row, columns[0], prefix);
    }
    assert.equal(rows[lineStarting(fixed.train.text, 'velocita,  700,')], 'velocita,  700,    140');

    const recompiled = session.diagnostics(fixed.train.uri);
    await session.change(fixed.train.uri, 2, [{ text: formatted }]);
    assert.deepEqual(await recompiled, []);
    await session.close();
  });

  test('inlay hints: the km of each positioned line', async () => {
    const fixed = fixedDescriptions();
    const session = new Session();
    await session.initialize();
    await session.open(fixed.line);
    const hints = await session.request('textDocument/inlayHint', {
      textDocument: { uri: fixed.line.uri },
      range: { start: { line: 0, character: 0 }, end: { line: 200, character: 0 } },
    });
    const line = lineStarting(fixed.line.text, 'pendenza,  14100,');
    const hint = hints.find((h) => h.position.line === line);
    assert.deepEqual([hint.label, hint.position.character], ['km 14+100', 16]);
    assert.ok(!hints.some((h) => h.position.line < lineStarting(fixed.line.text, '[curve]')));
    await session.close();
  });
});

function applyEdits(text, edits) {
  const lines = text.split('\r\n');
  const sorted = [...edits].sort((a, b) => b.range.start.line - a.range.start.line ||
    b.range.start.character - a.range.start.character);
  for (const { range, newText } of sorted) {
    assert.equal(range.start.line, range.end.line);
    const row = lines[range.start.line];
    lines[range.start.line] = row.slice(0, range.start.character) + newText + row.slice(range.end.character);
  }
  return lines.join('\r\n');
}

// The columns at which a row's fields start after each comma.
function commaColumns(row) {
  const columns = [];
  for (let i = 0; i < row.length; i++) {
    if (row[i] !== ',') continue;
    let j = i + 1;
    while (row[j] === ' ') j++;
    columns.push(j);
  }
  return columns;
}
