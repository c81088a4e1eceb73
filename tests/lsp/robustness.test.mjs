// What the server does with input a well-behaved client never sends, and
// with a client that goes away: a clear error response or a clean exit,
// never a crash.
import { test, describe } from 'node:test';
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import { StreamMessageReader } from 'vscode-jsonrpc/node.js';
import { program, withPatience } from './client.mjs';

const frame = (body) => {
  const bytes = Buffer.isBuffer(body) ? body : Buffer.from(typeof body === 'string' ? body : JSON.stringify(body));
  return Buffer.concat([Buffer.from(`Content-Length: ${bytes.length}\r\n\r\n`), bytes]);
};
const initialize = { jsonrpc: '2.0', id: 'init', method: 'initialize', params: { capabilities: {} } };
const shutdown = { jsonrpc: '2.0', id: 'bye', method: 'shutdown' };
const exit = { jsonrpc: '2.0', method: 'exit' };

// The server with raw bytes in and its messages, read by vscode-jsonrpc, out.
class RawSession {
  constructor(args = ['lsp']) {
    this.child = spawn(program, args, { stdio: ['pipe', 'pipe', 'pipe'] });
    this.child.stdin.on('error', () => {});  // writing to a server that has gone is part of some cases
    this.stderr = '';
    this.child.stderr.on('data', (chunk) => (this.stderr += chunk));
    this.ended = new Promise((resolve) => this.child.on('exit', (code, signal) => resolve({ code, signal })));
    this.messages = [];
    this.waiters = [];
    this.reader = new StreamMessageReader(this.child.stdout);
    this.reader.listen((message) => {
      this.messages.push(message);
      this.waiters = this.waiters.filter((waiter) => !waiter(message));
    });
  }

  // The exit, awaited from now on: a slow machine's time before does not count.
  get exited() {
    return withPatience(this.ended, 'exit');
  }

  send(...messages) {
    for (const message of messages) this.child.stdin.write(frame(message));
  }

  writeRaw(bytes) {
    this.child.stdin.write(bytes);
  }

  // The first message, received or to come, that satisfies `accept`.
  message(accept, what) {
    const found = this.messages.find(accept);
    if (found) return Promise.resolve(found);
    return withPatience(new Promise((resolve) => this.waiters.push((m) => accept(m) && (resolve(m), true))), what);
  }

  response(id) {
    return this.message((m) => m.id === id, `the response to ${id}`);
  }
}

describe('malformed messages get an error response and the session goes on', () => {
  const cases = [
    ['a body that is not JSON', frame('{"jsonrpc": "2.0", "id": 1, "method": '), null, -32700],
    ['a string that is not UTF-8', frame(Buffer.from([0x7b, 0x22, 0x61, 0x22, 0x3a, 0x22, 0xff, 0x22, 0x7d])), null, -32700],
    ['a batch', frame('[]'), null, -32600],
    ['JSON nested a hundred thousand deep', frame('['.repeat(100000) + ']'.repeat(100000)), null, -32600],
    ['a message without "jsonrpc"', frame({ id: 7, method: 'shutdown' }), 7, -32600],
    ['an id that is an object', frame({ jsonrpc: '2.0', id: {}, method: 'x' }), null, -32600],
    ['params that are a number', frame({ jsonrpc: '2.0', id: 8, method: 'textDocument/hover', params: 3 }), 8, -32600],
    ['an unknown method', frame({ jsonrpc: '2.0', id: 9, method: 'textDocument/teleport', params: {} }), 9, -32601],
    ['a hover on a document never opened',
      frame({ jsonrpc: '2.0', id: 10, method: 'textDocument/hover',
        params: { textDocument: { uri: 'file:///nowhere_linea.txt' }, position: { line: 0, character: 0 } } }), 10, -32602],
    ['a hover without a position',
      frame({ jsonrpc: '2.0', id: 11, method: 'textDocument/hover', params: { textDocument: { uri: 'x' } } }), 11, -32602],
    ['a header without Content-Length', Buffer.from('Content-Type: x\r\n\r\n{}'), null, -32600],
    ['a Content-Length that is not a number', Buffer.from('Content-Length: many\r\n\r\n{}'), null, -32600],
  ];
  for (const [name, bytes, id, code] of cases) {
    test(name, async () => {
      const session = new RawSession();
      session.send(initialize);
      await session.response('init');
      session.writeRaw(bytes);
      const error = await session.message((m) => m.error && m.id === id, name);
      assert.equal(error.error.code, code);
      assert.ok(error.error.message.length > 0);
      session.send(shutdown, exit);
      assert.deepEqual(await session.response('bye'), { jsonrpc: '2.0', id: 'bye', result: null });
      assert.deepEqual(await session.exited, { code: 0, signal: null });
    });
  }

  test('a request before initialize', async () => {
    const session = new RawSession();
    session.send({ jsonrpc: '2.0', id: 1, method: 'textDocument/documentSymbol', params: {} });
    assert.equal((await session.response(1)).error.code, -32002);
    session.send(exit);
    assert.deepEqual(await session.exited, { code: 1, signal: null });
  });
});

test('the arguments that clients add for the standard streams are accepted', async () => {
  const session = new RawSession(['lsp', '--stdio', '--clientProcessId=4242']);
  session.send(initialize);
  await session.response('init');
  session.send(shutdown, exit);
  assert.deepEqual(await session.exited, { code: 0, signal: null });
});

test('shutdown and exit with null params, as Eglot sends them: a clean exit', async () => {
  const session = new RawSession();
  session.send(initialize);
  await session.response('init');
  session.send({ ...shutdown, params: null }, { ...exit, params: null });
  assert.deepEqual(await session.response('bye'), { jsonrpc: '2.0', id: 'bye', result: null });
  assert.deepEqual(await session.exited, { code: 0, signal: null });
  assert.equal(session.stderr, '');
});

describe('sizes past the limits', () => {
  test('a buffer of 64 MiB + 1 byte is refused with a diagnostic, and the session goes on', async () => {
    const session = new RawSession();
    session.send(initialize);
    await session.response('init');
    const size = 64 * 1024 * 1024 + 1;
    const text = '[generale]\r\n' + 'x'.repeat(size - 12);
    const uri = 'file:///tmp/scenariogen-lsp-huge/Enorme_linea.txt';
    session.send({ jsonrpc: '2.0', method: 'textDocument/didOpen',
      params: { textDocument: { uri, languageId: 'scenariogen', version: 1, text } } });
    const published = await session.message((m) => m.method === 'textDocument/publishDiagnostics', 'diagnostics');
    assert.equal(published.params.uri, uri);
    assert.equal(published.params.diagnostics.length, 1);
    assert.match(published.params.diagnostics[0].message, /67108865 bytes/);
    session.send({ jsonrpc: '2.0', id: 2, method: 'textDocument/foldingRange', params: { textDocument: { uri } } });
    assert.deepEqual((await session.response(2)).result, [{ startLine: 0, endLine: 1, kind: 'region' }]);
    session.send(shutdown, exit);
    assert.deepEqual(await session.exited, { code: 0, signal: null });
  });

  test('a message longer than the framing limit is refused before its body is read', async () => {
    const session = new RawSession();
    session.send(initialize);
    await session.response('init');
    session.writeRaw('Content-Length: 999999999999\r\n\r\n{"jsonrpc": "2.0"');
    const error = await session.message((m) => m.error, 'the refusal');
    assert.equal(error.id, null);
    assert.match(error.error.message, /999999999999 bytes is larger than the limit/);
    session.child.stdin.end();
    assert.deepEqual(await session.exited, { code: 1, signal: null });
    assert.match(session.stderr, /in the middle of a message/);
  });
});

describe('a client that disappears', () => {
  test('input closed in the middle of a message: a clean exit', async () => {
    const session = new RawSession();
    session.send(initialize);
    await session.response('init');
    session.writeRaw(frame({ jsonrpc: '2.0', id: 3, method: 'shutdown' }).subarray(0, 30));
    session.child.stdin.end();
    assert.deepEqual(await session.exited, { code: 1, signal: null });
    assert.match(session.stderr, /closed the input in the middle of a message/);
  });

  test('output no longer read: a clean exit, not a broken pipe', async () => {
    const session = new RawSession();
    session.send(initialize);
    await session.response('init');
    session.child.stdout.destroy();
    for (let i = 0; i < 50; i++) session.send({ jsonrpc: '2.0', id: 100 + i, method: 'initialize', params: {} });
    assert.deepEqual(await session.exited, { code: 1, signal: null });
    assert.match(session.stderr, /no longer reads/);
  });

  test('exit without shutdown', async () => {
    const session = new RawSession();
    session.send(initialize, exit);
    assert.deepEqual(await session.exited, { code: 1, signal: null });
  });
});
