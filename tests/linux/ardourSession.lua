-- Run by Ardour's Lua session tool (ardour7-lua) from checkVst3.sh, which
-- puts the session's folder in place of @SESSION@: a session with each VST 3
-- plug-in on a track of its own, saved with their state, closed and loaded
-- again.
AudioEngine:set_backend("JACK", "", "")
local session = create_session("@SESSION@", "orvane", 44100)
assert(session, "no session")
for _, name in ipairs({"Orvane", "Orvane x2"}) do
  local track = session:new_audio_track(2, 2, nil, 1, name, ARDOUR.PresentationInfo.max_order,
                                        ARDOUR.TrackMode.Normal, true):front()
  local plugin = ARDOUR.LuaAPI.new_plugin(session, name, ARDOUR.PluginType.VST3, "")
  assert(not plugin:isnil(), "no plug-in " .. name)
  track:add_processor_by_index(plugin, 0, nil, true)
end
session:save_state("", false, false, false, false, false)
close_session()

session = load_session("@SESSION@", "orvane")
assert(session, "not loaded")
local found = 0
for route in session:get_routes():iter() do
  local plugin = route:nth_plugin(0)
  if not plugin:isnil() and plugin:display_name():find("^Orvane") then
    found = found + 1
  end
end
print("plug-ins loaded again: " .. found)
close_session()
