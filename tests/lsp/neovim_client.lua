-- Neovim's built-in language client against korvo lsp: it opens a source with
-- an error, waits for the diagnostic, goes to the definitions of a name of
-- the source and of one in its included file, then fixes the error. Quits with status 1 and a
-- message on the first thing that is not as expected.
local korvo = assert(os.getenv('KORVO'), 'KORVO names the korvo executable')
local data = assert(os.getenv('KORVO_LSP_DATA'), 'KORVO_LSP_DATA names tests/data/lsp')

local function fail(message)
  io.stderr:write('FAIL: ' .. message .. '\n')
  vim.cmd('cquit 1')
end

local function expect(what, actual, expected)
  if not vim.deep_equal(actual, expected) then
    fail(what .. ': expected ' .. vim.inspect(expected) .. ', got ' .. vim.inspect(actual))
  end
end

vim.cmd('edit ' .. vim.fn.fnameescape(data .. '/nvim.psm'))
local buffer = vim.api.nvim_get_current_buf()
local client = vim.lsp.start_client({
  name = 'korvo',
  cmd = { korvo, 'lsp', '--settings', data .. '/settings.ini' },
  root_dir = data,
})
if not client then fail('the client did not start') end
vim.lsp.buf_attach_client(buffer, client)

if not vim.wait(10000, function() return #vim.diagnostic.get(buffer) > 0 end, 20) then
  fail('no diagnostics within 10 s')
end
local diagnostics = vim.diagnostic.get(buffer)
expect('diagnostics', #diagnostics, 1)
local d = diagnostics[1]
expect('the diagnostic', { d.lnum, d.col, d.end_col, d.severity, d.message },
  { 2, 13, 20, vim.diagnostic.severity.ERROR, 'An undefined identifier found.' })

local function definition(line, character)
  local params = {
    textDocument = { uri = vim.uri_from_bufnr(buffer) },
    position = { line = line, character = character },
  }
  local responses = vim.lsp.buf_request_sync(buffer, 'textDocument/definition', params, 10000)
  local response = responses and responses[client]
  if not response or response.err then fail('no definition: ' .. vim.inspect(responses)) end
  local result = response.result
  return { vim.uri_to_fname(result.uri), result.range.start.line, result.range.start.character,
    result.range['end'].character }
end
expect('the definition of start', definition(3, 15), { data .. '/nvim.psm', 1, 0, 5 })
expect('the definition of limit', definition(1, 18), { data .. '/defs.inc', 1, 0, 5 })

-- Fixing the error in the buffer (an incremental change) clears it.
vim.api.nvim_buf_set_text(buffer, 2, 13, 2, 20, { 'start' })
if not vim.wait(10000, function() return #vim.diagnostic.get(buffer) == 0 end, 20) then
  fail('the diagnostic stayed after the fix: ' .. vim.inspect(vim.diagnostic.get(buffer)))
end

vim.lsp.stop_client(client)
vim.cmd('qall!')
