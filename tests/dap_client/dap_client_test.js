// A debug session of the debug adapter test support library against
// korvo dap: launch to a breakpoint, the call stack, the registers, steps,
// step back and run back, the end of the run.
//
// Addresses of the program: LOAD s0 $000 (line 2), LOAD s3 $001 (3), again
// $002 (4), CALL $003 (5), SUB $004 (6), JUMP NZ $005 (7), done $006 (8),
// twice $007 (9), ADD s1 $008 (10), RET $009 (11).
'use strict';
const assert = require('assert');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { DebugClient } = require('@vscode/debugadapter-testsupport');

const korvo = path.resolve(process.argv[2]);
const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'korvo-dap-client-'));
const program = path.join(folder, 'prog.psm');
fs.writeFileSync(program, [
    '; counts down from three, calling a routine each time',
    '        LOAD  s0, 0',
    '        LOAD  s3, 3',
    'again:  ADD   s0, 1',
    '        CALL  twice',
    '        SUB   s3, 1',
    '        JUMP  NZ, again',
    'done:   JUMP  done',
    'twice:  ADD   s1, 2',
    '        ADD   s1, s0',
    '        RET',
    ''].join('\n'));
fs.writeFileSync(path.join(folder, 'settings.ini'), '');

const client = new DebugClient(korvo, 'dap', 'korvo', {
    cwd: folder,
    env: Object.assign({}, process.env, { KORVO_SETTINGS: path.join(folder, 'settings.ini') }),
});
client.defaultTimeout = 10000;

async function registers() {
    const scopes = await client.scopesRequest({ frameId: 0 });
    const reference = scopes.body.scopes.find(scope => scope.name === 'Registers').variablesReference;
    const variables = await client.variablesRequest({ variablesReference: reference });
    return Object.fromEntries(variables.body.variables.map(v => [v.name.split(' ')[0], v.value]));
}

async function stepTo(request, line) {
    await Promise.all([request({ threadId: 1 }), client.assertStoppedLocation('step', { line })]);
}

async function session() {
    await client.start();
    // The first arrival in twice: s0 = 1, s1 = 0, s3 = 3.
    await client.hitBreakpoint({ program, core: '3', 'max-instructions': '1000' },
        { path: program, line: 9 });
    const stack = await client.stackTraceRequest({ threadId: 1 });
    assert.deepStrictEqual(stack.body.stackFrames.map(frame => [frame.name, frame.line]),
        [['twice', 9], ['again', 5]]);
    let values = await registers();
    assert.deepStrictEqual([values.s0, values.s1, values.s3], ['$01', '$00', '$03']);

    await stepTo(client.nextRequest.bind(client), 10);
    assert.strictEqual((await registers()).s1, '$02');
    await stepTo(client.stepInRequest.bind(client), 11);
    assert.strictEqual((await registers()).s1, '$03');
    await stepTo(client.stepOutRequest.bind(client), 6);
    const evaluated = await client.evaluateRequest({ expression: 's1 == 3' });
    assert.strictEqual(evaluated.body.result, '$01 (1)');

    // Back over the RET, then back to the first arrival in twice.
    await stepTo(client.stepBackRequest.bind(client), 11);
    assert.strictEqual((await registers()).s1, '$03');
    await Promise.all([client.reverseContinueRequest({ threadId: 1 }),
        client.assertStoppedLocation('breakpoint', { line: 9 })]);
    values = await registers();
    assert.deepStrictEqual([values.s0, values.s1], ['$01', '$00']);

    // To the end: the limit of 1000 instructions, exit status 0.
    await client.setBreakpointsRequest({ source: { path: program }, breakpoints: [] });
    const [, exited] = await Promise.all([
        client.continueRequest({ threadId: 1 }), client.waitForEvent('exited')]);
    assert.strictEqual(exited.body.exitCode, 0);
    await client.disconnectRequest({});
}

session().then(() => {
    client.stop();
    fs.rmSync(folder, { recursive: true, force: true });
    console.log('dap client session: passed');
}, failure => {
    client.stop();
    fs.rmSync(folder, { recursive: true, force: true });
    console.error('dap client session: ' + (failure && failure.stack || failure));
    process.exitCode = 1;
});
