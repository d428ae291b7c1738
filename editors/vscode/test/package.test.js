// The packaged extension (KORVO_VSIX) loads from what the package holds: its
// compiled code finds every runtime module it needs, with a stand-in for the
// vscode module that only the editor provides, and the manifest it carries
// points at files that are there.
'use strict';
const assert = require('node:assert');
const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const Module = require('node:module');
const os = require('node:os');
const path = require('node:path');
const { test } = require('node:test');

const vsix = process.env.KORVO_VSIX;

// Every property, call and construction gives the stand-in again.
const standIn = new Proxy(function () {}, {
    get: (target, property) => (property === 'prototype' ? target.prototype : standIn),
    apply: () => standIn,
    construct: () => standIn,
});

test('the package loads and holds what its manifest names', { skip: !vsix && 'no KORVO_VSIX' },
    () => {
        const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'korvo-vsix-'));
        const resolve = Module._resolveFilename;
        try {
            execFileSync('unzip', ['-q', vsix, '-d', folder]);
            const extension = path.join(folder, 'extension');
            const manifest = JSON.parse(fs.readFileSync(path.join(extension, 'package.json')));
            const named = [manifest.main,
                ...manifest.contributes.languages.map((language) => language.configuration),
                ...manifest.contributes.grammars.map((grammar) => grammar.path)];
            for (const file of named)
                assert.ok(fs.existsSync(path.join(extension, file)),
                    `${file} is not in the package`);

            Module._resolveFilename = function (request, ...rest) {
                return request === 'vscode' ? 'vscode' : resolve.call(this, request, ...rest);
            };
            require.cache.vscode = { id: 'vscode', filename: 'vscode', loaded: true,
                exports: standIn };
            const loaded = require(path.join(extension, manifest.main));
            assert.strictEqual(typeof loaded.activate, 'function');
            assert.strictEqual(typeof loaded.deactivate, 'function');
            // What the language client loads when it starts a server.
            const client = require.resolve('vscode-languageclient/node',
                { paths: [path.join(extension, 'out')] });
            assert.ok(client.startsWith(extension), client);
        } finally {
            Module._resolveFilename = resolve;
            delete require.cache.vscode;
            fs.rmSync(folder, { recursive: true, force: true });
        }
    });
