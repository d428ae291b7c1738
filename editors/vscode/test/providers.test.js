// The debug and task providers, loaded with a small stand-in for the vscode
// module that records what they ask of the editor: the adapter command, the
// launch configuration F5 makes, the korvo asm command lines, and that the
// names they use are those the manifest declares.
'use strict';
const assert = require('node:assert');
const Module = require('node:module');
const { test } = require('node:test');

const manifest = require('../package.json');
const settings = { path: '/opt/korvo/bin/korvo', core: '' };
const messages = [];
const editor = {
    workspace: { getConfiguration: () => ({ get: (key) => settings[key] }) },
    window: {
        activeTextEditor: undefined,
        showInformationMessage: (message) => messages.push(message),
        showErrorMessage: (message) => messages.push(message),
    },
    DebugAdapterExecutable: class {
        constructor(command, args) { Object.assign(this, { command, args }); }
    },
    ProcessExecution: class {
        constructor(process, args) { Object.assign(this, { process, args }); }
    },
    Task: class {
        constructor(definition, scope, name, source, execution, problemMatchers) {
            Object.assign(this, { definition, scope, name, source, execution, problemMatchers });
        }
    },
    TaskScope: { Workspace: 2 },
    TaskGroup: { Build: 'build' },
};

function loadWithEditor(file) {
    const resolve = Module._resolveFilename;
    Module._resolveFilename = function (request, ...rest) {
        return request === 'vscode' ? 'vscode' : resolve.call(this, request, ...rest);
    };
    require.cache.vscode = { id: 'vscode', filename: 'vscode', loaded: true, exports: editor };
    try {
        return require(file);
    } finally {
        Module._resolveFilename = resolve;
        delete require.cache.vscode;
    }
}

const debug = loadWithEditor('../out/debug_adapter.js');
const tasks = loadWithEditor('../out/asm_tasks.js');
const language = manifest.contributes.languages[0].id;

test('debug sessions start korvo dap', () => {
    assert.strictEqual(debug.debugType, manifest.contributes.debuggers[0].type);
    const adapter = new debug.KorvoDebugAdapterFactory().createDebugAdapterDescriptor();
    assert.deepStrictEqual({ ...adapter }, { command: settings.path, args: ['dap'] });
});

test('launch configurations', () => {
    const provider = new debug.KorvoDebugConfigurationProvider();
    const resolve = (configuration, activeLanguage, core) => {
        editor.window.activeTextEditor =
            activeLanguage && { document: { languageId: activeLanguage } };
        settings.core = core;
        messages.length = 0;
        return provider.resolveDebugConfiguration(undefined, configuration);
    };
    const current = { type: 'korvo', request: 'launch', name: 'Simulate the current file',
        program: '${file}', stopOnEntry: true };
    // F5 without launch.json on a source of the language.
    assert.deepStrictEqual(resolve({}, language, ''), current);
    assert.deepStrictEqual(resolve({}, language, '6'), { ...current, core: '6' });
    // ... on anything else: nothing starts, the user is told why.
    assert.strictEqual(resolve({}, 'plaintext', ''), undefined);
    assert.strictEqual(messages.length, 1);
    assert.strictEqual(resolve({}, undefined, ''), undefined);
    // A configuration's own core wins; one without a program starts nothing.
    const own = { type: 'korvo', request: 'launch', name: 'x', program: 'a.psm', core: '3' };
    assert.deepStrictEqual(resolve(own, undefined, '6'), own);
    assert.strictEqual(resolve({ type: 'korvo', request: 'launch', name: 'x' }, language, ''),
        undefined);
    assert.strictEqual(messages.length, 1);
});

test('korvo asm tasks', () => {
    assert.strictEqual(tasks.taskType, manifest.contributes.taskDefinitions[0].type);
    const provider = new tasks.AsmTaskProvider();
    settings.core = '';
    const [offered] = provider.provideTasks();
    assert.strictEqual(offered.execution.process, settings.path);
    assert.deepStrictEqual(offered.execution.args, ['asm', '--', '${file}']);
    assert.strictEqual(offered.group, editor.TaskGroup.Build);
    const matchers = manifest.contributes.problemMatchers.map((matcher) => '$' + matcher.name);
    assert.deepStrictEqual(offered.problemMatchers, matchers);

    settings.core = 'II';
    const configured = provider.resolveTask({ definition: { type: 'korvo', file: 'src/a.psm',
        core: 'CR', args: ['--no-exec'] } });
    assert.deepStrictEqual(configured.execution.args,
        ['asm', '--core', 'CR', '--no-exec', '--', 'src/a.psm']);
    assert.strictEqual(configured.scope, editor.TaskScope.Workspace);
    assert.strictEqual(provider.resolveTask({ definition: { type: 'korvo' } }), undefined);
});
