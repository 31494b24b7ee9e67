-- Gauss-Jordan inverse with partial pivoting and an LU determinant.
math.randomseed(1)
local n = 200
local function make()
  local a = {}
  for r = 1, n do
    a[r] = {}
    for c = 1, n do a[r][c] = (math.random() - 0.5) * 0.2 + (r == c and 1 or 0) end
  end
  return a
end
local a = make()
local inv = {}
for r = 1, n do inv[r] = {} for c = 1, n do inv[r][c] = (r == c) and 1 or 0 end end
for col = 1, n do
  local p = col
  for r = col + 1, n do if math.abs(a[r][col]) > math.abs(a[p][col]) then p = r end end
  a[col], a[p] = a[p], a[col]
  inv[col], inv[p] = inv[p], inv[col]
  local pv = a[col][col]
  for c = 1, n do a[col][c] = a[col][c] / pv; inv[col][c] = inv[col][c] / pv end
  for r = 1, n do
    if r ~= col then
      local f = a[r][col]
      if f ~= 0 then
        for c = 1, n do a[r][c] = a[r][c] - f * a[col][c]; inv[r][c] = inv[r][c] - f * inv[col][c] end
      end
    end
  end
end
local b = make()
local det = 1
for col = 1, n do
  local p = col
  for r = col + 1, n do if math.abs(b[r][col]) > math.abs(b[p][col]) then p = r end end
  if p ~= col then b[col], b[p] = b[p], b[col]; det = -det end
  det = det * b[col][col]
  for r = col + 1, n do
    local f = b[r][col] / b[col][col]
    for c = col, n do b[r][c] = b[r][c] - f * b[col][c] end
  end
end
local t = 0
for i = 1, n do t = t + inv[i][i] end
print(string.format("%.6f %.6e", t, det))
