// The extension's side of the contract with korvo lsp and korvo dap: the
// core setting as initialization option and configuration change, and the
// launch configuration as the manifest's initial configuration and the
// README show it. Runs the servers of KORVO_EXECUTABLE over pipes; skipped
// when that korvo has no such command.
'use strict';
const assert = require('node:assert');
const { spawn, spawnSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { test } = require('node:test');

const manifest = require('../package.json');
const lines = require('../out/command_lines.js');
const korvo = process.env.KORVO_EXECUTABLE && path.resolve(process.env.KORVO_EXECUTABLE);

function skipUnless(command) {
    if (!korvo) return { skip: 'no KORVO_EXECUTABLE' };
    const help = spawnSync(korvo, [command, '--help'], { encoding: 'utf8', timeout: 10000 });
    return help.status === 0 ? {} : { skip: `korvo has no ${command} command` };
}

// HWBUILD is an instruction of PicoBlaze 6 only.
const source = '        HWBUILD s0\n';

// A server on pipes: messages framed by Content-Length both ways.
function start(command, folder) {
    const child = spawn(korvo, [command], {
        cwd: folder, env: { ...process.env, KORVO_SETTINGS: path.join(folder, 'settings.ini') },
    });
    const received = [];
    const waiting = [];
    let buffer = Buffer.alloc(0);
    child.stdout.on('data', (data) => {
        buffer = Buffer.concat([buffer, data]);
        for (let end; (end = buffer.indexOf('\r\n\r\n')) >= 0;) {
            const length = Number(/Content-Length: *(\d+)/i.exec(buffer.subarray(0, end))[1]);
            if (buffer.length < end + 4 + length) break;
            received.push(JSON.parse(buffer.subarray(end + 4, end + 4 + length)));
            buffer = buffer.subarray(end + 4 + length);
        }
        waiting.splice(0).forEach((wake) => wake());
    });
    return {
        send(message) {
            const text = JSON.stringify(message);
            child.stdin.write(`Content-Length: ${Buffer.byteLength(text)}\r\n\r\n${text}`);
        },
        // The first message from now on that the predicate accepts.
        async next(accept, what) {
            const deadline = Date.now() + 10000;
            for (;;) {
                const index = received.findIndex(accept);
                if (index >= 0) return received.splice(0, index + 1).pop();
                assert.ok(Date.now() < deadline, `no ${what} from korvo ${command}`);
                await new Promise((wake) => {
                    waiting.push(wake);
                    setTimeout(wake, 200);
                });
            }
        },
        stop() {
            child.stdin.end();
            child.kill();
        },
    };
}

async function inFolder(body) {
    const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'korvo-servers-'));
    fs.writeFileSync(path.join(folder, 'settings.ini'), '');
    fs.writeFileSync(path.join(folder, 'hw.psm'), source);
    try {
        await body(folder);
    } finally {
        fs.rmSync(folder, { recursive: true, force: true });
    }
}

test('korvo lsp takes the core setting', skipUnless('lsp'), () => inFolder(async (folder) => {
    const server = start('lsp', folder);
    try {
        const uri = 'file://' + path.join(folder, 'hw.psm');
        const diagnostics = () => server.next((message) =>
            message.method === 'textDocument/publishDiagnostics' && message.params.uri === uri,
        'diagnostics');
        server.send({ jsonrpc: '2.0', id: 1, method: 'initialize', params: {
            processId: null, rootUri: null, capabilities: {},
            initializationOptions: lines.initializationOptions({ path: korvo, core: '6' }) } });
        await server.next((message) => message.id === 1, 'initialize result');
        server.send({ jsonrpc: '2.0', method: 'initialized', params: {} });
        server.send({ jsonrpc: '2.0', method: 'textDocument/didOpen', params: { textDocument: {
            uri, languageId: manifest.contributes.languages[0].id, version: 1, text: source } } });
        assert.deepStrictEqual((await diagnostics()).params.diagnostics, []);
        server.send({ jsonrpc: '2.0', method: 'workspace/didChangeConfiguration',
            params: lines.configurationChange({ path: korvo, core: '3' }) });
        const [error] = (await diagnostics()).params.diagnostics;
        assert.strictEqual(error.range.start.line, 0);
        assert.strictEqual(error.severity, 1);
    } finally {
        server.stop();
    }
}));

test('korvo dap launches the initial configuration', skipUnless('dap'), () =>
    inFolder(async (folder) => {
        const server = start('dap', folder);
        try {
            const response = (command) => server.next((message) =>
                message.type === 'response' && message.command === command, `${command} response`);
            server.send({ seq: 1, type: 'request', command: 'initialize',
                arguments: { adapterID: 'korvo', linesStartAt1: true, pathFormat: 'path' } });
            assert.strictEqual((await response('initialize')).success, true);
            const initial = manifest.contributes.debuggers[0].initialConfigurations[0];
            const launch = lines.withCoreSetting({ ...initial, program: path.join(folder, 'hw.psm'),
                'interrupt-at': ['100', '5000'], in: ['0=$A5'], 'no-exec': true },
            { path: korvo, core: '6' });
            server.send({ seq: 2, type: 'request', command: 'launch', arguments: launch });
            const launched = await response('launch');
            assert.strictEqual(launched.success, true, launched.message);
            server.send({ seq: 3, type: 'request', command: 'configurationDone', arguments: {} });
            const stopped = await server.next((message) => message.event === 'stopped', 'stop');
            assert.strictEqual(stopped.body.reason, 'entry');
        } finally {
            server.stop();
        }
    }));
