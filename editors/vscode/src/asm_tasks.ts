import * as vscode from 'vscode';
import { AsmTaskDefinition, asmArguments } from './command_lines';
import { readSettings } from './settings';

export const taskType = 'korvo';
const problemMatchers = ['$korvo-asm', '$korvo-asm-file'];

// Tasks that run `korvo asm` on a source; its error lines become problems.
export class AsmTaskProvider implements vscode.TaskProvider {
    provideTasks(): vscode.Task[] {
        return [this.task({ type: taskType, file: '${file}' }, vscode.TaskScope.Workspace)];
    }

    resolveTask(task: vscode.Task): vscode.Task | undefined {
        const definition = task.definition as vscode.TaskDefinition & AsmTaskDefinition;
        if (typeof definition.file !== 'string') return undefined;
        return this.task(definition, task.scope ?? vscode.TaskScope.Workspace);
    }

    private task(
        definition: vscode.TaskDefinition & AsmTaskDefinition,
        scope: vscode.WorkspaceFolder | vscode.TaskScope,
    ): vscode.Task {
        const settings = readSettings();
        const execution = new vscode.ProcessExecution(settings.path,
            asmArguments(definition, settings));
        const name = definition.file === '${file}' ? 'asm current file' : `asm ${definition.file}`;
        const task = new vscode.Task(definition, scope, name, 'korvo', execution,
            problemMatchers);
        task.group = vscode.TaskGroup.Build;
        return task;
    }
}
