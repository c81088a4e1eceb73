// Starts the real `scenariogen preview` on a copy of the fixed route's
// descriptions and talks to it over loopback: raw HTTP for the refusals,
// Debian's Chromium (driven by playwright-core) for the page.
import { spawn, execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, readdirSync, rmSync, writeFileSync } from 'node:fs';
import net from 'node:net';
import { tmpdir } from 'node:os';
import path from 'node:path';

export const program = path.resolve(process.env.SCENARIOGEN ?? 'build/scenariogen');
const writer = path.resolve(process.env.WRITE_FIXED_ROUTE ?? 'build/write_fixed_route');
export const chromiumPath = process.env.CHROMIUM ?? '/usr/bin/chromium';

// The flags this machine's Chromium needs to run headless as root, with
// nothing sent anywhere but to the server under test.
export const chromiumArgs = [
  '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
  '--disable-component-update', '--disable-sync',
];

export function fixedRoute() {
  const folder = mkdtempSync(path.join(tmpdir(), 'scenariogen-preview-'));
  const [line, train] = execFileSync(writer, [folder], { encoding: 'utf8' }).trim().split('\n');
  return { folder, line, train, remove: () => rmSync(folder, { recursive: true, force: true }) };
}

export function listing(folder) { return readdirSync(folder).sort(); }

// Writes `text` over `file` in place (truncate, write, close), as most editors save.
export function save(file, text) { writeFileSync(file, text, 'latin1'); }
export function load(file) { return readFileSync(file, 'latin1'); }

// The running server: its address, its output, and how it ended.
export async function startServer(args, { timeoutMs = 15000, cwd } = {}) {
  const child = spawn(program, ['preview', ...args, '--port', '0'], { stdio: ['ignore', 'pipe', 'pipe'], cwd });
  const server = { child, stdout: '', stderr: '', exit: null };
  child.stdout.setEncoding('utf8').on('data', (text) => { server.stdout += text; });
  child.stderr.setEncoding('utf8').on('data', (text) => { server.stderr += text; });
  server.exited = new Promise((resolve) => child.on('exit', (code, signal) => resolve({ code, signal })));
  server.url = await waitFor(() => server.stdout.match(/^(http:\/\/127\.0\.0\.1:\d+\/)$/m)?.[1], timeoutMs,
    () => `the server printed no address: ${server.stderr}`);
  server.port = Number(new URL(server.url).port);
  return server;
}

export async function stopServer(server) {
  if (server.child.exitCode === null && server.child.signalCode === null) server.child.kill('SIGINT');
  return server.exited;
}

// Polls `probe` every 25 ms until it gives a value, for at most `timeoutMs`.
export async function waitFor(probe, timeoutMs, describe) {
  const deadline = Date.now() + timeoutMs;
  for (;;) {
    const value = await probe();
    if (value) return value;
    if (Date.now() > deadline) throw new Error(`timed out: ${describe ? describe() : probe}`);
    await new Promise((resolve) => setTimeout(resolve, 25));
  }
}

// Sends `bytes` as they are and returns the status code of the answer (0:
// the server closed without one) and the answer's text.
export function rawRequest(port, bytes, { timeoutMs = 5000 } = {}) {
  return new Promise((resolve, reject) => {
    const socket = net.connect(port, '127.0.0.1');
    let answer = '';
    const timer = setTimeout(() => { socket.destroy(); reject(new Error('no answer in time')); }, timeoutMs);
    socket.setEncoding('latin1');
    socket.on('data', (text) => { answer += text; });
    socket.on('error', () => {});
    socket.on('close', () => {
      clearTimeout(timer);
      const status = Number(answer.match(/^HTTP\/1\.1 (\d{3}) /)?.[1] ?? 0);
      resolve({ status, answer });
    });
    socket.write(bytes, 'latin1');
  });
}

export async function getState(port) {
  const { answer } = await rawRequest(port, `GET /state HTTP/1.1\r\nHost: 127.0.0.1:${port}\r\n\r\n`);
  return JSON.parse(Buffer.from(answer.slice(answer.indexOf('\r\n\r\n') + 4), 'latin1').toString('utf8'));
}
