// What the tests that drive real editors share: the setups as the README
// gives them, a faulty pair on disk, a private home for the editor, and a
// `scenariogen` on the PATH that records the status the server ends with.
import { chmodSync, mkdirSync, mkdtempSync, readFileSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { fixedDescriptions, lineStarting, program, writeDescription } from './client.mjs';

const readme = fileURLToPath(new URL('../../README.md', import.meta.url));
export const drivers = fileURLToPath(new URL('./editors/', import.meta.url));

// The first `language` code block under the README heading `heading`.
export function readmeSetup(heading, language) {
  const text = readFileSync(readme, 'utf8');
  const start = text.indexOf(`\n${heading}\n`);
  if (start < 0) throw new Error(`the README has no heading ${heading}`);
  const block = text.slice(start).match(new RegExp('```' + language + '\\n([^]*?)```'));
  if (!block) throw new Error(`no ${language} block under ${heading}`);
  return block[1];
}

// The run's descriptions with the train's second station 10 m off the grid,
// and where the fault stands.
export function faultyPair() {
  const fixed = fixedDescriptions();
  const text = fixed.train.text.replace('stazione,  5300,', 'stazione,  5310,');
  writeDescription(fixed.train.path, text);
  return { ...fixed, faultLine: lineStarting(text, 'stazione,  5310,') };
}

// A home for the editor, and a PATH whose `scenariogen` records the
// server's exit status in `status`. The server runs in a subshell of its
// own so that its status is recorded even when the editor ends the
// wrapper first.
export function editorHome() {
  const home = mkdtempSync(join(tmpdir(), 'scenariogen-editor-'));
  const bin = join(home, 'bin');
  mkdirSync(bin);
  const status = join(home, 'server-status');
  const wrapper = join(bin, 'scenariogen');
  writeFileSync(wrapper, [
    '#!/bin/sh',
    'exec 3<&0',
    `( '${program}' "$@" <&3 3<&-; echo $? > '${status}' ) &`,
    'wait',
    '',
  ].join('\n'));
  chmodSync(wrapper, 0o755);
  const env = {
    ...process.env,
    HOME: home,
    XDG_CONFIG_HOME: join(home, 'config'),
    XDG_DATA_HOME: join(home, 'data'),
    XDG_STATE_HOME: join(home, 'state'),
    XDG_CACHE_HOME: join(home, 'cache'),
    PATH: `${bin}:${process.env.PATH}`,
  };
  return { home, env, status, result: join(home, 'result.json') };
}

// The status the server ended with, once it has ended.
export async function serverStatus(path) {
  for (let waited = 0; waited < 5000; waited += 50) {
    try {
      return Number(readFileSync(path, 'utf8').trim());
    } catch {
      await new Promise((resolve) => setTimeout(resolve, 50));
    }
  }
  return 'none recorded';
}
