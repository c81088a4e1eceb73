// The extension's TextMate grammar, through vscode-textmate (the engine VS
// Code colours with): lines that the reader reads are coloured as keywords
// and values, lines it passes over as comments, each line in the place of
// the file where it stands.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { fileURLToPath } from 'node:url';
import textmate from 'vscode-textmate';
import oniguruma from 'vscode-oniguruma';
import { grammar as generated } from '../../editors/vscode/syntaxes/grammar.mjs';

const require = createRequire(import.meta.url);
const grammarPath = fileURLToPath(new URL('../../editors/vscode/syntaxes/scenariogen.tmLanguage.json', import.meta.url));

async function loadGrammar() {
  const wasm = readFileSync(require.resolve('vscode-oniguruma/release/onig.wasm'));
  await oniguruma.loadWASM(wasm.buffer.slice(wasm.byteOffset, wasm.byteOffset + wasm.byteLength));
  const registry = new textmate.Registry({
    onigLib: Promise.resolve({
      createOnigScanner: (patterns) => new oniguruma.OnigScanner(patterns),
      createOnigString: (text) => new oniguruma.OnigString(text),
    }),
    loadGrammar: async () => textmate.parseRawGrammar(readFileSync(grammarPath, 'utf8'), grammarPath),
  });
  return registry.loadGrammar('source.scenariogen');
}

// The lines above the line under test: where in the file it stands.
const places = {
  first: [],
  general: ['[generale]'],
  line: ['[generale]', 'lunghezza percorso,  46000', '[curve]'],
  train: ['[generale]', 'numero vetture,    6', '[aderenze]'],
};

// The scopes of the text `part` on `line` standing in `place`.
function scopesOf(grammar, place, line, part) {
  let state = textmate.INITIAL;
  for (const above of places[place]) state = grammar.tokenizeLine(above, state).ruleStack;
  const { tokens } = grammar.tokenizeLine(line, state);
  const at = line.indexOf(part);
  assert.ok(at >= 0, `${part} is on ${line}`);
  return tokens.find((t) => t.startIndex <= at && at < t.endIndex).scopes;
}

const station15 = 'stazione,  0,  4,  600,  0,  0,  0,  1,  1,  0,  4,  1,  1,  1,  6,  33,   ZERVANO';
const station16 = 'stazione,  0,  4,  600,  0,  0,  0,  1,  1,  0,  4,  1,  1,  1,  6,  33,  0,   ZERVANO';
const signal = ',  3200,  1,  4,  1,  0,  0,  0,  0,  0,  0,  0';

test('what the reader reads is coloured as read, what it passes over as a comment', async () => {
  const grammar = await loadGrammar();
  const keyword = 'keyword.other';
  const number = 'constant.numeric';
  const ignored = 'comment.line.ignored';
  const cases = [
    // The general section: its own keywords, some in their own letter case only.
    ['general', 'Lunghezza Percorso,  46000', 'Lunghezza', keyword],
    ['general', 'progressiva chilometrica due,  12700,  49600,  1', '49600', number],
    ['general', 'Progressiva chilometrica due,  12700,  49600,  1', '12700', ignored],
    ['general', 'sfondo uno,  3', 'sfondo', keyword],
    ['general', 'ripetizione segnali 4 codici,  0,  46000', 'ripetizione', keyword],
    ['general', 'ripetizione segnali codici,  0,  46000', 'ripetizione', 'invalid.illegal.keyword'],
    ['general', 'pendenza,  100,  4', 'pendenza', ignored],
    ['general', '---------- segnali di partenza', 'segnali', 'comment.line.dash'],
    ['general', '[curve]', '[curve]', 'entity.name.section'],
    // After it, the line's objects; the general keywords no more.
    ['line', '[pendenze]', '[pendenze]', 'entity.name.section'],
    ['line', 'pendenza,  14100,  -6', 'pendenza', keyword],
    ['line', 'PENDENZA,  14100,  -6', '-6', number],
    ['line', 'pendenza,  14100,  -6,  salita', 'salita', ignored],
    ['line', 'pendnza,  100,  4', 'pendnza', ignored],
    ['line', 'curvas4,  11800,  700', 'curvas4', keyword],
    ['line', 'curvas,  11800,  700', 'curvas', 'invalid.illegal.keyword'],
    ['line', 'montagna,  1000,  2000,  12', '12', number],
    ['line', 'indicatori_vmax,  700,  60,  50,  40,  2,  ,  ,  ,  0', '40', number],
    ['line', 'cartello_indicatore,  650,     (   P.L.  )(km 0+662)', '(km 0+662)', 'string.unquoted.sign'],
    ['line', 'cartello_indicatore,  650,     (   P.L.  )(km 0+662)', '650', number],
    ['line', 'sfondo uno,  3', 'sfondo', ignored],
    // The train's keywords: anywhere in the field, in any case, accents after them.
    ['general', 'numero vetture,    6', 'numero', keyword],
    ['general', 'orologio,    6               32            50 ', '32', number],
    ['train', 'velocità,  700,  140', 'velocità', keyword],
    ['train', 'VELOCITÀ,  700,  140', '140', number],
    ['train', station16, 'ZERVANO', 'string.unquoted.name'],
    ['train', station16, '33', number],
    ['train', station16.replace('ZERVANO', 'ODELMA S.LEONARDINO'), 'S.LEONARDINO', 'string.unquoted.name'],
    // Fifteen numbers: the reader takes the name for the sixteenth.
    ['train', station15, 'stazione', keyword],
    ['train', station15, 'ZERVANO', 'invalid.illegal'],
    ['train', 'REM segnale' + signal, 'REM segnale', keyword],
    ['train', 'nosegnale' + signal, 'nosegnale', keyword],
    ['train', 'segnale,  3200,  1,  4x', '4x', 'invalid.illegal'],
    ['train', 'segnale-x' + signal, 'segnale', 'comment.line.dash'],
    ['train', '[stazione]', '[stazione]', keyword],
    ['train', '[stazioni]', '[stazioni]', 'entity.name.section'],
    // Before [generale], nothing is read.
    ['first', 'pendenza,  100,  4', 'pendenza', 'comment.block.ignored'],
    ['first', '[generale]', '[generale]', 'entity.name.section'],
  ];
  const wrong = [];
  for (const [place, line, part, scope] of cases) {
    const scopes = scopesOf(grammar, place, line, part).slice(1);
    const comment = scopes.some((s) => s.startsWith('comment'));
    if (!scopes.some((s) => s.startsWith(scope)) || (comment && !scope.startsWith('comment'))) {
      wrong.push(`${part} in "${line}" (${place}): ${scopes.join(' ')}, not ${scope}`);
    }
  }
  assert.deepEqual(wrong, []);
});

test("the run's own descriptions: every line the reader reads is coloured as read, nothing as invalid", async () => {
  const grammar = await loadGrammar();
  const golden = new URL('../golden/', import.meta.url);
  for (const name of ['Zervano-OdelmaVmod_linea.txt', 'Zervano-OdelmaVmod_27340-.txt']) {
    let state = textmate.INITIAL;
    const wrong = [];
    for (const line of readFileSync(new URL(name, golden), 'latin1').split('\r\n').filter((l) => l !== '')) {
      const { tokens, ruleStack } = grammar.tokenizeLine(line, state);
      state = ruleStack;
      const scopes = tokens.flatMap((t) => t.scopes);
      const read = line.startsWith('[') || line.startsWith('-') ||
        scopes.some((s) => s.startsWith('keyword.other'));
      if (!read || scopes.some((s) => s.startsWith('invalid'))) wrong.push(line);
    }
    assert.deepEqual(wrong, [], name);
  }
});

test('the grammar is the one its table of keywords writes', () => {
  assert.deepEqual(JSON.parse(readFileSync(grammarPath, 'utf8')), generated);
});
