math.randomseed(1)
local n = 300
local a, b = {}, {}
for i = 1, n * n do a[i] = math.random(); b[i] = math.random() end
local t = 0
for r = 0, n - 1 do
  for c = 1, n do
    local s = 0
    for k = 0, n - 1 do s = s + a[r * n + k + 1] * b[k * n + c] end
    if r + 1 == c then t = t + s end
  end
end
print(string.format("%.6f", t))
