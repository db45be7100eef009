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
