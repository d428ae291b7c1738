# Diagnostics while typing: the assembler's errors with the word they are at
# where the assembler knows it, else the whole line; errors of an included
# file go to that file; changes in ranges and whole texts.
--> {"jsonrpc": "2.0", "id": 1, "method": "initialize", "params": {"capabilities": {}}}
<-- {"jsonrpc": "2.0", "id": 1, "result": "..."}
--> {"jsonrpc": "2.0", "method": "textDocument/didOpen", "params": {"textDocument": {
      "uri": "$DATA/bad.psm", "languageId": "korvo", "version": 1, "text": "$TEXT(bad.psm)"}}}
<-- {"jsonrpc": "2.0", "method": "textDocument/publishDiagnostics", "params": {
      "uri": "$DATA/bad.psm", "diagnostics": [
       {"range": {"start": {"line": 1, "character": 13}, "end": {"line": 1, "character": 20}},
        "severity": 1, "source": "korvo", "code": "Undefined", "message": "An undefined identifier found."},
       {"range": {"start": {"line": 2, "character": 0}, "end": {"line": 2, "character": 19}},
        "severity": 1, "source": "korvo", "code": "Syntax", "message": "Syntax error in experession"}]}}
# "nowhere" becomes "top".
--> {"jsonrpc": "2.0", "method": "textDocument/didChange", "params": {
      "textDocument": {"uri": "$DATA/bad.psm", "version": 2}, "contentChanges": [
       {"range": {"start": {"line": 1, "character": 13}, "end": {"line": 1, "character": 20}}, "text": "top"}]}}
<-- {"jsonrpc": "2.0", "method": "textDocument/publishDiagnostics", "params": {
      "uri": "$DATA/bad.psm", "diagnostics": [
       {"range": {"start": {"line": 2, "character": 0}, "end": {"line": 2, "character": 19}},
        "severity": 1, "source": "korvo", "code": "Syntax", "message": "Syntax error in experession"}]}}
# Two changes in one message: a range over two lines, then an insertion.
--> {"jsonrpc": "2.0", "method": "textDocument/didChange", "params": {
      "textDocument": {"uri": "$DATA/bad.psm", "version": 3}, "contentChanges": [
       {"range": {"start": {"line": 1, "character": 16}, "end": {"line": 2, "character": 19}}, "text": ""},
       {"range": {"start": {"line": 0, "character": 17}, "end": {"line": 0, "character": 17}}, "text": "0"}]}}
<-- {"jsonrpc": "2.0", "method": "textDocument/publishDiagnostics", "params": {
      "uri": "$DATA/bad.psm", "diagnostics": []}}
--> {"jsonrpc": "2.0", "id": 2, "method": "textDocument/hover", "params": {
      "textDocument": {"uri": "$DATA/bad.psm"}, "position": {"line": 1, "character": 14}}}
<-- {"jsonrpc": "2.0", "id": 2, "result": {"contents": {"kind": "plaintext", "value": "top: label, address $000"},
      "range": {"start": {"line": 1, "character": 13}, "end": {"line": 1, "character": 16}}}}
--> {"jsonrpc": "2.0", "method": "textDocument/didChange", "params": {
      "textDocument": {"uri": "$DATA/bad.psm", "version": 4}, "contentChanges": [
       {"text": "        LOAD s0,\n"}]}}
<-- {"jsonrpc": "2.0", "method": "textDocument/publishDiagnostics", "params": {
      "uri": "$DATA/bad.psm", "diagnostics": [
       {"range": {"start": {"line": 0, "character": 0}, "end": {"line": 0, "character": 16}},
        "severity": 1, "source": "korvo", "code": "Syntax", "message": "Syntax error in experession"}]}}
--> {"jsonrpc": "2.0", "method": "textDocument/didOpen", "params": {"textDocument": {
      "uri": "$DATA/uses_bad.psm", "languageId": "korvo", "version": 1, "text": "$TEXT(uses_bad.psm)"}}}
<-- {"jsonrpc": "2.0", "method": "textDocument/publishDiagnostics", "params": {
      "uri": "$DATA/uses_bad.psm", "diagnostics": []}}
<-- {"jsonrpc": "2.0", "method": "textDocument/publishDiagnostics", "params": {
      "uri": "$DATA/bad_defs.inc", "diagnostics": [
       {"range": {"start": {"line": 0, "character": 0}, "end": {"line": 0, "character": 15}},
        "severity": 1, "source": "korvo", "code": "Syntax", "message": "Syntax error in experession"}]}}
# Without the INCL line the included file's diagnostics are cleared.
--> {"jsonrpc": "2.0", "method": "textDocument/didChange", "params": {
      "textDocument": {"uri": "$DATA/uses_bad.psm", "version": 2}, "contentChanges": [
       {"range": {"start": {"line": 0, "character": 0}, "end": {"line": 1, "character": 0}}, "text": ""}]}}
<-- {"jsonrpc": "2.0", "method": "textDocument/publishDiagnostics", "params": {
      "uri": "$DATA/uses_bad.psm", "diagnostics": []}}
<-- {"jsonrpc": "2.0", "method": "textDocument/publishDiagnostics", "params": {
      "uri": "$DATA/bad_defs.inc", "diagnostics": []}}
--> {"jsonrpc": "2.0", "method": "textDocument/didClose", "params": {
      "textDocument": {"uri": "$DATA/uses_bad.psm"}}}
<-- {"jsonrpc": "2.0", "method": "textDocument/publishDiagnostics", "params": {
      "uri": "$DATA/uses_bad.psm", "diagnostics": []}}
# A saved file may be included anywhere: every open document again.
--> {"jsonrpc": "2.0", "method": "textDocument/didSave", "params": {
      "textDocument": {"uri": "$DATA/uses_bad.psm"}}}
<-- {"jsonrpc": "2.0", "method": "textDocument/publishDiagnostics", "params": {
      "uri": "$DATA/bad.psm", "diagnostics": "..."}}
# Columns count UTF-16 units: a character beyond the 16 bits takes two.
--> {"jsonrpc": "2.0", "method": "textDocument/didOpen", "params": {"textDocument": {
      "uri": "untitled:wide", "languageId": "korvo", "version": 1, "text": "  JUMP \u00e9\ud834\udd1e nowhere\n"}}}
<-- {"jsonrpc": "2.0", "method": "textDocument/publishDiagnostics", "params": {
      "uri": "untitled:wide", "diagnostics": [
       {"range": {"start": {"line": 0, "character": 7}, "end": {"line": 0, "character": 8}},
        "severity": 1, "source": "korvo", "code": "Syntax", "message": "Syntax error in experession"}]}}
--> {"jsonrpc": "2.0", "method": "textDocument/didChange", "params": {
      "textDocument": {"uri": "untitled:wide", "version": 2}, "contentChanges": [
       {"range": {"start": {"line": 0, "character": 7}, "end": {"line": 0, "character": 8}}, "text": ""}]}}
<-- {"jsonrpc": "2.0", "method": "textDocument/publishDiagnostics", "params": {
      "uri": "untitled:wide", "diagnostics": [
       {"range": {"start": {"line": 0, "character": 7}, "end": {"line": 0, "character": 9}},
        "severity": 1, "source": "korvo", "code": "Syntax", "message": "Syntax error in experession"}]}}
--> {"jsonrpc": "2.0", "method": "textDocument/didChange", "params": {
      "textDocument": {"uri": "untitled:wide", "version": 3}, "contentChanges": [
       {"range": {"start": {"line": 0, "character": 7}, "end": {"line": 0, "character": 10}}, "text": ""}]}}
<-- {"jsonrpc": "2.0", "method": "textDocument/publishDiagnostics", "params": {
      "uri": "untitled:wide", "diagnostics": [
       {"range": {"start": {"line": 0, "character": 7}, "end": {"line": 0, "character": 14}},
        "severity": 1, "source": "korvo", "code": "Undefined", "message": "An undefined identifier found."}]}}
--> {"jsonrpc": "2.0", "id": 3, "method": "shutdown"}
<-- {"jsonrpc": "2.0", "id": 3, "result": null}
--> {"jsonrpc": "2.0", "method": "exit"}
[0]
