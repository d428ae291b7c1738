import * as vscode from 'vscode';
import { KorvoSettings } from './command_lines';

export function readSettings(): KorvoSettings {
    const configuration = vscode.workspace.getConfiguration('korvo');
    return {
        path: configuration.get<string>('path') || 'korvo',
        core: configuration.get<string>('core') ?? '',
    };
}
