-- Loads the Linux-host add-on into a headless Ardour session (dummy backend),
-- lists its parameters and sets one; ends with one PASS or FAIL line and
-- exits non-zero on failure.
--
--   ardour7-lua scripts/ardour-check.lua [FOLDER]
--
-- FOLDER holds WobrixFree.so (default ~/.vst, where `cmake --install build`
-- puts it). The add-on is copied into a fresh temporary folder, which becomes
-- Ardour's only Linux VST path for this run, and scanned there with Ardour's
-- scanner; the session is made in the same folder. Everything is removed at
-- the end, the scan's entry in Ardour's cache included. Ardour's own settings
-- are changed only in memory, never saved.
local SCANNER = "/usr/lib/ardour7/ardour-vst-scanner"

local function say(text)
  print("ardour-check.lua: " .. text)
end

local function quote(text)
  return "'" .. text:gsub("'", "'\\''") .. "'"
end

local function run(command)
  local ok = os.execute(command)
  return ok == true or ok == 0
end

local function readCommand(command)
  local pipe = io.popen(command)
  if not pipe then return nil end
  local out = pipe:read("*l")
  pipe:close()
  return out
end

local home = os.getenv("HOME") or ""
local folder = arg and arg[1] or (home .. "/.vst")
local addon = folder .. "/WobrixFree.so"
local cacheDir = (os.getenv("XDG_CACHE_HOME") or (home .. "/.cache")) .. "/ardour7/vst"
local work = readCommand("mktemp -d /tmp/wobrix-ardour-lua.XXXXXX")
if not work or work == "" then
  say("FAIL: cannot make a temporary folder")
  os.exit(1)
end

local sessionOpen = false

local function cleanUp()
  if sessionOpen then
    close_session()
    sessionOpen = false
  end
  -- Ardour names a cache entry after the add-on's path: only ours hold it.
  run("grep -lsF " .. quote(work) .. " " .. quote(cacheDir) .. "/*.v2i | xargs -r rm -f")
  run("rm -rf " .. quote(work))
end

local function check()
  local f = io.open(addon, "rb")
  if not f then
    error(addon .. " is missing (cmake --install build puts it in ~/.vst; or name its folder)", 0)
  end
  f:close()
  local vst = work .. "/vst"
  local copy = vst .. "/WobrixFree.so"
  -- Ardour takes a cached scan only when the cache is newer than the add-on
  -- by whole seconds, so the copy is made a minute old.
  if not run("mkdir -p " .. quote(vst) .. " && cp " .. quote(addon) .. " " .. quote(copy) ..
      " && touch -d \"@$(($(date +%s) - 60))\" " .. quote(copy)) then
    error("cannot copy " .. addon .. " into " .. vst, 0)
  end
  ARDOUR.config():set_plugin_path_lxvst(vst)
  say("Linux VST path " .. vst)
  if not run("LD_LIBRARY_PATH=/usr/lib/ardour7 " .. SCANNER .. " -f " .. quote(copy) ..
      " >" .. quote(work .. "/scan.log") .. " 2>&1") then
    error("Ardour's scanner rejected " .. addon .. " (" .. SCANNER .. " -f FILE tells why)", 0)
  end

  AudioEngine:set_backend("None (Dummy)", "", "")
  local s = create_session(work .. "/session", "wobrix", 48000)
  if not s then error("cannot create a session in " .. work .. "/session", 0) end
  sessionOpen = true
  for p in ARDOUR.LuaAPI.list_plugins():iter() do
    if p.type == ARDOUR.PluginType.LXVST then
      say(string.format("found %s by %s, id %s, %d in, %d out", p.name, p.creator, p.unique_id,
        p.n_inputs:n_audio(), p.n_outputs:n_audio()))
    end
  end
  local tracks = s:new_audio_track(2, 2, nil, 1, "bass", ARDOUR.PresentationInfo.max_order,
    ARDOUR.TrackMode.Normal, true)
  local p = ARDOUR.LuaAPI.new_plugin(s, "WobrixFree", ARDOUR.PluginType.LXVST, "")
  if p:isnil() then error("plugin not found: Ardour lists no LXVST plug-in WobrixFree in " .. vst, 0) end
  tracks:front():add_processor_by_index(p, 0, nil, true)
  local plugin = p:to_insert():plugin(0)
  say("name " .. plugin:name() .. ", maker " .. plugin:maker() .. ", " ..
    plugin:parameter_count() .. " parameters")
  if plugin:parameter_count() < 3 then error("the plug-in shows fewer than 3 parameters", 0) end
  for i = 0, plugin:parameter_count() - 1 do
    local _, args = plugin:get_parameter_descriptor(i, ARDOUR.ParameterDescriptor())
    say(string.format("parameter %d \"%s\" = %.4f", i, args[2].label,
      ARDOUR.LuaAPI.get_processor_param(p, i, true)))
  end
  ARDOUR.LuaAPI.set_processor_param(p, 2, 1.0)
  local after = ARDOUR.LuaAPI.get_processor_param(p, 2, true)
  say(string.format("after setting parameter 2 to 1.0: %.4f", after))
  -- The plug-in keeps the compressor a hair below the top.
  if not (after > 0.9) then error("parameter 2 did not follow (it reads " .. after .. ")", 0) end
  s:save_state("", false, false, false, false, false)
  return plugin:name()
end

local ok, result = pcall(check)
cleanUp()
if not ok then
  say("FAIL: " .. tostring(result))
  os.exit(1)
end
say("PASS: " .. result .. " loads in a headless Ardour session and takes a parameter")
