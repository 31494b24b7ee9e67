local s = ""
for i = 0, 99999 do s = s .. string.format("%d,", i % 1000) end
print(#s > 0 and 1 or 0)
