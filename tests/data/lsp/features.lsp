# The features on main.psm, which includes defs.inc; the core is the one the
# settings remember (Korvo=3: PicoBlaze 3).
--> {"jsonrpc": "2.0", "id": 1, "method": "initialize", "params": {"capabilities": {}}}
<-- {"jsonrpc": "2.0", "id": 1, "result": {"serverInfo": {"name": "korvo"}, "capabilities": {
      "textDocumentSync": {"openClose": true, "change": 2, "save": true},
      "definitionProvider": true, "referencesProvider": true, "renameProvider": true,
      "hoverProvider": true, "completionProvider": {"triggerCharacters": []},
      "documentSymbolProvider": true, "documentFormattingProvider": true}}}
--> {"jsonrpc": "2.0", "method": "initialized", "params": {}}
--> {"jsonrpc": "2.0", "method": "textDocument/didOpen", "params": {"textDocument": {
      "uri": "$DATA/main.psm", "languageId": "korvo", "version": 1, "text": "$TEXT(main.psm)"}}}
<-- {"jsonrpc": "2.0", "method": "textDocument/publishDiagnostics", "params": {
      "uri": "$DATA/main.psm", "diagnostics": []}}
# limit in "start:  LOAD s0, limit" is defined in defs.inc; loop in main.psm.
--> {"jsonrpc": "2.0", "id": 2, "method": "textDocument/definition", "params": {
      "textDocument": {"uri": "$DATA/main.psm"}, "position": {"line": 2, "character": 19}}}
<-- {"jsonrpc": "2.0", "id": 2, "result": {"uri": "$DATA/defs.inc",
      "range": {"start": {"line": 1, "character": 0}, "end": {"line": 1, "character": 5}}}}
--> {"jsonrpc": "2.0", "id": 3, "method": "textDocument/definition", "params": {
      "textDocument": {"uri": "$DATA/main.psm"}, "position": {"line": 5, "character": 21}}}
<-- {"jsonrpc": "2.0", "id": 3, "result": {"uri": "$DATA/main.psm",
      "range": {"start": {"line": 3, "character": 0}, "end": {"line": 3, "character": 4}}}}
# A number and a mnemonic have no definition.
--> {"jsonrpc": "2.0", "id": 4, "method": "textDocument/definition", "params": {
      "textDocument": {"uri": "$DATA/main.psm"}, "position": {"line": 3, "character": 9}}}
<-- {"jsonrpc": "2.0", "id": 4, "result": null}
--> {"jsonrpc": "2.0", "id": 5, "method": "textDocument/references", "params": {
      "textDocument": {"uri": "$DATA/main.psm"}, "position": {"line": 4, "character": 17},
      "context": {"includeDeclaration": true}}}
<-- {"jsonrpc": "2.0", "id": 5, "result": [
      {"uri": "$DATA/defs.inc", "range": {"start": {"line": 2, "character": 0}, "end": {"line": 2, "character": 4}}},
      {"uri": "$DATA/main.psm", "range": {"start": {"line": 4, "character": 16}, "end": {"line": 4, "character": 20}}}]}
--> {"jsonrpc": "2.0", "id": 6, "method": "textDocument/references", "params": {
      "textDocument": {"uri": "$DATA/main.psm"}, "position": {"line": 3, "character": 2},
      "context": {"includeDeclaration": false}}}
<-- {"jsonrpc": "2.0", "id": 6, "result": [
      {"uri": "$DATA/main.psm", "range": {"start": {"line": 5, "character": 17}, "end": {"line": 5, "character": 21}}}]}
--> {"jsonrpc": "2.0", "id": 7, "method": "textDocument/rename", "params": {
      "textDocument": {"uri": "$DATA/main.psm"}, "position": {"line": 2, "character": 22},
      "newName": "top"}}
<-- {"jsonrpc": "2.0", "id": 7, "result": {"changes": {
      "$DATA/defs.inc": [{"range": {"start": {"line": 1, "character": 0}, "end": {"line": 1, "character": 5}}, "newText": "top"}],
      "$DATA/main.psm": [{"range": {"start": {"line": 2, "character": 17}, "end": {"line": 2, "character": 22}}, "newText": "top"}]}}}
--> {"jsonrpc": "2.0", "id": 8, "method": "textDocument/hover", "params": {
      "textDocument": {"uri": "$DATA/main.psm"}, "position": {"line": 3, "character": 9}}}
<-- {"jsonrpc": "2.0", "id": 8, "result": {"contents": {"kind": "plaintext",
      "value": "SUB: C: the borrow; Z: set when the result is 0\nWord on Picoblaze 3: $1C000"},
      "range": {"start": {"line": 3, "character": 8}, "end": {"line": 3, "character": 11}}}}
--> {"jsonrpc": "2.0", "id": 9, "method": "textDocument/hover", "params": {
      "textDocument": {"uri": "$DATA/main.psm"}, "position": {"line": 4, "character": 20}}}
<-- {"jsonrpc": "2.0", "id": 9, "result": {"contents": {"kind": "plaintext", "value": "leds: port $01"},
      "range": {"start": {"line": 4, "character": 16}, "end": {"line": 4, "character": 20}}}}
--> {"jsonrpc": "2.0", "id": 10, "method": "textDocument/hover", "params": {
      "textDocument": {"uri": "$DATA/main.psm"}, "position": {"line": 2, "character": 17}}}
<-- {"jsonrpc": "2.0", "id": 10, "result": {"contents": {"kind": "plaintext", "value": "limit: constant $0A (10)"},
      "range": {"start": {"line": 2, "character": 17}, "end": {"line": 2, "character": 22}}}}
--> {"jsonrpc": "2.0", "id": 11, "method": "textDocument/hover", "params": {
      "textDocument": {"uri": "$DATA/main.psm"}, "position": {"line": 6, "character": 14}}}
<-- {"jsonrpc": "2.0", "id": 11, "result": {"contents": {"kind": "plaintext", "value": "start: label, address $000"},
      "range": {"start": {"line": 6, "character": 13}, "end": {"line": 6, "character": 18}}}}
--> {"jsonrpc": "2.0", "id": 12, "method": "textDocument/hover", "params": {
      "textDocument": {"uri": "$DATA/main.psm"}, "position": {"line": 3, "character": 12}}}
<-- {"jsonrpc": "2.0", "id": 12, "result": {"contents": {"kind": "plaintext", "value": "register s0"},
      "range": {"start": {"line": 3, "character": 12}, "end": {"line": 3, "character": 14}}}}
# Nothing to say about a comment.
--> {"jsonrpc": "2.0", "id": 13, "method": "textDocument/hover", "params": {
      "textDocument": {"uri": "$DATA/main.psm"}, "position": {"line": 0, "character": 5}}}
<-- {"jsonrpc": "2.0", "id": 13, "result": null}
--> {"jsonrpc": "2.0", "id": 14, "method": "textDocument/documentSymbol", "params": {
      "textDocument": {"uri": "$DATA/main.psm"}}}
<-- {"jsonrpc": "2.0", "id": 14, "result": [
      {"name": "start", "detail": "label, address $000", "kind": 12,
       "range": {"start": {"line": 2, "character": 0}, "end": {"line": 2, "character": 22}},
       "selectionRange": {"start": {"line": 2, "character": 0}, "end": {"line": 2, "character": 5}}},
      {"name": "loop", "detail": "label, address $001", "kind": 12,
       "range": {"start": {"line": 3, "character": 0}, "end": {"line": 3, "character": 17}},
       "selectionRange": {"start": {"line": 3, "character": 0}, "end": {"line": 3, "character": 4}}}]}
--> {"jsonrpc": "2.0", "id": 15, "method": "textDocument/formatting", "params": {
      "textDocument": {"uri": "$DATA/main.psm"}, "options": {"tabSize": 8, "insertSpaces": true}}}
<-- {"jsonrpc": "2.0", "id": 15, "result": [
      {"range": {"start": {"line": 1, "character": 0}, "end": {"line": 1, "character": 23}}, "newText": "                    INCL      \"defs.inc\""},
      {"range": {"start": {"line": 2, "character": 0}, "end": {"line": 2, "character": 22}}, "newText": "start:              LOAD      s0, limit"},
      {"range": {"start": {"line": 3, "character": 0}, "end": {"line": 3, "character": 17}}, "newText": "loop:               SUB       s0, 1"},
      {"range": {"start": {"line": 4, "character": 0}, "end": {"line": 4, "character": 20}}, "newText": "                    OUT       s0, leds"},
      {"range": {"start": {"line": 5, "character": 0}, "end": {"line": 5, "character": 21}}, "newText": "                    JUMP      NZ, loop"},
      {"range": {"start": {"line": 6, "character": 0}, "end": {"line": 6, "character": 18}}, "newText": "                    JUMP      start"}]}
--> {"jsonrpc": "2.0", "id": 20, "method": "textDocument/completion", "params": {
      "textDocument": {"uri": "$DATA/main.psm"}, "position": {"line": 6, "character": 8}}}
<-- {"jsonrpc": "2.0", "id": 20, "result": {"isIncomplete": false, "items": [
     {"label": "JUMP", "kind": 14, "detail": "..."},
     {"label": "CALL", "kind": 14, "detail": "..."},
     {"label": "RET", "kind": 14, "detail": "..."},
     {"label": "RETI", "kind": 14, "detail": "..."},
     {"label": "EINT", "kind": 14, "detail": "..."},
     {"label": "DINT", "kind": 14, "detail": "..."},
     {"label": "SR0", "kind": 14, "detail": "..."},
     {"label": "SR1", "kind": 14, "detail": "..."},
     {"label": "SRX", "kind": 14, "detail": "..."},
     {"label": "SRA", "kind": 14, "detail": "..."},
     {"label": "RR", "kind": 14, "detail": "..."},
     {"label": "SL0", "kind": 14, "detail": "..."},
     {"label": "SL1", "kind": 14, "detail": "..."},
     {"label": "SLX", "kind": 14, "detail": "..."},
     {"label": "SLA", "kind": 14, "detail": "..."},
     {"label": "RL", "kind": 14, "detail": "..."},
     {"label": "LOAD", "kind": 14, "detail": "..."},
     {"label": "AND", "kind": 14, "detail": "..."},
     {"label": "OR", "kind": 14, "detail": "..."},
     {"label": "XOR", "kind": 14, "detail": "..."},
     {"label": "TEST", "kind": 14, "detail": "..."},
     {"label": "ADD", "kind": 14, "detail": "..."},
     {"label": "ADDC", "kind": 14, "detail": "..."},
     {"label": "SUB", "kind": 14, "detail": "..."},
     {"label": "SUBC", "kind": 14, "detail": "..."},
     {"label": "COMP", "kind": 14, "detail": "..."},
     {"label": "IN", "kind": 14, "detail": "..."},
     {"label": "OUT", "kind": 14, "detail": "..."},
     {"label": "FETCH", "kind": 14, "detail": "..."},
     {"label": "STORE", "kind": 14, "detail": "..."},
     {"label": "INST", "kind": 14, "detail": "..."},
     {"label": "EQU", "kind": 14, "detail": "directive"},
     {"label": "ORG", "kind": 14, "detail": "directive"},
     {"label": "DSROM", "kind": 14, "detail": "directive"},
     {"label": "DSRAM", "kind": 14, "detail": "directive"},
     {"label": "DSIN", "kind": 14, "detail": "directive"},
     {"label": "DSOUT", "kind": 14, "detail": "directive"},
     {"label": "DSIO", "kind": 14, "detail": "directive"},
     {"label": "DS", "kind": 14, "detail": "directive"},
     {"label": "BROM", "kind": 14, "detail": "directive"},
     {"label": "UART", "kind": 14, "detail": "directive"},
     {"label": "VHDL", "kind": 14, "detail": "directive"},
     {"label": "COE", "kind": 14, "detail": "directive"},
     {"label": "INC", "kind": 14, "detail": "directive"},
     {"label": "SVF", "kind": 14, "detail": "directive"},
     {"label": "HEX", "kind": 14, "detail": "directive"},
     {"label": "MEM", "kind": 14, "detail": "directive"},
     {"label": "EXEC", "kind": 14, "detail": "directive"},
     {"label": "INCL", "kind": 14, "detail": "directive"},
     {"label": "MACRO", "kind": 14, "detail": "directive"},
     {"label": "END", "kind": 14, "detail": "directive"},
     {"label": "DEFJUMP", "kind": 14, "detail": "directive"},
     {"label": "s0", "kind": 6, "detail": "register"},
     {"label": "s1", "kind": 6, "detail": "register"},
     {"label": "s2", "kind": 6, "detail": "register"},
     {"label": "s3", "kind": 6, "detail": "register"},
     {"label": "s4", "kind": 6, "detail": "register"},
     {"label": "s5", "kind": 6, "detail": "register"},
     {"label": "s6", "kind": 6, "detail": "register"},
     {"label": "s7", "kind": 6, "detail": "register"},
     {"label": "s8", "kind": 6, "detail": "register"},
     {"label": "s9", "kind": 6, "detail": "register"},
     {"label": "sA", "kind": 6, "detail": "register"},
     {"label": "sB", "kind": 6, "detail": "register"},
     {"label": "sC", "kind": 6, "detail": "register"},
     {"label": "sD", "kind": 6, "detail": "register"},
     {"label": "sE", "kind": 6, "detail": "register"},
     {"label": "sF", "kind": 6, "detail": "register"},
     {"label": "limit", "kind": 21, "detail": "constant $0A (10)"},
     {"label": "leds", "kind": 8, "detail": "port $01"},
     {"label": "start", "kind": 3, "detail": "label, address $000"},
     {"label": "loop", "kind": 3, "detail": "label, address $001"}
    ]}}
--> {"jsonrpc": "2.0", "id": 30, "method": "shutdown"}
<-- {"jsonrpc": "2.0", "id": 30, "result": null}
--> {"jsonrpc": "2.0", "method": "exit"}
[0]
