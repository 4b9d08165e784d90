-- The LV2 plug-in in a headless Ardour 7 session (dummy backend): loaded by
-- its URI on a stereo track, its presets listed as factory presets, "Heavy"
-- loaded, and a value set before saving back after reloading the session.
-- Ends with one PASS or FAIL line and exits non-zero on failure.
--
--   LV2_PATH=BUILD/lv2 ardour7-lua scripts/ardour-check-lv2.lua \
--       FOLDER URI "NAME|NAME|…" HEAVY_MIX HEAVY_TUBE HEAVY_COMP
--
-- FOLDER is an empty temporary folder for the session; the names are the
-- programs' and the values Heavy's, as the record add-on reports them
-- (scripts/ardour-check-lv2 passes them).
local function say(text)
  print("ardour-check-lv2.lua: " .. text)
end

local folder, uri, names = arg[1], arg[2], arg[3]
local heavy = { arg[4], arg[5], arg[6] }
local session = nil

-- Ardour's control values are the plug-in's floats widened; six decimals
-- compare them with the values as text.
local function same(value, text)
  return string.format("%.6f", value) == string.format("%.6f", tonumber(text))
end

local function params(p)
  local v = {}
  for i = 0, 2 do v[i + 1] = ARDOUR.LuaAPI.get_processor_param(p, i, true) end
  return v
end

local function check()
  AudioEngine:set_backend("None (Dummy)", "", "")
  session = create_session(folder, "lv2", 48000)
  if not session then error("cannot create a session in " .. folder, 0) end
  local track = session:new_audio_track(2, 2, nil, 1, "bass",
    ARDOUR.PresentationInfo.max_order, ARDOUR.TrackMode.Normal, true):front()
  local p = ARDOUR.LuaAPI.new_plugin(session, uri, ARDOUR.PluginType.LV2, "")
  if p:isnil() then error("Ardour finds no LV2 plug-in " .. uri, 0) end
  if not track:add_processor_by_index(p, 0, nil, true) then
    error("the plug-in does not go on the stereo track", 0)
  end
  local plugin = p:to_insert():plugin(0)
  say("loaded " .. plugin:name() .. " (" .. uri .. ") on stereo track " .. track:name())

  local found = {}
  for preset in plugin:get_info():get_presets(false):iter() do
    say(string.format("preset %q user=%s", preset.label, tostring(preset.user)))
    if preset.user then error("preset " .. preset.label .. " is not a factory preset", 0) end
    found[preset.label] = true
  end
  local count = 0
  for name in string.gmatch(names, "[^|]+") do
    count = count + 1
    if not found[name] then error("no factory preset named " .. name, 0) end
  end
  if count ~= 5 then error("expected five program names, got " .. count, 0) end

  if not plugin:load_preset(plugin:preset_by_label("Heavy")) then
    error("Heavy does not load", 0)
  end
  local v = params(p)
  say(string.format("after Heavy: mix %.8f tube %.8f comp %.8f", v[1], v[2], v[3]))
  for i = 1, 3 do
    if not same(v[i], heavy[i]) then
      error(string.format("control %d is %.8f after Heavy, not %s", i - 1, v[i], heavy[i]), 0)
    end
  end

  ARDOUR.LuaAPI.set_processor_param(p, 0, 0.3125)
  session:save_state("", false, false, false, false, false)
  close_session()
  session = load_session(folder, "lv2")
  if not session then error("the saved session does not load", 0) end
  local again = session:route_by_name("bass"):nth_plugin(0)
  if again:isnil() then error("the reloaded track holds no plug-in", 0) end
  v = params(again)
  say(string.format("after saving and reloading: mix %.8f tube %.8f comp %.8f", v[1], v[2], v[3]))
  if not same(v[1], "0.3125") or not same(v[2], heavy[2]) or not same(v[3], heavy[3]) then
    error("the values set before saving are not back after reloading", 0)
  end
end

local ok, err = pcall(check)
if session then close_session() end
if ok then
  say("PASS: the LV2 plug-in loads by URI, lists five factory presets, Heavy sets its values, and a saved value comes back")
else
  say("FAIL: " .. tostring(err))
  os.exit(1)
end
