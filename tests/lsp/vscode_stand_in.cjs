// A stand-in for the `vscode` module, enough of it for the extension and
// vscode-languageclient to start the server, hand it documents and receive
// its diagnostics outside VS Code. What a test needs to see or drive is on
// `standIn`: the documents it opens, the diagnostics the client sets, the
// file watchers the client creates, the output channel's text.
'use strict';
const { EventEmitter: NodeEmitter } = require('node:events');
const { pathToFileURL, fileURLToPath } = require('node:url');

class Disposable {
  constructor(callOnDispose = () => {}) {
    this.callOnDispose = callOnDispose;
  }
  static from(...disposables) {
    return new Disposable(() => disposables.forEach((d) => d && d.dispose && d.dispose()));
  }
  dispose() {
    this.callOnDispose();
  }
}

class EventEmitter {
  constructor() {
    this.listeners = new Set();
    this.event = (listener, thisArg) => {
      const bound = thisArg ? listener.bind(thisArg) : listener;
      this.listeners.add(bound);
      return new Disposable(() => this.listeners.delete(bound));
    };
  }
  fire(value) {
    for (const listener of [...this.listeners]) listener(value);
  }
  dispose() {
    this.listeners.clear();
  }
}

class Uri {
  constructor(text) {
    const url = new URL(text);
    this.scheme = url.protocol.replace(/:$/, '');
    this.authority = url.host;
    this.path = decodeURIComponent(url.pathname);
    this.query = url.search.replace(/^\?/, '');
    this.fragment = url.hash.replace(/^#/, '');
    this.text = text;
  }
  static parse(text) {
    return new Uri(text);
  }
  static file(path) {
    return new Uri(pathToFileURL(path).href);
  }
  get fsPath() {
    return this.scheme === 'file' ? fileURLToPath(this.text) : this.path;
  }
  toString() {
    return this.text;
  }
  toJSON() {
    return this.text;
  }
}

class Position {
  constructor(line, character) {
    this.line = line;
    this.character = character;
  }
}

class Range {
  constructor(a, b, c, d) {
    [this.start, this.end] = a instanceof Position ? [a, b] : [new Position(a, b), new Position(c, d)];
  }
}

class Diagnostic {
  constructor(range, message, severity) {
    this.range = range;
    this.message = message;
    this.severity = severity;
  }
}

class CancellationTokenSource {
  constructor() {
    const cancelled = new EventEmitter();
    this.token = { isCancellationRequested: false, onCancellationRequested: cancelled.event };
    this.cancel = () => {
      this.token.isCancellationRequested = true;
      cancelled.fire();
    };
    this.dispose = () => cancelled.dispose();
  }
}

// What the tests see and drive.
const standIn = {
  configuration: {},         // 'section.key' -> value
  documents: [],             // the open documents
  opened: new EventEmitter(),
  diagnostics: new NodeEmitter(),  // 'set' (uri text, diagnostics)
  watchers: [],              // { pattern, created, changed, deleted } emitters
  providers: {},             // 'registerDefinitionProvider' -> [{ selector, provider }]
  output: '',
};

function textDocument(path, languageId, text) {
  return {
    uri: Uri.file(path),
    fileName: path,
    languageId,
    version: 1,
    isClosed: false,
    isDirty: false,
    isUntitled: false,
    eol: 2,
    lineCount: text.split('\n').length,
    getText: () => text,
    save: async () => true,
  };
}

standIn.open = (path, languageId, text) => {
  const document = textDocument(path, languageId, text);
  standIn.documents.push(document);
  standIn.opened.fire(document);
  return document;
};

function outputChannel(name) {
  const append = (text) => (standIn.output += text);
  const log = (...parts) => append(parts.join(' ') + '\n');
  return {
    name,
    append,
    appendLine: (text) => append(text + '\n'),
    replace: (text) => (standIn.output = text),
    clear: () => {},
    show: () => {},
    hide: () => {},
    dispose: () => {},
    trace: log, debug: log, info: log, warn: log, error: log,
    logLevel: 2,
    onDidChangeLogLevel: new EventEmitter().event,
  };
}

function diagnosticCollection(name) {
  const entries = new Map();
  return {
    name,
    set(uri, diagnostics) {
      entries.set(uri.toString(), diagnostics);
      standIn.diagnostics.emit('set', uri.toString(), diagnostics);
    },
    delete: (uri) => entries.delete(uri.toString()),
    clear: () => entries.clear(),
    get: (uri) => entries.get(uri.toString()),
    has: (uri) => entries.has(uri.toString()),
    forEach: (callback) => entries.forEach((d, u) => callback(Uri.parse(u), d)),
    dispose: () => entries.clear(),
  };
}

function fileSystemWatcher(pattern) {
  const watcher = { pattern, created: new EventEmitter(), changed: new EventEmitter(), deleted: new EventEmitter() };
  standIn.watchers.push(watcher);
  return {
    onDidCreate: watcher.created.event,
    onDidChange: watcher.changed.event,
    onDidDelete: watcher.deleted.event,
    ignoreCreateEvents: false,
    ignoreChangeEvents: false,
    ignoreDeleteEvents: false,
    dispose: () => standIn.watchers.splice(standIn.watchers.indexOf(watcher), 1),
  };
}

function matches(selector, document) {
  const filters = Array.isArray(selector) ? selector : [selector];
  return filters.some((f) => (typeof f === 'string' ? f === document.languageId
    : (!f.language || f.language === document.languageId) && (!f.scheme || f.scheme === document.uri.scheme)))
    ? 10 : 0;
}

const noEvent = () => new Disposable();
const registered = () => new Disposable();

// Members that the client touches but that play no part here: any
// function-valued member returns a disposable.
function lenient(members) {
  return new Proxy(members, {
    get: (target, key) => (key in target ? target[key] : registered),
  });
}

const workspace = lenient({
  get textDocuments() {
    return standIn.documents;
  },
  workspaceFolders: undefined,
  rootPath: undefined,
  getConfiguration: (section) => ({
    get: (key, fallback) => standIn.configuration[section ? `${section}.${key}` : key] ?? fallback,
    has: () => false,
    inspect: () => undefined,
    update: async () => {},
  }),
  onDidOpenTextDocument: standIn.opened.event,
  onDidCloseTextDocument: noEvent,
  onDidChangeTextDocument: noEvent,
  onDidSaveTextDocument: noEvent,
  onWillSaveTextDocument: noEvent,
  onDidChangeConfiguration: noEvent,
  onDidChangeWorkspaceFolders: noEvent,
  createFileSystemWatcher: fileSystemWatcher,
});

const window = lenient({
  activeTextEditor: undefined,
  visibleTextEditors: [],
  tabGroups: { all: [], onDidChangeTabs: noEvent, onDidChangeTabGroups: noEvent },
  createOutputChannel: outputChannel,
  onDidChangeActiveTextEditor: noEvent,
  onDidChangeVisibleTextEditors: noEvent,
  showErrorMessage: async (message) => {
    standIn.output += `error message: ${message}\n`;
  },
  showWarningMessage: async () => undefined,
  showInformationMessage: async () => undefined,
});

// The providers the client registers, kept so that a test can call them
// as VS Code would.
const languages = new Proxy({
  match: matches,
  createDiagnosticCollection: diagnosticCollection,
}, {
  get: (target, key) => {
    if (key in target) return target[key];
    if (typeof key === 'string' && key.startsWith('register')) {
      return (selector, provider) => {
        (standIn.providers[key] ??= []).push({ selector, provider });
        return new Disposable();
      };
    }
    return registered;
  },
});

const enums = {
  DiagnosticSeverity: { Error: 0, Warning: 1, Information: 2, Hint: 3 },
  DiagnosticTag: { Unnecessary: 1, Deprecated: 2 },
  ProgressLocation: { SourceControl: 1, Window: 10, Notification: 15 },
  TextDocumentSaveReason: { Manual: 1, AfterDelay: 2, FocusOut: 3 },
  FileType: { Unknown: 0, File: 1, Directory: 2, SymbolicLink: 64 },
};

// A code action's kind, dotted from the general to the particular, as
// VS Code's own.
class CodeActionKind {
  constructor(value) {
    this.value = value;
  }
  append(part) {
    return new CodeActionKind(this.value ? `${this.value}.${part}` : part);
  }
  contains(other) {
    return this.value === other.value || this.value === '' || other.value.startsWith(`${this.value}.`);
  }
  intersects(other) {
    return this.contains(other) || other.contains(this);
  }
}
CodeActionKind.Empty = new CodeActionKind('');
for (const [name, value] of Object.entries({
  QuickFix: 'quickfix', Refactor: 'refactor', RefactorExtract: 'refactor.extract', RefactorInline: 'refactor.inline',
  RefactorRewrite: 'refactor.rewrite', Source: 'source', SourceOrganizeImports: 'source.organizeImports',
  SourceFixAll: 'source.fixAll',
})) {
  CodeActionKind[name] = new CodeActionKind(value);
}

// Every other class of the API: a plain record of what it was built with.
class Record {
  constructor(...args) {
    this.args = args;
  }
}

module.exports = new Proxy(
  {
    version: '1.82.0',
    env: { language: 'en', appName: 'stand-in', machineId: 'test', openExternal: async () => false },
    standIn,
    Disposable, EventEmitter, Uri, Position, Range, Diagnostic, CancellationTokenSource, CodeActionKind,
    CancellationError: class CancellationError extends Error {},
    workspace, window, languages,
    commands: lenient({ registerCommand: registered, executeCommand: async () => undefined }),
    ...enums,
  },
  {
    get: (target, key) => {
      if (key in target) return target[key];
      return typeof key === 'string' && /^[A-Z]/.test(key) ? Record : undefined;
    },
  },
);
