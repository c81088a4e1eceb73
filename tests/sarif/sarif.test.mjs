// scenariogen's SARIF logs against the official SARIF 2.1.0 JSON schema
// (sarif-schema-2.1.0.json, the OASIS errata 01 schema, a copy kept here),
// with the rules and locations that code-scanning services read.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, writeFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, dirname } from 'node:path';
import { fileURLToPath } from 'node:url';
import Ajv from 'ajv-draft-04';
import addFormats from 'ajv-formats';

const here = dirname(fileURLToPath(import.meta.url));
const program = process.env.SCENARIOGEN;
const examples = join(here, '..', '..', 'examples');

const ajv = new Ajv({ allErrors: true, strict: false });
addFormats(ajv);
const validate = ajv.compile(JSON.parse(readFileSync(join(here, 'sarif-schema-2.1.0.json'), 'utf8')));

function run(args, cwd) {
  try {
    execFileSync(program, args, { cwd, stdio: 'pipe' });
    return 0;
  } catch (failure) {
    return failure.status;
  }
}

// The example's two files in a fresh folder, each changed by its replacements.
function scenario(lineEdits, trainEdits) {
  const dir = mkdtempSync(join(tmpdir(), 'scenariogen-sarif-'));
  const edit = (name, edits) => {
    let text = readFileSync(join(examples, name), 'latin1');
    for (const [from, to] of edits) text = text.replace(from, to);
    writeFileSync(join(dir, name), text, 'latin1');
  };
  edit('valbruna_linea.txt', lineEdits);
  edit('valbruna_treno.txt', trainEdits);
  return dir;
}

function sarifOf(command, dir, extra = []) {
  const status = run([command, 'valbruna_linea.txt', 'valbruna_treno.txt', '--sarif', 'out.sarif', ...extra], dir);
  return { status, log: JSON.parse(readFileSync(join(dir, 'out.sarif'), 'utf8')) };
}

function expectValid(log) {
  const valid = validate(log);
  assert.ok(valid, JSON.stringify(validate.errors, null, 2));
}

test('errors, warnings and notes of compile make a valid log', () => {
  const dir = scenario(
    [['indicatori_vmax,  600,  100,  110,  110', 'indicatori_vmax,  600,  22,  24,  25'], ['pendneza', 'pendneza']],
    [['segnale,  1000,', 'segnale,  1500,'], ['percentuale massa frenata,    120', 'percentuale massa frenata,    0']]);
  try {
    const { status, log } = sarifOf('compile', dir, ['-o', dir]);
    assert.equal(status, 1);
    expectValid(log);
    const run0 = log.runs[0];
    assert.equal(log.version, '2.1.0');
    const ids = run0.results.map((r) => r.ruleId);
    assert.ok(ids.includes('occupied-cell'), ids.join(' '));
    assert.ok(ids.includes('board-limit'), ids.join(' '));
    assert.ok(ids.includes('braked-mass'), ids.join(' '));
    for (const result of run0.results) {
      const rule = run0.tool.driver.rules[result.ruleIndex];
      assert.equal(rule.id, result.ruleId);
      assert.ok(rule.help.text.length > 0 && rule.help.markdown.length > 0, rule.id);
      const region = result.locations[0].physicalLocation.region;
      assert.ok(region.startLine >= 1 && region.startColumn >= 1, JSON.stringify(result));
    }
    const board = run0.results.find((r) => r.ruleId === 'board-limit');
    assert.equal(board.level, 'warning');
    assert.equal(board.locations[0].physicalLocation.artifactLocation.uri, 'valbruna_linea.txt');
    assert.equal(board.relatedLocations[0].physicalLocation.artifactLocation.uri, 'valbruna_treno.txt');
  } finally {
    rmSync(dir, { recursive: true, force: true });
  }
});

test('a clean check writes a valid log without results; a timetable warning has its rule', () => {
  const dir = scenario([], [['8,  9,  0,   ROCCA', '8,  8,  0,   ROCCA']]);
  try {
    const { status, log } = sarifOf('check', dir);
    assert.equal(status, 0);
    expectValid(log);
    assert.deepEqual(log.runs[0].results.map((r) => r.ruleId), ['timetable']);
    const clean = scenario([], []);
    try {
      const { log: empty } = sarifOf('check', clean);
      expectValid(empty);
      assert.equal(empty.runs[0].results.length, 0);
    } finally {
      rmSync(clean, { recursive: true, force: true });
    }
  } finally {
    rmSync(dir, { recursive: true, force: true });
  }
});

test('a compiler fault without a check name, a whole-file fault and an absolute path', () => {
  const dir = scenario([], [['stazione,  9500,  12,  600,  0,  0,  0,', 'stazione,  9500,  12,  600,  0,  0,']]);
  try {
    const line = join(dir, 'valbruna_linea.txt');
    const status = run(['compile', line, 'valbruna_treno.txt', '-o', dir, '--sarif', 'out.sarif'], dir);
    assert.equal(status, 1);
    const log = JSON.parse(readFileSync(join(dir, 'out.sarif'), 'utf8'));
    expectValid(log);
    const numbered = log.runs[0].results.find((r) => r.ruleId === 'E25');
    assert.ok(numbered, JSON.stringify(log.runs[0].results.map((r) => r.ruleId)));
    assert.equal(log.runs[0].tool.driver.rules[numbered.ruleIndex].properties.errorNumber, 25);

    writeFileSync(join(dir, 'empty.txt'), '');
    assert.equal(run(['compile', line, 'empty.txt', '-o', dir, '--sarif', 'out.sarif'], dir), 1);
    const whole = JSON.parse(readFileSync(join(dir, 'out.sarif'), 'utf8'));
    expectValid(whole);
    const file = whole.runs[0].results.find((r) => r.ruleId === 'missing-generale');
    assert.equal(file.locations[0].physicalLocation.artifactLocation.uri, 'empty.txt');
    assert.equal(file.locations[0].physicalLocation.region, undefined);
    assert.ok(file.locations[0].physicalLocation.artifactLocation.uri !== undefined);
    for (const result of log.runs[0].results) {
      const uri = result.locations[0].physicalLocation.artifactLocation.uri;
      assert.ok(uri === 'valbruna_treno.txt' || uri.startsWith('file:///'), uri);
    }
  } finally {
    rmSync(dir, { recursive: true, force: true });
  }
});
