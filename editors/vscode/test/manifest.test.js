// The manifest against the korvo it drives: the problem matchers read korvo
// asm's error lines, the launch properties are korvo sim's options, and the
// command lines and server settings the extension builds. With
// KORVO_EXECUTABLE set, the real korvo is asked too.
'use strict';
const assert = require('node:assert');
const { execFileSync, spawnSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { test } = require('node:test');

const manifest = require('../package.json');
const lines = require('../out/command_lines.js');
const korvo = process.env.KORVO_EXECUTABLE && path.resolve(process.env.KORVO_EXECUTABLE);

// What VS Code makes of an output line: the first matcher that matches.
function problemOf(line) {
    for (const matcher of manifest.contributes.problemMatchers) {
        const match = new RegExp(matcher.pattern.regexp).exec(line);
        if (!match) continue;
        const field = (name) => matcher.pattern[name] && match[matcher.pattern[name]];
        return { matcher: matcher.name, file: field('file'), line: field('line'),
            severity: field('severity'), message: field('message') };
    }
    return null;
}

test('problem matchers read the error lines of korvo asm', () => {
    const cases = [
        ['bad.psm:3: error: Identifier not expected here',
            { matcher: 'korvo-asm', file: 'bad.psm', line: '3', severity: 'error',
                message: 'Identifier not expected here' }],
        ['C:\\work\\a b\\main.psm:12: error: Label not found: "nowhere"',
            { matcher: 'korvo-asm', file: 'C:\\work\\a b\\main.psm', line: '12', severity: 'error',
                message: 'Label not found: "nowhere"' }],
        ['/home/u/x.psm: error: The HEX file "x.hex" cannot be written',
            { matcher: 'korvo-asm-file', file: '/home/u/x.psm', line: undefined, severity: 'error',
                message: 'The HEX file "x.hex" cannot be written' }],
        ['Line 3: Identifier not expected here', null],
        ['korvo asm: note: x.psm assembles without errors for Picoblaze-6 (--core 6)', null],
        ['Assembler Phase 1: building symbol table', null],
    ];
    for (const [line, expected] of cases) assert.deepStrictEqual(problemOf(line), expected, line);
});

test('command lines and server settings', () => {
    const none = { path: 'korvo', core: '' };
    const three = { path: '/opt/korvo', core: '3' };
    assert.deepStrictEqual(lines.asmArguments({ file: 'a.psm' }, none), ['asm', '--', 'a.psm']);
    assert.deepStrictEqual(lines.asmArguments({ file: 'a.psm' }, three),
        ['asm', '--core', '3', '--', 'a.psm']);
    assert.deepStrictEqual(
        lines.asmArguments({ file: 'a b.psm', core: 'CR', args: ['--listing', '-'] }, three),
        ['asm', '--core', 'CR', '--listing', '-', '--', 'a b.psm']);
    assert.deepStrictEqual(lines.initializationOptions(none), {});
    assert.deepStrictEqual(lines.initializationOptions(three), { core: '3' });
    assert.deepStrictEqual(lines.configurationChange(none), { settings: { korvo: { core: '' } } });
    assert.deepStrictEqual(lines.configurationChange(three),
        { settings: { korvo: { core: '3' } } });
    assert.deepStrictEqual(lines.withCoreSetting({ program: 'p.psm' }, three),
        { program: 'p.psm', core: '3' });
    assert.deepStrictEqual(lines.withCoreSetting({ program: 'p.psm', core: '6' }, three),
        { program: 'p.psm', core: '6' });
    assert.deepStrictEqual(lines.withCoreSetting({ program: 'p.psm' }, none), { program: 'p.psm' });
});

const launch = manifest.contributes.debuggers[0].configurationAttributes.launch.properties;

// The options of a command from its usage synopsis: name, value, repeatable.
function synopsisOptions(command) {
    const help = execFileSync(korvo, [command, '--help'], { encoding: 'utf8' });
    const synopsis = help.split('\n\n')[0].replace(/\s+/g, ' ');
    const names = [...new Set(synopsis.match(/--[a-z][a-z-]*/g))];
    return names.map((name) => {
        const value = new RegExp(`${name} ([A-Z0-9][^\\] ]*)`).exec(synopsis);
        return { name: name.slice(2), value: value && value[1],
            repeatable: new RegExp(`${name}[^\\]]*\\]\\.\\.\\.`).test(synopsis) };
    });
}

const needsKorvo = { skip: !korvo && 'no KORVO_EXECUTABLE' };

// Standard input and output of korvo dap carry the protocol, not a UART.
const notForDebugging = ['uart-stdio'];

test('launch properties are the options of korvo sim', needsKorvo, () => {
    const options =
        synopsisOptions('sim').filter((option) => !notForDebugging.includes(option.name));
    const simProperties =
        Object.keys(launch).filter((key) => !['program', 'stopOnEntry'].includes(key));
    assert.deepStrictEqual(simProperties.sort(), options.map((option) => option.name).sort());
    for (const option of options) {
        const property = launch[option.name];
        const type = option.repeatable ? 'array' : option.value ? 'string' : 'boolean';
        assert.strictEqual(property.type, type, option.name);
    }
    const cores = options.find((option) => option.name === 'core').value.split('|');
    assert.deepStrictEqual(launch.core.enum, cores);
    assert.deepStrictEqual(manifest.contributes.taskDefinitions[0].properties.core.enum, cores);
    assert.deepStrictEqual(manifest.contributes.configuration.properties['korvo.core'].enum,
        ['', ...cores]);
    assert.deepStrictEqual([...lines.coreNames], cores);
    assert.deepStrictEqual(launch['program-size'].enum,
        options.find((option) => option.name === 'program-size').value.split('|'));
});

test('an error of korvo asm becomes a problem on its line', needsKorvo, () => {
    const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'korvo-vscode-'));
    try {
        const source = path.join(folder, 'bad.psm');
        fs.writeFileSync(source, 'start:  LOAD s0, 1\n        JUMP nowhere\n');
        fs.writeFileSync(path.join(folder, 'settings.ini'), '');
        const run = spawnSync(korvo, lines.asmArguments({ file: source },
            { path: korvo, core: '3' }), {
            cwd: folder, encoding: 'utf8', env: { ...process.env, KORVO_SETTINGS: 'settings.ini' },
        });
        assert.ifError(run.error);
        assert.strictEqual(run.status, 1, run.stderr);
        const problems = run.stderr.split('\n').map(problemOf).filter(Boolean);
        assert.strictEqual(problems.length, 1, run.stderr);
        assert.strictEqual(problems[0].file, source);
        assert.strictEqual(problems[0].line, '2');
        assert.strictEqual(problems[0].severity, 'error');
    } finally {
        fs.rmSync(folder, { recursive: true, force: true });
    }
});
