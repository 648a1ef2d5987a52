-- The register loop of bench/pelko/register_loop.pel: count cx up to 30 million, testing each pass.
local cx = 0
repeat
  cx = cx + 1
until not (cx < 30000000)
