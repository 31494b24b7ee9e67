-- Lua strings are immutable and .. copies: the idiomatic buffer is a table.
local t = {}
for i = 1, 100000 do t[#t + 1] = "0123456789" end
local s = table.concat(t)
print(#s > 0 and 1 or 0)
