$ lsp --core II
# --core stands for every file's own choice.
--> {"jsonrpc": "2.0", "id": 1, "method": "initialize", "params": {"capabilities": {}}}
<-- {"jsonrpc": "2.0", "id": 1, "result": "..."}
--> {"jsonrpc": "2.0", "method": "textDocument/didOpen", "params": {"textDocument": {
      "uri": "untitled:two", "languageId": "korvo", "version": 1, "text": "        ADD s1F, 1\n"}}}
<-- {"jsonrpc": "2.0", "method": "textDocument/publishDiagnostics", "params": {
      "uri": "untitled:two", "diagnostics": []}}
--> {"jsonrpc": "2.0", "id": 2, "method": "textDocument/hover", "params": {
      "textDocument": {"uri": "untitled:two"}, "position": {"line": 0, "character": 9}}}
<-- {"jsonrpc": "2.0", "id": 2, "result": {"contents": {"kind": "plaintext",
      "value": "ADD: C: the carry out; Z: set when the result is 0\nWord on Picoblaze II: $08000"},
      "range": {"start": {"line": 0, "character": 8}, "end": {"line": 0, "character": 11}}}}
--> {"jsonrpc": "2.0", "id": 3, "method": "textDocument/hover", "params": {
      "textDocument": {"uri": "untitled:two"}, "position": {"line": 0, "character": 13}}}
<-- {"jsonrpc": "2.0", "id": 3, "result": {"contents": {"kind": "plaintext", "value": "register s1F"},
      "range": {"start": {"line": 0, "character": 12}, "end": {"line": 0, "character": 15}}}}
close
[1]
