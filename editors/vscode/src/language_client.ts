import * as vscode from 'vscode';
import {
    DidChangeConfigurationNotification,
    LanguageClient,
    LanguageClientOptions,
    ServerOptions,
    TransportKind,
} from 'vscode-languageclient/node';
import { configurationChange, initializationOptions } from './command_lines';
import { readSettings } from './settings';

// `korvo lsp` for the files of the language. A new korvo.path starts a new
// server; a new korvo.core is sent to the running one.
export class KorvoLanguageClient implements vscode.Disposable {
    private client: LanguageClient | undefined;
    private readonly output = vscode.window.createOutputChannel('Korvo language server');

    async start(): Promise<void> {
        const settings = readSettings();
        const serverOptions: ServerOptions = {
            command: settings.path,
            args: ['lsp'],
            transport: TransportKind.stdio,
        };
        const clientOptions: LanguageClientOptions = {
            documentSelector: [
                { scheme: 'file', language: 'korvo-psm' },
                { scheme: 'untitled', language: 'korvo-psm' },
            ],
            initializationOptions: initializationOptions(settings),
            outputChannel: this.output,
        };
        this.client = new LanguageClient('korvo', 'Korvo language server', serverOptions,
            clientOptions);
        try {
            await this.client.start();
        } catch (error) {
            vscode.window.showErrorMessage(
                `Korvo: "${settings.path} lsp" did not start (${String(error)}); ` +
                'set korvo.path to the korvo executable.');
        }
    }

    async stop(): Promise<void> {
        const client = this.client;
        this.client = undefined;
        if (client?.isRunning()) await client.stop();
    }

    async onConfigurationChanged(event: vscode.ConfigurationChangeEvent): Promise<void> {
        if (event.affectsConfiguration('korvo.path')) {
            await this.stop();
            await this.start();
        } else if (event.affectsConfiguration('korvo.core') && this.client?.isRunning()) {
            await this.client.sendNotification(DidChangeConfigurationNotification.type,
                configurationChange(readSettings()));
        }
    }

    dispose(): void {
        void this.stop();
        this.output.dispose();
    }
}
