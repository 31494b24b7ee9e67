local s = 0
for i = 0, 1999999 do s = s + i * 0.5 - (i % 7) end
print(string.format("%.1f", s))
