-- Drives Neovim as an author would, with the README's setup: the faulty
-- file is open; wait for its diagnostic, fix the fault with the server's
-- quick fix, wait for the cleared list, rename a station, save, ask for completion, write what was seen to SCENARIOGEN_RESULT and
-- quit (Neovim then shuts the server down).
local buf = vim.api.nvim_get_current_buf()
local patience = 20000
local seen = { filetype = vim.bo[buf].filetype, fileformat = vim.bo[buf].fileformat }

local function diagnostics()
  return vim.diagnostic.get(buf)
end

seen.raised = vim.wait(patience, function() return #diagnostics() > 0 end, 20)
seen.diagnostics = vim.tbl_map(function(d)
  local lsp = d.user_data and d.user_data.lsp or {}
  return { line = d.lnum, col = d.col, end_col = d.end_col, message = d.message, code = lsp.code }
end, diagnostics())

-- The fix of the first fault: the server's preferred quick fix for it,
-- asked for at its place with its diagnostic and applied as Neovim applies
-- any workspace edit.
local function fix(diagnostic)
  vim.api.nvim_win_set_cursor(0, { diagnostic.lnum + 1, diagnostic.col })
  local params = vim.lsp.util.make_range_params()
  params.context = { diagnostics = { diagnostic.user_data.lsp } }
  local answers = vim.lsp.buf_request_sync(buf, 'textDocument/codeAction', params, patience) or {}
  for client_id, answer in pairs(answers) do
    for _, action in ipairs(answer.result or {}) do
      if action.isPreferred and action.edit then
        vim.lsp.util.apply_workspace_edit(action.edit, vim.lsp.get_client_by_id(client_id).offset_encoding)
        return action.title
      end
    end
  end
end

if seen.raised then
  seen.fix = fix(diagnostics()[1])
  seen.cleared = vim.wait(patience, function() return #diagnostics() == 0 end, 20)
end

-- Completion at the start of a signal line: Neovim 0.7 expands no snippet.
local signal_line = 0
for number, text in ipairs(vim.api.nvim_buf_get_lines(buf, 0, -1, false)) do
  if text:find('^segnale') then signal_line = number - 1 break end
end
local answers = vim.lsp.buf_request_sync(buf, 'textDocument/completion', {
  textDocument = { uri = vim.uri_from_bufnr(buf) },
  position = { line = signal_line, character = 0 },
}, patience) or {}
seen.completions = {}
for _, answer in pairs(answers) do
  local items = answer.result and (answer.result.items or answer.result) or {}
  for _, item in ipairs(items) do
    table.insert(seen.completions, {
      label = item.label,
      format = item.insertTextFormat or 1,
      text = item.textEdit and item.textEdit.newText or item.insertText or item.label,
    })
  end
end

-- The second station renamed as `:lua vim.lsp.buf.rename('LUVERA CENTRALE')`
-- renames it, with the cursor on its name; then the file is saved.
for number, text in ipairs(vim.api.nvim_buf_get_lines(buf, 0, -1, false)) do
  local column = text:find('LUVERA', 1, true)
  if column and text:find('^stazione') then
    vim.api.nvim_win_set_cursor(0, { number, column })
    vim.lsp.buf.rename('LUVERA CENTRALE')
    seen.renamed = vim.wait(patience, function()
      return vim.api.nvim_buf_get_lines(buf, number - 1, number, false)[1]:find('LUVERA CENTRALE', 1, true) ~= nil
    end, 20)
    break
  end
end
vim.cmd('silent write')

vim.fn.writefile({ vim.fn.json_encode(seen) }, os.getenv('SCENARIOGEN_RESULT'))
vim.cmd('qall!')
