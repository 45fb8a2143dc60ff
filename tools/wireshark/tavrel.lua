-- Wireshark / tshark dissector for the Tavrel table protocol: fixed 272-byte packets
-- over one TCP connection between the table client (tavrelmj) and its game server.
--
--   tshark -X lua_script:tools/wireshark/tavrel.lua -o tavrel.port:7700 -r table.pcap
--
-- The server port is a preference (tavrel.port, default 7700); packets to it are the
-- client's (the sent catalogue), packets from it the server's (the received one).
-- Packets split over TCP segments, or several in one segment, are reassembled.

local PACKET = 272

local tavrel = Proto("tavrel", "Tavrel table protocol")

-- Commands the server sends (the client takes offset 3 alone as the number).
local received_names = {
  [1] = "DealTiles", [2] = "DiscardTile", [3] = "SeatName", [4] = "NewHand", [5] = "DrawTile",
  [6] = "ClaimOptions", [7] = "ClaimResult", [9] = "HandOver", [14] = "HandParams",
  [15] = "HandShowdown", [16] = "PlayerLeft", [17] = "Settlement", [18] = "LoginResult",
  [19] = "Chat", [20] = "UserInfo", [21] = "TableUsers", [22] = "TableClosed",
  [23] = "PlayerReady", [29] = "ReconnectResult", [40] = "SeatTiles", [41] = "TableReset",
  [44] = "PropMessage", [45] = "PropMessage", [46] = "PropScore", [91] = "OwnGoldChange",
  [92] = "GoldChange",
}
-- Commands the client sends; 16 is Continue (value(3) = 1) or Leave (all zero).
local sent_names = {
  [2] = "DiscardTile", [7] = "ClaimReply", [16] = "Continue", [18] = "Login", [19] = "Chat",
  [24] = "KeepAlive", [28] = "Reconnect",
}
local claim_operations = { [1] = "pass", [16] = "exposed kong", [32] = "concealed kong",
  [64] = "added kong", [128] = "win" }
local relative_names = { [0] = "self", [1] = "left", [2] = "opposite", [3] = "right" }

local f = tavrel.fields
f.direction = ProtoField.string("tavrel.direction", "Direction")
f.cmd = ProtoField.uint16("tavrel.cmd", "Command", base.DEC)
f.cmd_name = ProtoField.string("tavrel.cmd_name", "Command name")
f.seat = ProtoField.uint8("tavrel.seat", "Seat mask", base.HEX)
f.seat_index = ProtoField.uint8("tavrel.seat_index", "Seat", base.DEC)
f.seat_relative = ProtoField.string("tavrel.seat_relative", "Relative seat")
f.reserved7 = ProtoField.uint8("tavrel.discards", "Discards of the seat", base.DEC)
f.value = ProtoField.int32("tavrel.value", "Value", base.DEC)
f.value0 = ProtoField.int32("tavrel.value0", "value(0)", base.DEC)
f.value1 = ProtoField.int32("tavrel.value1", "value(1)", base.DEC)
f.value2 = ProtoField.int32("tavrel.value2", "value(2)", base.DEC)
f.value3 = ProtoField.int32("tavrel.value3", "value(3)", base.DEC)
f.operation = ProtoField.string("tavrel.operation", "Claim reply")
f.token = ProtoField.uint16("tavrel.token", "Session token", base.HEX)
f.text = ProtoField.string("tavrel.text", "Text")
f.name = ProtoField.string("tavrel.name", "Name")
f.user = ProtoField.string("tavrel.user", "User name")
f.key = ProtoField.string("tavrel.key", "Login key")
f.reconnect = ProtoField.uint32("tavrel.reconnect", "Reconnect number", base.DEC)
f.prop_marker = ProtoField.uint32("tavrel.prop_marker", "Prop marker", base.DEC)
f.amount = ProtoField.double("tavrel.amount", "Gold amount")
f.user_id = ProtoField.string("tavrel.user_id", "User ID")
local value_fields = { f.value0, f.value1, f.value2, f.value3 }

tavrel.prefs.port = Pref.uint("Server port", 7700, "TCP port of the game server")

-- Per TCP stream: the local player's name and seat index, once known.
local streams = {}
local tcp_stream = Field.new("tcp.stream")

local function seat_index(mask)
  local n = 0
  mask = bit.band(mask, 0xFF)
  while mask >= 2 do
    mask = math.floor(mask / 2)
    n = n + 1
  end
  return n
end

-- Single-byte text up to the first zero byte or the end of the field.
local function single_byte_text(range)
  return range:stringz(ENC_ASCII)
end

-- Text of code page 936 up to the first zero byte.
local function gbk_text(range)
  return range:stringz(ENC_GB18030)
end

local function dissect_one(tvb, pinfo, root)
  pinfo.cols.protocol = "TAVREL"
  local sent = pinfo.dst_port == tavrel.prefs.port
  local st_key = tcp_stream() and tcp_stream().value or 0
  local st = streams[st_key]
  if not st then
    st = {}
    streams[st_key] = st
  end

  local cmd = tvb(3, 1):uint()
  local name
  if sent then
    name = sent_names[cmd] or "PluginPacket"
    if cmd == 16 and tvb(14, 2):uint() == 0 then name = "Leave" end
  else
    name = received_names[cmd] or "PluginCommand"
  end
  local tree = root:add(tavrel, tvb(0, PACKET), "Tavrel " .. (sent and "client → server " or "server → client ") .. name)
  tree:add(f.direction, sent and "sent" or "received")
  tree:add(f.cmd, tvb(2, 2), sent and tvb(2, 2):uint() or cmd)
  tree:add(f.cmd_name, tvb(3, 1), name)

  local mask = sent and tvb(6, 1):uint() or bit.band(tvb(6, 1):uint(), 15)
  local seat = tree:add(f.seat, tvb(6, 1), mask)
  local idx = seat_index(mask)
  if mask ~= 0 then seat:add(f.seat_index, tvb(6, 1), idx) end
  if sent and mask ~= 0 then st.own = idx end
  if mask ~= 0 then
    local rel = sent and "self" or (st.own and relative_names[bit.band(st.own - idx + 4, 3)]) or "unknown (own seat not seen yet)"
    seat:add(f.seat_relative, tvb(6, 1), rel)
  end
  if not sent and cmd == 40 then tree:add(f.reserved7, tvb(7, 1)) end

  -- value(i): full signed 16 bits for the received 6 and 17 and for every sent
  -- command; otherwise the receiver keeps the low byte.
  local signed = sent or cmd == 6 or cmd == 17
  local shown = {}
  for i = 0, 3 do
    local r = tvb(8 + 2 * i, 2)
    local v = signed and r:int() or tvb(9 + 2 * i, 1):uint()
    shown[i] = v
    tree:add(value_fields[i + 1], r, v)
  end
  if sent and cmd == 7 then tree:add(f.operation, tvb(8, 2), claim_operations[shown[0]] or tostring(shown[0])) end

  local info = string.format("%s %s %d seat=%d values=%d,%d,%d,%d", sent and "→" or "←", name, cmd, mask,
    shown[0], shown[1], shown[2], shown[3])

  -- Payloads.
  if sent and (cmd == 18 or cmd == 28) then
    local user = single_byte_text(tvb(16, 16))
    st.user = user
    tree:add(f.user, tvb(16, 16), user)
    local key = tvb(32, 228):stringz(ENC_ASCII)
    tree:add(f.key, tvb(32, 228), string.rep("*", #key) .. " (masked)")
    info = info .. " user=" .. user
  elseif cmd == 19 then
    local marker = tvb(236, 4):uint()
    if not sent and (marker == 272 or marker == 260) then
      tree:add(f.prop_marker, tvb(236, 4))
      info = info .. " prop message"
    else
      local text = gbk_text(tvb(16, 200))
      tree:add(f.text, tvb(16, 200), text)
      info = info .. " text=" .. text
    end
  elseif not sent and cmd == 22 then
    local text = gbk_text(tvb(16, 200))
    tree:add(f.text, tvb(16, 200), text)
    info = info .. " text=" .. text
  elseif not sent and cmd == 16 then
    tree:add(f.text, tvb(16, 200), gbk_text(tvb(16, 200)))
  elseif not sent and (cmd == 3 or cmd == 23) then
    local n = single_byte_text(tvb(16, 16))
    tree:add(f.name, tvb(16, 16), n)
    info = info .. " name=" .. n
    if cmd == 3 and st.user and n == st.user then st.own = seat_index(mask) end
  elseif not sent and cmd == 20 then
    local n = gbk_text(tvb(16, 32))
    tree:add(f.name, tvb(16, 32), n)
    info = info .. " name=" .. n
  elseif not sent and (cmd == 91 or cmd == 92) then
    local magnitude = tvb(17, 8):le_uint64():tonumber()
    if tvb(16, 1):uint() ~= 0 then magnitude = -magnitude end
    tree:add(f.amount, tvb(16, 9), magnitude)
    info = info .. " amount=" .. string.format("%.0f", magnitude)
    if cmd == 92 then
      local id = gbk_text(tvb(25, 17))
      tree:add(f.user_id, tvb(25, 17), id)
    end
  end

  tree:add(f.token, tvb(260, 2))
  if (not sent and cmd == 16) or (sent and cmd == 28) then
    tree:add_le(f.reconnect, tvb(268, 4))
    info = info .. " reconnect=" .. tvb(268, 4):le_uint()
  end
  return info
end

local function packet_length() return PACKET end

local info_frame = nil
local function dissect_pdu(tvb, pinfo, root)
  local info = dissect_one(tvb, pinfo, root)
  -- Several packets in one segment: the column lists them all.
  if info_frame == pinfo.number then
    pinfo.cols.info:append(" | " .. info)
  else
    pinfo.cols.info:set(info)
  end
  info_frame = pinfo.number
  return PACKET
end

function tavrel.dissector(tvb, pinfo, root)
  dissect_tcp_pdus(tvb, root, PACKET, packet_length, dissect_pdu)
  return tvb:len()
end

local registered_port = nil
function tavrel.init()
  local tcp = DissectorTable.get("tcp.port")
  if registered_port then tcp:remove(registered_port, tavrel) end
  registered_port = tavrel.prefs.port
  tcp:add(registered_port, tavrel)
  streams = {}
  info_frame = nil
end
