# exit before shutdown ends the server with status 1.
--> {"jsonrpc": "2.0", "id": 1, "method": "initialize", "params": {"capabilities": {}}}
<-- {"jsonrpc": "2.0", "id": 1, "result": "..."}
--> {"jsonrpc": "2.0", "method": "exit"}
[1]
