import * as vscode from 'vscode';
import { AsmTaskProvider, taskType } from './asm_tasks';
import {
    debugType,
    KorvoDebugAdapterFactory,
    KorvoDebugConfigurationProvider,
} from './debug_adapter';
import { KorvoLanguageClient } from './language_client';

let languageClient: KorvoLanguageClient | undefined;

export async function activate(context: vscode.ExtensionContext): Promise<void> {
    context.subscriptions.push(
        vscode.debug.registerDebugAdapterDescriptorFactory(debugType,
            new KorvoDebugAdapterFactory()),
        vscode.debug.registerDebugConfigurationProvider(debugType,
            new KorvoDebugConfigurationProvider()),
        vscode.tasks.registerTaskProvider(taskType, new AsmTaskProvider()),
    );
    languageClient = new KorvoLanguageClient();
    context.subscriptions.push(
        languageClient,
        vscode.workspace.onDidChangeConfiguration((event) =>
            languageClient?.onConfigurationChanged(event)),
    );
    await languageClient.start();
}

export async function deactivate(): Promise<void> {
    await languageClient?.stop();
}
