-- Lua has no matrices: a flat table of 1000 x 1000 numbers.
math.randomseed(1)
local n = 1000 * 1000
local a, c = {}, {}
for i = 1, n do a[i] = math.random() end
local t = 0
for i = 1, n do
  local x = a[i]
  local b = math.sin(x) * 2 + math.sqrt(x) - math.exp(x * 0.5)
  c[i] = math.abs(b) + math.floor(x * 10)
end
for i = 0, 999 do t = t + c[i * 1000 + i + 1] end
print(string.format("%.6f", t))
