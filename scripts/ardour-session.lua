-- Makes the session scripts/ardour-check opens in Ardour's window: the dummy
-- backend, one stereo audio track "bass" with WobrixFree as its first
-- processor, saved. Run: ardour7-lua scripts/ardour-session.lua DIR NAME [KIND]
-- KIND lxvst (default): the Linux-host add-on (Ardour must already know it
-- from a scan of its Linux VST path); lv2: the LV2 plug-in by its URI
-- (found through LV2_PATH).
local dir, name, kind = arg[1], arg[2], arg[3] or "lxvst"
if not dir or not name then
  print("usage: ardour7-lua ardour-session.lua DIR NAME")
  os.exit(2)
end
AudioEngine:set_backend("None (Dummy)", "", "")
local s = create_session(dir, name, 48000)
if not s then
  print("session: could not create " .. dir)
  os.exit(1)
end
local tracks = s:new_audio_track(2, 2, nil, 1, "bass", ARDOUR.PresentationInfo.max_order,
  ARDOUR.TrackMode.Normal, true)
local track = tracks:front()
local p
if kind == "lv2" then
  p = ARDOUR.LuaAPI.new_plugin(s, "http://www.zeltoaudio.com/lv2/WobrixFree", ARDOUR.PluginType.LV2, "")
else
  p = ARDOUR.LuaAPI.new_plugin(s, "WobrixFree", ARDOUR.PluginType.LXVST, "")
end
if p:isnil() then
  print("session: Ardour knows no " .. kind .. " plug-in WobrixFree (was it scanned?)")
  close_session()
  os.exit(1)
end
track:add_processor_by_index(p, 0, nil, true)
if kind == "lv2" then
  -- The Compressor (port 6) in Latch mode: Ardour records from the editor's
  -- ui:touch begin on, while the transport rolls, and keeps the last value
  -- (Touch mode would go back to the list's value at the touch's end).
  p:to_automatable():automation_control(
    Evoral.Parameter(ARDOUR.AutomationType.PluginAutomation, 0, 6), false)
    :set_automation_state(ARDOUR.AutoState.Latch)
  print("session: the Compressor's automation is in Latch mode")
end
local plugin = p:to_insert():plugin(0)
print("session: track bass holds " .. plugin:name() .. " by " .. plugin:maker() .. ", "
  .. plugin:parameter_count() .. " parameters")
-- (An LV2 plug-in's parameters are its ports, audio ones included.)
for i = 0, (kind == "lv2" and -1 or plugin:parameter_count() - 1) do
  local _, args = plugin:get_parameter_descriptor(i, ARDOUR.ParameterDescriptor())
  print(string.format("session: parameter %d \"%s\" = %.4f", i, args[2].label,
    ARDOUR.LuaAPI.get_processor_param(p, i, true)))
end
s:save_state("", false, false, false, false, false)
close_session()
print("session: saved " .. dir .. "/" .. name .. ".ardour")
