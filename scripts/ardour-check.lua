-- Loads the Linux-host add-on into a headless Ardour session (dummy backend),
-- lists its parameters and sets one. Run: ardour7-lua scripts/ardour-check.lua
-- after `cmake --install build` and a scan of ~/.vst (see the README).
AudioEngine:set_backend("None (Dummy)", "", "")
s = create_session("/tmp/ard/sess", "sess", 48000)
if not s then print("no session") os.exit(1) end
for p in ARDOUR.LuaAPI.list_plugins():iter() do
  if p.type == ARDOUR.PluginType.LXVST then print("found", p.name, p.creator, p.unique_id, p.n_inputs:n_audio(), p.n_outputs:n_audio()) end
end
local tl = s:new_audio_track(2, 2, nil, 1, "bass", ARDOUR.PresentationInfo.max_order, ARDOUR.TrackMode.Normal, true)
local t = tl:front()
local p = ARDOUR.LuaAPI.new_plugin(s, "WobrixFree", ARDOUR.PluginType.LXVST, "")
if p:isnil() then print("plugin not found") else
  t:add_processor_by_index(p, 0, nil, true)
  local pi = p:to_insert():plugin(0)
  print("name", pi:name(), "maker", pi:maker(), "params", pi:parameter_count())
  for i = 0, pi:parameter_count() - 1 do
    local ok, pd = pi:get_parameter_descriptor(i, ARDOUR.ParameterDescriptor()); print("param", i, pd.label, ARDOUR.LuaAPI.get_processor_param(p, i, true))
  end
  ARDOUR.LuaAPI.set_processor_param(p, 2, 1.0)
  print("after set 2 to 1.0:", ARDOUR.LuaAPI.get_processor_param(p, 2, true))
end
s:save_state("", false, false, false, false, false)
close_session()
print("closed")
