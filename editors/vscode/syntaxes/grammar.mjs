// Writes scenariogen.tmLanguage.json, the colours of the description files,
// from the table of keywords below: `node syntaxes/grammar.mjs`.
//
// The colours follow the reader. It reads a stream of comma fields; a field
// where a keyword may stand is a keyword field when it contains the keyword's
// words anywhere (most in any letter case, some in their own case only), and
// the keyword then reads its values from the fields that follow. A keyword
// field that holds a dash is skipped, and so is any field that names no
// keyword: those lines are coloured as comments. Nothing before "[generale]"
// is read; the general keywords of the line description are read only in
// its general section, which ends at the first field holding "[" and "]";
// the other keywords anywhere after "[generale]". Headers that name no
// keyword are landmarks for people. A line with fewer values than its
// keyword reads takes the rest from the next line: a grammar, which sees one
// line at a time, does not follow that; the server's diagnostics do.
import { writeFileSync } from 'node:fs';
import { fileURLToPath } from 'node:url';

const field = '[^,\\r\\n]*';
const anyCase = (word) => `(?=${field}(?i:${word}))`;
const ownCase = (word) => `(?=${field}${word})`;

// Each keyword: how the reader recognises its field, the numbers it reads,
// and whether a text follows them. `refused`: a field that the reader
// recognises and then refuses (the server tells why).
const general = [
  { name: 'length', test: anyCase('percorso') + anyCase('lunghezza'), values: 1 },
  { name: 'progressive', test: ownCase('progressiva') + ownCase('(?:tre|due|uno)'), values: 3 },
  { name: 'background', test: ownCase('sfondo') + ownCase('(?:uno|due|tre)'), values: 1 },
  { name: 'repetition', test: ownCase('segnali') + ownCase('ripetizione'), values: 2, refused: `(?!${field}[49])` },
];
const lineObjects = [
  { name: 'gradient', test: anyCase('pendenza'), values: 2 },
  { name: 'curve', test: anyCase('curva'), values: 2, refused: `(?!${field}[1-6])` },
  { name: 'mountain', test: anyCase('montagna'), values: 3 },
  { name: 'speed-boards', test: anyCase('indicatori_v'), values: 9 },
  { name: 'sign', test: anyCase('cartello') + anyCase('indicat'), values: 1, text: 'string.unquoted.sign' },
];
const train = [
  { name: 'braked-mass', test: anyCase('massa') + anyCase('frenata'), values: 1 },
  { name: 'coaches', test: anyCase('vetture'), values: 1 },
  { name: 'speed', test: anyCase('velocit'), values: 2 },
  { name: 'adhesion', test: anyCase('aderenza'), values: 2 },
  { name: 'clock', test: anyCase('orologio'), values: 3 },
  { name: 'sand', test: anyCase('sabbia'), values: 1 },
  { name: 'signal', test: anyCase('segnale'), values: 11 },
  { name: 'slowdown', test: anyCase('rallentamento'), values: 6 },
  { name: 'code-drop', test: anyCase('abbattimento'), values: 2 },
  { name: 'station', test: anyCase('stazione'), values: 16, text: 'string.unquoted.name' },
];

// One number as the reader takes it: blanks, a token that ends at a comma,
// a blank or the line end, blanks, and the comma if one follows.
const value = '[ \\t]*[^,\\s]*[ \\t]*,?';

function keywordRule({ test, values, text, refused }) {
  const captures = {
    1: { name: 'keyword.other.scenariogen' },
    2: { name: 'punctuation.separator.scenariogen' },
    3: { patterns: [{ include: '#values' }] },
  };
  let match = `(${field})(,?)((?:${value}){${values}})`;
  if (text) {
    match += `(${field})`;
    captures[4] = { name: `${text}.scenariogen` };
  }
  match += '(.*)$';
  captures[text ? 5 : 4] = { patterns: [{ include: '#rest' }] };
  const read = { match: `^${test}${match}`, captures };
  if (!refused) return [read];
  // The reader recognises the field, reads its values and refuses it.
  const refusal = { ...captures, 1: { name: 'invalid.illegal.keyword.scenariogen' } };
  return [{ match: `^${test}${refused}${match}`, captures: refusal }, read];
}

const rules = (keywords) => keywords.flatMap(keywordRule);

const grammar = {
  $schema: 'https://raw.githubusercontent.com/martinring/tmlanguage/master/tmlanguage.json',
  name: 'scenariogen description',
  scopeName: 'source.scenariogen',
  comment: 'Written by grammar.mjs from its table of keywords; edit that, then run it.',
  patterns: [{ include: '#before-general' }, { include: '#general-section' }, { include: '#after-general' }],
  repository: {
    'before-general': {
      comment: 'The reader looks for [generale] and reads nothing before it.',
      begin: `\\A(?!.*(?i:\\[generale\\]))`,
      end: '(?=.*(?i:\\[generale\\]))',
      contentName: 'comment.block.ignored.scenariogen',
    },
    'general-section': {
      comment: 'From [generale] to the first field that holds [ and ]: that field is read as a general line first.',
      begin: '(?i:\\[generale\\])',
      beginCaptures: { 0: { name: 'entity.name.section.scenariogen markup.heading.scenariogen' } },
      end: `^(?=[^,\\r\\n-]*\\[)(?=[^,\\r\\n-]*\\])(.*)$`,
      endCaptures: { 1: { patterns: [{ include: '#general-line' }] } },
      patterns: [{ include: '#general-line' }],
    },
    'after-general': {
      comment: 'The rest of the file, to its end.',
      begin: '^(?!.*(?i:\\[generale\\]))',
      end: '(?=A)(?!A)',
      patterns: [{ include: '#object-line' }],
    },
    'general-line': {
      patterns: ['#dash', '#general-keywords', '#train-keywords', '#header', '#ignored'].map((include) => ({ include })),
    },
    'object-line': {
      patterns: ['#dash', '#line-keywords', '#train-keywords', '#header', '#ignored'].map((include) => ({ include })),
    },
    'general-keywords': { comment: "The line description's general section.", patterns: rules(general) },
    'line-keywords': { comment: "The line description after its general section.", patterns: rules(lineObjects) },
    'train-keywords': { comment: 'The train description.', patterns: rules(train) },
    dash: {
      comment: 'A keyword field that holds a dash is skipped by the reader.',
      match: `^${field}-.*$`,
      name: 'comment.line.dash.scenariogen',
    },
    header: {
      comment: 'A header that names no keyword: a landmark for people.',
      match: '^\\s*(\\[[^\\],\\r\\n]*\\])(.*)$',
      captures: {
        1: { name: 'entity.name.section.scenariogen markup.heading.scenariogen' },
        2: { patterns: [{ include: '#rest' }] },
      },
    },
    ignored: {
      comment: 'A first field that names no keyword: the reader passes over the line.',
      match: '^.+$',
      name: 'comment.line.ignored.scenariogen',
    },
    values: {
      patterns: [
        { match: ',', name: 'punctuation.separator.scenariogen' },
        { match: '(?<![^\\s,])[+-]?\\d+(?![^\\s,])', name: 'constant.numeric.integer.scenariogen' },
        { match: '[^,\\s]+', name: 'invalid.illegal.not-a-number.scenariogen' },
      ],
    },
    rest: {
      comment: 'Fields after the values a keyword reads: keyword fields that name no keyword, passed over.',
      patterns: [
        { match: ',', name: 'punctuation.separator.scenariogen' },
        { match: '[^,]+', name: 'comment.line.ignored.scenariogen' },
      ],
    },
  },
};

export { grammar };

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const path = fileURLToPath(new URL('./scenariogen.tmLanguage.json', import.meta.url));
  writeFileSync(path, JSON.stringify(grammar, null, 2) + '\n');
}
