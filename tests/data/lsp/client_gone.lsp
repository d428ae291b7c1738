# A client that goes away in the middle of a message: the server ends (status
# 1), without an answer to the part it got.
--> {"jsonrpc": "2.0", "id": 1, "method": "initialize", "params": {"capabilities": {}}}
<-- {"jsonrpc": "2.0", "id": 1, "result": "..."}
>>> Content-Length: 200\r\n\r\n{"jsonrpc": "2.0", "id": 2, "method": "shutdown"
close
[1]
