// The extension's TextMate grammar, through vscode-textmate (the engine VS
// Code colours with): what each part of a description line is coloured as.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { fileURLToPath } from 'node:url';
import textmate from 'vscode-textmate';
import oniguruma from 'vscode-oniguruma';

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

// The scopes of the text `part` on `line`, outermost first.
function scopesOf(grammar, line, part) {
  const { tokens } = grammar.tokenizeLine(line, textmate.INITIAL);
  const at = line.indexOf(part);
  assert.ok(at >= 0, `${part} is on ${line}`);
  const token = tokens.find((t) => t.startIndex <= at && at < t.endIndex);
  return token.scopes;
}

test('keywords, values, names, headers and the lines the reader skips', async () => {
  const grammar = await loadGrammar();
  const cases = [
    ['[curve]', '[curve]', 'entity.name.section'],
    ['pendenza,  14100,  -6', 'pendenza', 'keyword.other'],
    ['pendenza,  14100,  -6', '-6', 'constant.numeric'],
    ['curvas4,  11800,  700', 'curvas4', 'keyword.other'],
    ['Lunghezza Percorso,  46000', 'Lunghezza', 'keyword.other'],
    ['progressiva chilometrica due,  12700,  49600,  1', 'progressiva', 'keyword.other'],
    // The reader wants this keyword in its own letter case: it passes over the line.
    ['Progressiva chilometrica due,  12700,  49600,  1', '12700', 'comment.line.ignored'],
    ['orologio,    6               32            50 ', '32', 'constant.numeric'],
    ['stazione,  0,  4,  600,  0,  0,  0,  1,  1,  0,  4,  1,  1,  1,  6,  33,  0,   ODELMA S.LEONARDINO', 'S.LEONARDINO',
      'string.unquoted.name'],
    ['stazione,  0,  4,  600,  0,  0,  0,  1,  1,  0,  4,  1,  1,  1,  6,  33,  0,   ZERVANO', '33', 'constant.numeric'],
    ['cartello_indicatore,  650,     (   P.L.  )(km 0+662)', '(km 0+662)', 'string.unquoted.sign'],
    ['cartello_indicatore,  650,     (   P.L.  )(km 0+662)', '650', 'constant.numeric'],
    ['segnale,  3200,  1,  4x', '4x', 'invalid.illegal'],
    ['---------- segnali di partenza', 'segnali', 'comment.line.dash'],
    ['pendnza,  100,  4', 'pendnza', 'comment.line.ignored'],
  ];
  for (const [line, part, scope] of cases) {
    const scopes = scopesOf(grammar, line, part);
    assert.ok(scopes.slice(1).some((s) => s.startsWith(scope)), `${part} in "${line}": ${scopes}`);
  }
});
