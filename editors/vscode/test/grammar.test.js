// Tokenizes sources with the grammar, through the TextMate engine and the
// Oniguruma regular expressions that VS Code uses, and checks the scope of
// chosen words. The expected scopes follow the scanner's rules: a keyword in
// all upper or all lower case, "$" hex, "%" binary and decimal numbers, ";"
// to the end of the line outside strings and character literals.
'use strict';
const assert = require('node:assert');
const fs = require('node:fs');
const path = require('node:path');
const { test } = require('node:test');
const oniguruma = require('vscode-oniguruma');
const textmate = require('vscode-textmate');

const extension = path.resolve(__dirname, '..');
const examples = path.resolve(extension, '..', '..', 'examples');

async function loadGrammar() {
    const wasm = fs.readFileSync(require.resolve('vscode-oniguruma/release/onig.wasm'));
    await oniguruma.loadWASM(wasm.buffer.slice(wasm.byteOffset, wasm.byteOffset + wasm.byteLength));
    const registry = new textmate.Registry({
        onigLib: Promise.resolve({
            createOnigScanner: (patterns) => new oniguruma.OnigScanner(patterns),
            createOnigString: (text) => new oniguruma.OnigString(text),
        }),
        loadGrammar: async () => textmate.parseRawGrammar(
            fs.readFileSync(path.join(extension, 'syntaxes', 'korvo-psm.tmLanguage.json'), 'utf8'),
            'korvo-psm.tmLanguage.json'),
    });
    return registry.loadGrammar('source.korvo-psm');
}

// The innermost scope of each token, without the language suffix; "-" for
// text that only the root scope covers.
function tokensOf(grammar, line) {
    const { tokens } = grammar.tokenizeLine(line, textmate.INITIAL);
    return tokens.map((token) => {
        const scopes = token.scopes.slice(1);
        return [line.slice(token.startIndex, token.endIndex),
            scopes.length ? scopes[scopes.length - 1].replace(/\.korvo-psm$/, '') : '-'];
    });
}

// Each expected [text, scope] pair must be a token of the line, in this order.
function assertTokens(grammar, line, expected) {
    const tokens = tokensOf(grammar, line);
    let next = 0;
    for (const [text, scope] of expected) {
        const found = tokens.findIndex(([tokenText], index) => index >= next && tokenText === text);
        assert.notStrictEqual(found, -1,
            `"${text}" is no token of ${JSON.stringify(line)}: ${JSON.stringify(tokens)}`);
        assert.strictEqual(tokens[found][1], scope,
            `scope of "${text}" in ${JSON.stringify(line)}`);
        next = found + 1;
    }
}

function exampleLine(file, start) {
    const line = fs.readFileSync(path.join(examples, file), 'latin1').split(/\r?\n/)
        .find((text) => text.startsWith(start));
    assert.ok(line !== undefined, `${file} has no line starting with ${start}`);
    return line;
}

const exampleCases = [
    ['uart_echo_pbt3.psm', 'serial', [
        ['serial', 'entity.name.constant'], ['UART', 'keyword.control.directive'],
        ['$04', 'constant.numeric.hex'], [',', 'punctuation.separator'],
        ['4000', 'constant.numeric.decimal'],
        ['; status port $04, data port $05, TCP port 4000', 'comment.line.semicolon']]],
    ['uart_echo_pbt3.psm', 'next:', [
        ['next', 'entity.name.label'], [':', 'punctuation.separator.label'],
        ['IN', 'keyword.other.mnemonic'], ['s0', 'variable.language.register'],
        ['serial', 'variable.other'], ['; wait for a byte', 'comment.line.semicolon']]],
    ['uart_echo_pbt3.psm', '         JUMP  NC', [
        ['JUMP', 'keyword.other.mnemonic'], ['NC', 'constant.language.condition'],
        ['send', 'variable.other']]],
    ['uart_echo_pbt3.psm', '         COMP  s1, $61', [
        ['$61', 'constant.numeric.hex'], ['; below "a"?', 'comment.line.semicolon']]],
    ['blink.psm', 'led_bit', [
        ['led_bit', 'entity.name.constant'], ['EQU', 'keyword.control.directive'],
        ['%00000001', 'constant.numeric.binary']]],
    ['blink.psm', '            ORG 0', [
        ['ORG', 'keyword.control.directive'], ['0', 'constant.numeric.decimal']]],
    ['bank_interrupt_pbt6.psm', 'isr:', [
        ['isr', 'entity.name.label'], ['BANKB', 'keyword.other.mnemonic']]],
    ['bank_interrupt_pbt6.psm', '         RETI', [
        ['RETI', 'keyword.other.mnemonic'], ['ENABLE', 'constant.language.interrupt-option']]],
    ['outk_string_pbt6.psm', 'send:', [
        ['OUTK', 'keyword.other.mnemonic'], ["'K'", 'constant.character'],
        [',', 'punctuation.separator'], ['4', 'constant.numeric.decimal']]],
    ['ram_rom_pbti.psm', 'copy:', [
        ['s2', 'variable.language.register'], ['(', 'punctuation.section.group.begin'],
        ['s0', 'variable.language.register'], [')', 'punctuation.section.group.end']]],
    ['stimulus_log_pbt3.psm', 'totals', [
        ['DSOUT', 'keyword.control.directive'], ['"running_total.log"', 'string.quoted.double'],
        ['"total: %3d"', 'string.quoted.double']]],
];

// Lines where the scanner's rules differ from what a quick reading suggests.
const edgeCases = [
    // Keywords count in all upper or all lower case only.
    ['Load s0, 1', [['Load', 'variable.other'], ['s0', 'variable.language.register']]],
    ['load S1F, sf', [['load', 'keyword.other.mnemonic'], ['S1F', 'variable.language.register'],
        ['sf', 'variable.language.register']]],
    // A number ends where its digits end; the rest is a word of its own.
    ['12load', [['12', 'constant.numeric.decimal'], ['load', 'keyword.other.mnemonic']]],
    ['0x1F', [['0', 'constant.numeric.decimal'], ['x1F', 'variable.other']]],
    ['%1012', [['%101', 'constant.numeric.binary'], ['2', 'constant.numeric.decimal']]],
    ['$add $', [['$add', 'constant.numeric.hex'], ['$', 'constant.numeric.hex']]],
    // Keywords and registers inside longer words are plain words.
    ['xload inst s20 sG nz_flag', [['xload', 'variable.other'], ['inst', 'keyword.other.mnemonic'],
        ['s20', 'variable.other'], ['sG', 'variable.other'], ['nz_flag', 'variable.other']]],
    // ";" inside a string or a character literal starts no comment.
    ['x DSOUT 1, "a;b" ; c', [['"a;b"', 'string.quoted.double'],
        ['; c', 'comment.line.semicolon']]],
    ["LOAD s0, ';' ; quote", [["';'", 'constant.character'],
        ['; quote', 'comment.line.semicolon']]],
    ["LOAD s0, ''''", [["''''", 'constant.character']]],
    ['INCL "defs.inc', [['INCL', 'keyword.control.directive'],
        ['"defs.inc', 'string.quoted.double']]],
    // Expression operators and directives of either case.
    ['big equ (3 + 4) * 2 - ~1', [['big', 'entity.name.constant'],
        ['equ', 'keyword.control.directive'], ['+', 'keyword.operator'], ['*', 'keyword.operator'],
        ['~', 'keyword.operator']]],
    ['   defjump fallback', [['defjump', 'keyword.control.directive']]],
];

test('example sources', async () => {
    const grammar = await loadGrammar();
    for (const [file, start, expected] of exampleCases)
        assertTokens(grammar, exampleLine(file, start), expected);
});

test('edge cases of the scanner', async () => {
    const grammar = await loadGrammar();
    for (const [line, expected] of edgeCases) assertTokens(grammar, line, expected);
});
