// A client for the tests: scenariogen lsp started as a process and driven
// through vscode-jsonrpc, the JSON-RPC layer of vscode-languageclient.
import { spawn } from 'node:child_process';
import { copyFileSync, mkdtempSync, readFileSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { after } from 'node:test';
import { createMessageConnection, StreamMessageReader, StreamMessageWriter } from 'vscode-jsonrpc/node.js';

export const program = process.env.SCENARIOGEN;
if (!program) throw new Error('SCENARIOGEN must name the program (ctest sets it)');
// The generation run's own descriptions, byte for byte as it writes them.
const golden = fileURLToPath(new URL('../golden/', import.meta.url));

// Every wait for the server ends within this, so that a broken server fails
// the test instead of hanging it.
export const patienceMs = 20000;

export function withPatience(promise, what) {
  let timer;
  const timeout = new Promise((_, reject) => {
    timer = setTimeout(() => reject(new Error(`no answer within ${patienceMs} ms: ${what}`)), patienceMs);
  });
  return Promise.race([promise, timeout]).finally(() => clearTimeout(timer));
}

// The generation run's own descriptions, in a fresh folder under the names
// the run gives them.
export function fixedDescriptions() {
  const folder = mkdtempSync(join(tmpdir(), 'scenariogen-lsp-'));
  const line = join(folder, 'Zervano-OdelmaVmod_linea.txt');
  const train = join(folder, 'Zervano-OdelmaVmod_27340-.txt');
  copyFileSync(join(golden, 'Zervano-OdelmaVmod_linea.txt'), line);
  copyFileSync(join(golden, 'Zervano-OdelmaVmod_27340-.txt'), train);
  return {
    folder,
    line: { path: line, uri: pathToFileURL(line).href, text: readFileSync(line, 'latin1') },
    train: { path: train, uri: pathToFileURL(train).href, text: readFileSync(train, 'latin1') },
  };
}

export function writeDescription(path, text) {
  writeFileSync(path, Buffer.from(text, 'latin1'));
}

// The 0-based line of the first line that starts with `prefix`.
export function lineStarting(text, prefix) {
  const index = text.split(/\r\n|\r|\n/).findIndex((line) => line.startsWith(prefix));
  if (index < 0) throw new Error(`no line starts with ${prefix}`);
  return index;
}

// Servers that a failed test left running end with the test file, so that
// the failure is reported instead of the run hanging.
const running = new Set();
after(() => {
  for (const child of running) child.kill();
});

export const richClient = {
  textDocument: {
    hover: { contentFormat: ['markdown', 'plaintext'] },
    completion: { completionItem: { snippetSupport: true, documentationFormat: ['markdown', 'plaintext'] } },
  },
};

export class Session {
  constructor() {
    this.child = spawn(program, ['lsp'], { stdio: ['pipe', 'pipe', 'pipe'] });
    running.add(this.child);
    this.child.on('exit', () => running.delete(this.child));
    this.stderr = '';
    this.child.stderr.on('data', (chunk) => (this.stderr += chunk));
    this.exited = new Promise((resolve) => this.child.on('exit', (code, signal) => resolve({ code, signal })));
    this.connection = createMessageConnection(
      new StreamMessageReader(this.child.stdout),
      new StreamMessageWriter(this.child.stdin),
    );
    this.publications = [];
    this.waiters = [];
    this.connection.onNotification('textDocument/publishDiagnostics', (params) => {
      this.publications.push(params);
      this.waiters = this.waiters.filter((waiter) => !waiter(params));
    });
    this.connection.listen();
  }

  // `capabilities`: what the client declares; by default, what an editor
  // that shows markdown and expands snippets declares.
  async initialize(capabilities = richClient) {
    const result = await withPatience(
      this.connection.sendRequest('initialize', { processId: process.pid, rootUri: null, capabilities }),
      'initialize',
    );
    await this.connection.sendNotification('initialized', {});
    return result;
  }

  // The next diagnostics published for `uri` that satisfy `accept`; ask
  // before sending what causes them.
  diagnostics(uri, accept = () => true) {
    return withPatience(
      new Promise((resolve) => {
        this.waiters.push((params) => {
          if (params.uri !== uri || !accept(params.diagnostics)) return false;
          resolve(params.diagnostics);
          return true;
        });
      }),
      `diagnostics for ${uri}`,
    );
  }

  open(document, version = 1) {
    return this.connection.sendNotification('textDocument/didOpen', {
      textDocument: { uri: document.uri, languageId: 'scenariogen', version, text: document.text },
    });
  }

  change(uri, version, contentChanges) {
    return this.connection.sendNotification('textDocument/didChange', {
      textDocument: { uri, version },
      contentChanges,
    });
  }

  request(method, params) {
    return withPatience(this.connection.sendRequest(method, params), method);
  }

  async close() {
    await this.request('shutdown');
    await this.connection.sendNotification('exit');
    const ended = await withPatience(this.exited, 'exit');
    this.connection.dispose();
    return ended;
  }
}
