-- References written as chapter "Design", chapter *Worked examples* or section "Messages in the report"
-- become links to that heading; in the PDF with its number as well ("chapter 12, Design"). The name
-- may be the start of the heading's title. A name that matches no heading is left as it is.
-- Links written as [Title](#heading) get the same number in the PDF ("section 2.4, Units").
local headings = {}
local by_id = {}

local function key(text)
  return text:lower():gsub('%s+', ' ')
end

-- A chapter reference looks among the chapters, a section reference among the sections, first in the
-- chapter the same sentence named ('chapter "Troubleshooting", section "Messages in the report"').
local function find(name, chapter, scope)
  local wanted = key(name)
  local function pass(accept)
    for _, h in ipairs(headings) do
      if accept(h) and h.title == wanted then return h end
    end
    for _, h in ipairs(headings) do
      if accept(h) and h.title:sub(1, #wanted) == wanted then return h end
    end
    return nil
  end
  local function kind(h) return (h.level == 1) == chapter end
  return (scope and pass(function(h) return kind(h) and h.chapter == scope end)) or pass(kind) or
             pass(function() return true end)
end

local function is_word(inline, pattern)
  return inline and inline.t == 'Str' and inline.text:match(pattern)
end

-- "the chapter 8, Title" reads badly once the number is there: the article goes.
local function drop_article(out)
  local n = #out
  if n >= 2 and (out[n].t == 'Space' or out[n].t == 'SoftBreak') and is_word(out[n - 1], '^%(?[Tt]he$') then
    local article = out[n - 1].text
    out:remove(n)
    out:remove(n - 1)
    if article:sub(1, 1) == '(' then out:insert(pandoc.Str('(')) end
    return article:match('The') ~= nil
  end
  return false
end

-- Whether the text before ends a sentence (or there is none), so the next word takes a capital.
local function sentence_start(out)
  for i = #out, 1, -1 do
    local item = out[i]
    if item.t == 'Str' then return item.text:match('[.:!?]$') ~= nil end
    if item.t ~= 'Space' and item.t ~= 'SoftBreak' then return false end
  end
  return true
end

local function capital(word)
  return word:sub(1, 1):upper() .. word:sub(2)
end

local function number(target)
  return pandoc.RawInline('latex', '\\ref{' .. target.id .. '}, ')
end

local function link(inlines)
  local latex = FORMAT:match('latex')
  local out = pandoc.List()
  local scope = nil
  local i = 1
  while i <= #inlines do
    local word, space, name = inlines[i], inlines[i + 1], inlines[i + 2]
    if (is_word(word, '^%(?[Cc]hapter$') or is_word(word, '^%(?[Ss]ection$')) and
        space and (space.t == 'Space' or space.t == 'SoftBreak') and name and
        (name.t == 'Quoted' or name.t == 'Emph') then
      local chapter = is_word(word, '^%(?[Cc]hapter$') and true or false
      local target = find(pandoc.utils.stringify(name.content), chapter, scope)
      if target then
        if chapter then scope = target.id end
        if latex then
          local text = word.text
          if drop_article(out) then text = capital(text) end
          out:insert(pandoc.Str(text))
          out:insert(pandoc.Space())
          out:insert(number(target))
        else
          out:insert(word)
          out:insert(pandoc.Space())
        end
        out:insert(pandoc.Link({name}, '#' .. target.id))
        i = i + 3
        goto continue
      end
    end
    if latex and word.t == 'Link' and word.target:sub(1, 1) == '#' then
      local target = by_id[word.target:sub(2)]
      if target and target.numbered then
        local n = #out
        local named = n >= 2 and out[n].t == 'Space' and
                          (is_word(out[n - 1], '[Cc]hapter$') or is_word(out[n - 1], '[Ss]ection$'))
        if not named then
          local kind = target.level == 1 and 'chapter' or 'section'
          if drop_article(out) or sentence_start(out) then kind = capital(kind) end
          out:insert(pandoc.Str(kind))
          out:insert(pandoc.Space())
        end
        out:insert(number(target))
      end
    end
    out:insert(inlines[i])
    i = i + 1
    ::continue::
  end
  return out
end

function Pandoc(doc)
  local chapter = nil
  doc:walk({
    Header = function(h)
      if h.level == 1 then chapter = h.identifier end
      if h.identifier ~= '' then
        local entry = {title = key(pandoc.utils.stringify(h.content)), id = h.identifier, level = h.level,
                       chapter = chapter, numbered = not h.classes:includes('unnumbered')}
        table.insert(headings, entry)
        by_id[h.identifier] = entry
      end
    end
  })
  return doc:walk({Inlines = link})
end
