-- The PDF's figures keep within the page: a picture sized by its width alone could be taller than the
-- text block and push its caption under the page number, so every picture is capped at 70 % of the
-- text height as well (its aspect kept).
-- The width of a PNG in pixels from its header; nil when the file is not found or not a PNG.
local function pngWidth(src)
  for _, folder in ipairs(PANDOC_STATE.resource_path) do
    local file = io.open(folder .. '/' .. src, 'rb')
    if file then
      local header = file:read(24)
      file:close()
      if header and #header == 24 and header:sub(2, 4) == 'PNG' then
        local a, b, c, d = header:byte(17, 20)
        return ((a * 256 + b) * 256 + c) * 256 + d
      end
    end
  end
  return nil
end

-- Screenshots of windows all at one scale: 1000 pixels of a window span the text width.
local kScreenPixels = 1000

function Image(image)
  if not FORMAT:match('latex') then
    return nil
  end
  if image.src:match('^figures/guide/') or image.src:match('^figures/dialogs/') or
      image.src:match('^figures/main_window') then
    local pixels = pngWidth(image.src)
    if pixels then
      image.attributes.width = string.format('%d%%', math.min(100, math.floor(100 * pixels / kScreenPixels + 0.5)))
    end
  end
  if image.attributes.height == nil then
    image.attributes.height = '70%'
  end
  return image
end

-- Code blocks keep within the page: a line longer than the text width at the code's size is cut (at a
-- blank where it can), the cut marked with a hooked arrow at its end and the rest indented below.
local kCodeWidth = 86
function CodeBlock(block)
  if not FORMAT:match('latex') then
    return nil
  end
  local lines = {}
  for line in (block.text .. '\n'):gmatch('(.-)\n') do
    while utf8.len(line) and utf8.len(line) > kCodeWidth do
      local cut = utf8.offset(line, kCodeWidth)
      -- At the last blank before the width when there is one far enough in, else within the word.
      local head = line:sub(1, cut - 1)
      local blank = head:match('^.*() ')
      if blank and blank > kCodeWidth / 2 then cut = blank + 1 end
      table.insert(lines, line:sub(1, cut - 1) .. '↩')
      line = '    ' .. line:sub(cut)
    end
    table.insert(lines, line)
  end
  block.text = table.concat(lines, '\n')
  return block
end

-- A lead-in ("Parameter table 'Clay':") stays with the table, code or figure it introduces, and a
-- heading with what follows it: when fewer than `lines` lines are left on the page, a new page
-- begins before them (\keeplines of manual-header.tex, decided at once, so that a long table that
-- follows is not cut at a break chosen later). The break goes before any headings just above, since
-- a heading must not end a page either.
local function keep(lines)
  return pandoc.RawBlock('latex', string.format('\\keeplines{%d}', lines))
end

local function isFigure(block)
  return block and block.t == 'Para' and #block.content == 1 and block.content[1].t == 'Image'
end

-- A paragraph that ends with a colon, or a short one, just before what it introduces.
local function leadIn(block)
  if not block or (block.t ~= 'Para' and block.t ~= 'Plain') or isFigure(block) then return false end
  local text = pandoc.utils.stringify(block)
  return text:match(':%s*$') ~= nil or #text < 120
end

local function isBody(block)
  return block and (block.t == 'Table' or block.t == 'CodeBlock')
end

function Blocks(blocks)
  if not FORMAT:match('latex') then
    return nil
  end
  local need = {}
  local function ask(i, lines)
    while i > 1 and blocks[i - 1].t == 'Header' do i = i - 1 end
    need[i] = math.max(need[i] or 0, lines)
  end
  for i, block in ipairs(blocks) do
    local next = blocks[i + 1]
    if block.t == 'Header' and block.level >= 2 then ask(i, 10) end
    if isFigure(next) and (block.t == 'Header' or leadIn(block)) then
      ask(i, 18)
    elseif leadIn(block) and isBody(next) then
      ask(i, 12)
    end
  end
  local out = pandoc.List()
  for i, block in ipairs(blocks) do
    if need[i] then out:insert(keep(need[i])) end
    out:insert(block)
  end
  return out
end
