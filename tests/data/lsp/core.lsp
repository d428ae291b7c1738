# The core: the client's (initializationOptions, then the korvo settings of
# didChangeConfiguration) before the one the settings remember (3).
--> {"jsonrpc": "2.0", "id": 1, "method": "initialize", "params": {"capabilities": {},
      "initializationOptions": {"core": "6"}}}
<-- {"jsonrpc": "2.0", "id": 1, "result": "..."}
--> {"jsonrpc": "2.0", "method": "textDocument/didOpen", "params": {"textDocument": {
      "uri": "untitled:build", "languageId": "korvo", "version": 1, "text": "        HWBUILD s0\n"}}}
<-- {"jsonrpc": "2.0", "method": "textDocument/publishDiagnostics", "params": {
      "uri": "untitled:build", "diagnostics": []}}
--> {"jsonrpc": "2.0", "id": 2, "method": "textDocument/hover", "params": {
      "textDocument": {"uri": "untitled:build"}, "position": {"line": 0, "character": 9}}}
<-- {"jsonrpc": "2.0", "id": 2, "result": {"contents": {"kind": "plaintext",
      "value": "HWBUILD: C: set; Z: set when the value read is 0\nWord on Picoblaze 6: $14080"},
      "range": {"start": {"line": 0, "character": 8}, "end": {"line": 0, "character": 15}}}}
--> {"jsonrpc": "2.0", "method": "workspace/didChangeConfiguration", "params": {
      "settings": {"korvo": {"core": "cr"}}}}
<-- {"jsonrpc": "2.0", "method": "textDocument/publishDiagnostics", "params": {
      "uri": "untitled:build", "diagnostics": [{"range": "...", "severity": 1, "source": "korvo",
       "code": "Opcode", "message": "Unsupported opcode for the currently selected processor core"}]}}
--> {"jsonrpc": "2.0", "id": 3, "method": "textDocument/hover", "params": {
      "textDocument": {"uri": "untitled:build"}, "position": {"line": 0, "character": 9}}}
<-- {"jsonrpc": "2.0", "id": 3, "result": {"contents": {"kind": "plaintext",
      "value": "HWBUILD: not an instruction of Picoblaze CR"},
      "range": {"start": {"line": 0, "character": 8}, "end": {"line": 0, "character": 15}}}}
# An unknown core is reported and changes nothing.
--> {"jsonrpc": "2.0", "method": "workspace/didChangeConfiguration", "params": {
      "settings": {"korvo": {"core": "7"}}}}
<-- {"jsonrpc": "2.0", "method": "window/showMessage", "params": {"type": 2,
      "message": "korvo: unknown core '7' (use I, II, 3, CR or 6)"}}
# No core of the client's: the one the settings remember.
--> {"jsonrpc": "2.0", "method": "workspace/didChangeConfiguration", "params": {
      "settings": {"korvo": {"core": ""}}}}
<-- {"jsonrpc": "2.0", "method": "textDocument/publishDiagnostics", "params": {
      "uri": "untitled:build", "diagnostics": [{"range": "...", "severity": 1, "source": "korvo",
       "code": "Opcode", "message": "Unsupported opcode for the currently selected processor core"}]}}
--> {"jsonrpc": "2.0", "id": 4, "method": "textDocument/hover", "params": {
      "textDocument": {"uri": "untitled:build"}, "position": {"line": 0, "character": 9}}}
<-- {"jsonrpc": "2.0", "id": 4, "result": {"contents": {"kind": "plaintext",
      "value": "HWBUILD: not an instruction of Picoblaze 3"},
      "range": {"start": {"line": 0, "character": 8}, "end": {"line": 0, "character": 15}}}}
--> {"jsonrpc": "2.0", "id": 5, "method": "shutdown"}
<-- {"jsonrpc": "2.0", "id": 5, "result": null}
--> {"jsonrpc": "2.0", "method": "exit"}
[0]
