-- References written as chapter "Design", chapter *Worked examples* or section "Messages in the report"
-- become links to that heading; in the PDF with its number as well ("chapter 12, Design"). The name
-- may be the start of the heading's title. A name that matches no heading is left as it is.
local headings = {}

local function key(text)
  return text:lower():gsub('%s+', ' ')
end

local function find(name)
  local wanted = key(name)
  for _, h in ipairs(headings) do
    if h.title == wanted then return h end
  end
  for _, h in ipairs(headings) do
    if h.title:sub(1, #wanted) == wanted then return h end
  end
  return nil
end

local function link(inlines)
  local out = pandoc.List()
  local i = 1
  while i <= #inlines do
    local word, space, name = inlines[i], inlines[i + 1], inlines[i + 2]
    if word and word.t == 'Str' and (word.text:match('^%(?[Cc]hapter$') or word.text:match('^%(?[Ss]ection$')) and
        space and (space.t == 'Space' or space.t == 'SoftBreak') and name and
        (name.t == 'Quoted' or name.t == 'Emph') then
      local target = find(pandoc.utils.stringify(name.content))
      if target then
        out:insert(word)
        out:insert(pandoc.Space())
        if FORMAT:match('latex') then
          out:insert(pandoc.RawInline('latex', '\\ref{' .. target.id .. '}, '))
        end
        out:insert(pandoc.Link({name}, '#' .. target.id))
        i = i + 3
        goto continue
      end
    end
    out:insert(inlines[i])
    i = i + 1
    ::continue::
  end
  return out
end

function Pandoc(doc)
  doc:walk({
    Header = function(h)
      if h.identifier ~= '' then
        table.insert(headings, {title = key(pandoc.utils.stringify(h.content)), id = h.identifier})
      end
    end
  })
  return doc:walk({Inlines = link})
end
