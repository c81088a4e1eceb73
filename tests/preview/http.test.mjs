// The server's answers to requests it must refuse: each gets a clear 4xx
// and changes nothing, neither the state nor the author's files.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';

import { fixedRoute, getState, listing, load, rawRequest, startServer, stopServer, waitFor } from './server.mjs';

let route, server;

before(async () => {
  route = fixedRoute();
  server = await startServer([route.line, route.train]);
  await waitFor(async () => (await getState(server.port))?.generation >= 1, 15000);
});

after(async () => {
  if (server) await stopServer(server);
  route?.remove();
});

test('requests for the page and its parts are answered, from localhost or 127.0.0.1', async () => {
  for (const [target, host, type] of [
    ['/', `127.0.0.1:${server.port}`, 'text/html'],
    ['/', `localhost:${server.port}`, 'text/html'],
    ['/preview.js', `LocalHost:${server.port}`, 'text/javascript'],
    ['/preview.css', `127.0.0.1:${server.port}`, 'text/css'],
    ['/state?x=1', `127.0.0.1:${server.port}`, 'application/json'],
  ]) {
    const { status, answer } = await rawRequest(server.port, `GET ${target} HTTP/1.1\r\nHost: ${host}\r\n\r\n`);
    assert.equal(status, 200, `${target} for ${host}`);
    assert.match(answer, new RegExp(`\r\nContent-Type: ${type}`, 'i'));
  }
});

test('malformed, too long, unknown and foreign requests get a clear 4xx and change nothing', async () => {
  const host = `Host: 127.0.0.1:${server.port}\r\n`;
  const cases = [
    ['garbage', 'HELLO\r\n\r\n', 400],
    ['a request line without a version', 'GET /\r\n\r\n', 400],
    ['a header without a colon', `GET / HTTP/1.1\r\n${host}Broken header\r\n\r\n`, 400],
    ['no Host header', 'GET / HTTP/1.1\r\n\r\n', 400],
    ['two Host headers', `GET / HTTP/1.1\r\n${host}${host}\r\n`, 400],
    ['a target of 3000 bytes', `GET /${'a'.repeat(3000)} HTTP/1.1\r\n${host}\r\n`, 414],
    ['a header of 40 KB', `GET / HTTP/1.1\r\n${host}X-Long: ${'b'.repeat(40000)}\r\n\r\n`, 431],
    ['a body', `GET / HTTP/1.1\r\n${host}Content-Length: 5\r\n\r\nhello`, 413],
    ['another path', `GET /etc/passwd HTTP/1.1\r\n${host}\r\n`, 404],
    ['a path that climbs', `GET /../../x HTTP/1.1\r\n${host}\r\n`, 404],
    ['an absolute target', `GET http://127.0.0.1:${server.port}/ HTTP/1.1\r\n${host}\r\n`, 400],
    ['POST', `POST /state HTTP/1.1\r\n${host}Content-Length: 0\r\n\r\n`, 405],
    ['DELETE', `DELETE / HTTP/1.1\r\n${host}\r\n`, 405],
    ['another host (DNS rebinding)', `GET / HTTP/1.1\r\nHost: attacker.example:${server.port}\r\n\r\n`, 403],
    ['another port', `GET / HTTP/1.1\r\nHost: 127.0.0.1:${server.port + 1}\r\n\r\n`, 403],
    ['no port', 'GET / HTTP/1.1\r\nHost: localhost\r\n\r\n', 403],
    ['another loopback address', `GET / HTTP/1.1\r\nHost: 127.0.0.2:${server.port}\r\n\r\n`, 403],
    ['an event stream for another host', `GET /events HTTP/1.1\r\nHost: evil.test\r\n\r\n`, 403],
    ['a top speed of NaN', `GET /model?max_speed=nan HTTP/1.1\r\n${host}\r\n`, 400],
    ['an acceleration of 0', `GET /model?acceleration=0 HTTP/1.1\r\n${host}\r\n`, 400],
    ['a negative braking', `GET /model?braking=-0.5 HTTP/1.1\r\n${host}\r\n`, 400],
    ['an infinite top speed', `GET /model?max_speed=1e999 HTTP/1.1\r\n${host}\r\n`, 400],
    ['the model from another host', `GET /model?max_speed=80 HTTP/1.1\r\nHost: evil.test\r\n\r\n`, 403],
    ['an export in an unknown format', `GET /export?format=gif HTTP/1.1\r\n${host}\r\n`, 400],
    ['a stretch that ends before it starts', `GET /window?from_m=5000&to_m=1000 HTTP/1.1\r\n${host}\r\n`, 400],
    ['a stretch of NaN metres', `GET /window?from_m=nan&to_m=1000 HTTP/1.1\r\n${host}\r\n`, 400],
  ];
  const state = await getState(server.port);
  const line = load(route.line);
  const train = load(route.train);
  for (const [name, request, expected] of cases) {
    const { status, answer } = await rawRequest(server.port, request);
    assert.equal(status, expected, `${name}: ${answer.slice(0, 200)}`);
    assert.match(answer, /\r\n\r\n.+\n$/s, `${name}: the answer says why`);
  }
  assert.deepEqual(await getState(server.port), state);
  assert.equal(load(route.line), line);
  assert.equal(load(route.train), train);
  assert.deepEqual(listing(route.folder), [route.line, route.train].map((p) => p.split('/').pop()).sort());
});
