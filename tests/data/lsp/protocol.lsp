# JSON-RPC: framing faults, requests in the wrong state, unknown methods and
# bad params are answered with errors, and the server goes on.
--> {"jsonrpc": "2.0", "id": 1, "method": "textDocument/hover", "params": {}}
<-- {"jsonrpc": "2.0", "id": 1, "error": {"code": -32002, "message": "initialize first"}}
--> {"jsonrpc": "2.0", "id": 2, "method": "initialize", "params": {"capabilities": {}}}
<-- {"jsonrpc": "2.0", "id": 2, "result": "..."}
--> {"jsonrpc": "2.0", "id": 3, "method": "initialize", "params": {"capabilities": {}}}
<-- {"jsonrpc": "2.0", "id": 3, "error": {"code": -32600, "message": "initialize was sent before"}}
>>> Content-Length: 5\r\n\r\n{oops
<-- {"jsonrpc": "2.0", "id": null, "error": {"code": -32700, "message": "..."}}
--> [1, 2]
<-- {"jsonrpc": "2.0", "id": null, "error": {"code": -32700, "message": "..."}}
>>> Content-Type: text/plain\r\n\r\n
<-- {"jsonrpc": "2.0", "id": null, "error": {"code": -32700, "message": "..."}}
--> {"jsonrpc": "2.0", "id": 4, "method": "workspace/frobnicate", "params": {}}
<-- {"jsonrpc": "2.0", "id": 4, "error": {"code": -32601, "message": "unknown method workspace/frobnicate"}}
# An unknown notification is let go; a response to the server is too.
--> {"jsonrpc": "2.0", "method": "$/setTrace", "params": {"value": "off"}}
--> {"jsonrpc": "2.0", "id": 99, "result": null}
--> {"jsonrpc": "2.0", "id": {"a": 1}, "method": "shutdown"}
<-- {"jsonrpc": "2.0", "id": null, "error": {"code": -32600, "message": "the id must be a number or a string"}}
--> {"jsonrpc": "2.0", "id": "five", "method": "textDocument/definition", "params": {"position": {}}}
<-- {"jsonrpc": "2.0", "id": "five", "error": {"code": -32602, "message": "textDocument.uri must be a string"}}
--> {"jsonrpc": "2.0", "id": 6, "method": "textDocument/hover", "params": {
      "textDocument": {"uri": "untitled:none"}, "position": {"line": 0, "character": 0}}}
<-- {"jsonrpc": "2.0", "id": 6, "error": {"code": -32602, "message": "the document is not open: untitled:none"}}
--> {"jsonrpc": "2.0", "id": 7, "method": "textDocument/hover", "params": 5}
<-- {"jsonrpc": "2.0", "id": 7, "error": {"code": -32602, "message": "params must be an object"}}
--> {"jsonrpc": "2.0", "method": "textDocument/didOpen", "params": {"textDocument": {
      "uri": "untitled:a", "languageId": "korvo", "version": 1, "text": "here: LOAD s0, 1\nJUMP here\n"}}}
<-- {"jsonrpc": "2.0", "method": "textDocument/publishDiagnostics", "params": {
      "uri": "untitled:a", "diagnostics": []}}
--> {"jsonrpc": "2.0", "id": 8, "method": "textDocument/hover", "params": {
      "textDocument": {"uri": "untitled:a"}, "position": {"line": 1}}}
<-- {"jsonrpc": "2.0", "id": 8, "error": {"code": -32602, "message": "position needs line and character numbers"}}
# A position beyond the text finds no word; a new name must be a name.
--> {"jsonrpc": "2.0", "id": 9, "method": "textDocument/hover", "params": {
      "textDocument": {"uri": "untitled:a"}, "position": {"line": 40, "character": 2}}}
<-- {"jsonrpc": "2.0", "id": 9, "result": null}
--> {"jsonrpc": "2.0", "id": 10, "method": "textDocument/rename", "params": {
      "textDocument": {"uri": "untitled:a"}, "position": {"line": 1, "character": 6}, "newName": "load"}}
<-- {"jsonrpc": "2.0", "id": 10, "error": {"code": -32602,
      "message": "'load' is not a name: letters, digits and _, not a keyword, not starting with a digit"}}
--> {"jsonrpc": "2.0", "id": 11, "method": "textDocument/rename", "params": {
      "textDocument": {"uri": "untitled:a"}, "position": {"line": 1, "character": 6}, "newName": "2nd"}}
<-- {"jsonrpc": "2.0", "id": 11, "error": {"code": -32602,
      "message": "'2nd' is not a name: letters, digits and _, not a keyword, not starting with a digit"}}
--> {"jsonrpc": "2.0", "id": 12, "method": "textDocument/rename", "params": {
      "textDocument": {"uri": "untitled:a"}, "position": {"line": 1, "character": 1}, "newName": "x"}}
<-- {"jsonrpc": "2.0", "id": 12, "error": {"code": -32602,
      "message": "there is no name of the program here to rename"}}
--> {"jsonrpc": "2.0", "id": 13, "method": "textDocument/rename", "params": {
      "textDocument": {"uri": "untitled:a"}, "position": {"line": 1, "character": 9}, "newName": "there"}}
<-- {"jsonrpc": "2.0", "id": 13, "result": {"changes": {"untitled:a": [
      {"range": {"start": {"line": 0, "character": 0}, "end": {"line": 0, "character": 4}}, "newText": "there"},
      {"range": {"start": {"line": 1, "character": 5}, "end": {"line": 1, "character": 9}}, "newText": "there"}]}}}
--> {"jsonrpc": "2.0", "id": 14, "method": "shutdown"}
<-- {"jsonrpc": "2.0", "id": 14, "result": null}
--> {"jsonrpc": "2.0", "id": 15, "method": "textDocument/hover", "params": {}}
<-- {"jsonrpc": "2.0", "id": 15, "error": {"code": -32600, "message": "the server is shutting down"}}
--> {"jsonrpc": "2.0", "method": "exit"}
[0]
