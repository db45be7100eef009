-- The PDF's figures keep within the page: a picture sized by its width alone could be taller than the
-- text block and push its caption under the page number, so every picture is capped at 70 % of the
-- text height as well (its aspect kept).
function Image(image)
  if not FORMAT:match('latex') then
    return nil
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
