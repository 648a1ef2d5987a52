-- The array loop of bench/pelko/array_loop.pel with 5,000 outer passes: two tables of 100 elements,
-- values[i] grows by i, a running total wrapped to 32 bits, names[i] built from its text and i
-- and stored twice. Runs in Lua 5.4 and LuaJIT; prints the same total as pelko.
local values, names = {}, {}
for i = 0, 99 do
  values[i] = 3
  names[i] = "x"
end
local total, line, pass = 0, "", 0
repeat
  local i = 0
  repeat
    values[i] = values[i] + i
    total = (total + values[i]) % 4294967296
    line = names[i]
    line = line .. tostring(i)
    names[i] = line
    names[i] = "x"
    i = i + 1
  until not (i < 100)
  pass = pass + 1
until not (pass < 5000)
if total >= 2147483648 then total = total - 4294967296 end
print(string.format("%d", total))
