-- A definition list's term is set on one line that cannot break in the PDF, so long messages would run
-- off the page. In the PDF each term becomes a paragraph of its own, its definition indented below it.
function DefinitionList(list)
  if not FORMAT:match('latex') then
    return nil
  end
  local blocks = {}
  for _, item in ipairs(list.content) do
    local term, definitions = item[1], item[2]
    table.insert(blocks, pandoc.Para(term))
    -- A term at the foot of a page with its meaning on the next reads badly.
    table.insert(blocks, pandoc.RawBlock('latex', '\\termkeep'))
    for _, definition in ipairs(definitions) do
      table.insert(blocks, pandoc.BlockQuote(definition))
    end
    table.insert(blocks, pandoc.RawBlock('latex', '\\termfree'))
  end
  return blocks
end
