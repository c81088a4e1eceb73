// Starts `scenariogen lsp` for the description files and hands it the
// open documents: faults as you type, hover, outline, completion, folding,
// formatting and inlay hints all come from the server.
import * as vscode from 'vscode';
import { LanguageClient, LanguageClientOptions, ServerOptions, TransportKind } from 'vscode-languageclient/node';

let client: LanguageClient | undefined;

// Over stdio, the library starts `scenariogen lsp --stdio`.
function serverOptions(): ServerOptions {
  const program = vscode.workspace.getConfiguration('scenariogen').get<string>('path') || 'scenariogen';
  return { command: program, args: ['lsp'], transport: TransportKind.stdio };
}

function clientOptions(): LanguageClientOptions {
  return {
    documentSelector: [
      { scheme: 'file', language: 'scenariogen' },
      { scheme: 'untitled', language: 'scenariogen' },
    ],
    // The server asks for the partner files and scenario.json to be watched
    // (workspace/didChangeWatchedFiles, registered dynamically).
    outputChannelName: 'scenariogen',
  };
}

async function start(): Promise<void> {
  client = new LanguageClient('scenariogen', 'scenariogen', serverOptions(), clientOptions());
  try {
    await client.start();
  } catch (failure) {
    const program = vscode.workspace.getConfiguration('scenariogen').get<string>('path');
    void vscode.window.showErrorMessage(
      `scenariogen: cannot start "${program} lsp" (${String(failure)}). Set scenariogen.path to the program.`,
    );
  }
}

async function stop(): Promise<void> {
  if (client === undefined) return;
  const running = client;
  client = undefined;
  if (running.isRunning()) await running.stop();
}

export async function activate(context: vscode.ExtensionContext): Promise<void> {
  context.subscriptions.push(
    vscode.commands.registerCommand('scenariogen.restartServer', async () => {
      await stop();
      await start();
    }),
    vscode.workspace.onDidChangeConfiguration(async (change) => {
      if (change.affectsConfiguration('scenariogen.path')) {
        await stop();
        await start();
      }
    }),
  );
  await start();
}

export function deactivate(): Promise<void> {
  return stop();
}
