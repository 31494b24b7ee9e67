local x = {}
for i = 1, 1000000 do x[i] = 0.0 end
for i = 1, 1000000 do x[i] = x[i] + 1 end
print(string.format("%d %d", x[1], x[1000000]))
