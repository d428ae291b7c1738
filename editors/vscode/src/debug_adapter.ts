import * as vscode from 'vscode';
import { withCoreSetting } from './command_lines';
import { readSettings } from './settings';

export const debugType = 'korvo';

// Each debug session runs its own `korvo dap`.
export class KorvoDebugAdapterFactory implements vscode.DebugAdapterDescriptorFactory {
    createDebugAdapterDescriptor(): vscode.ProviderResult<vscode.DebugAdapterDescriptor> {
        return new vscode.DebugAdapterExecutable(readSettings().path, ['dap']);
    }
}

// F5 without a launch.json simulates the active source; a configuration
// that names no core gets the korvo.core setting.
export class KorvoDebugConfigurationProvider implements vscode.DebugConfigurationProvider {
    resolveDebugConfiguration(
        _folder: vscode.WorkspaceFolder | undefined,
        configuration: vscode.DebugConfiguration,
    ): vscode.ProviderResult<vscode.DebugConfiguration> {
        if (!configuration.type && !configuration.request && !configuration.name) {
            const editor = vscode.window.activeTextEditor;
            if (editor?.document.languageId !== 'korvo-psm') {
                vscode.window.showInformationMessage('Korvo: open a .psm source to simulate it.');
                return undefined;
            }
            configuration = {
                type: debugType,
                request: 'launch',
                name: 'Simulate the current file',
                program: '${file}',
                stopOnEntry: true,
            };
        }
        if (!configuration.program) {
            vscode.window.showErrorMessage('Korvo: the launch configuration names no program.');
            return undefined;
        }
        return withCoreSetting(configuration, readSettings());
    }
}
