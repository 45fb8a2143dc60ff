#pragma once
// The one place that owns byte order. Every number and text field of a packet is
// read and written through these functions. They are bounds-checked: a byte read
// past the end of the buffer counts as 0, a byte written past it is dropped, so a
// short or malformed buffer can never cause a read or write outside it.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tavrel {

inline constexpr std::size_t kPacketSize = 272;
using Packet = std::array<std::uint8_t, kPacketSize>;

// Offsets within a packet. Fields that only some commands carry are named after
// the command that carries them.
namespace off {
inline constexpr std::size_t kCmdHigh = 2;
inline constexpr std::size_t kCmd = 3;
inline constexpr std::size_t kReserved5 = 5;
inline constexpr std::size_t kSeat = 6;
inline constexpr std::size_t kReserved7 = 7;
inline constexpr std::size_t kValues = 8;  // value(i) at 8 + 2i, high byte first
inline constexpr std::size_t kValue3Low = 15;  // the low byte of value(3)
inline constexpr std::size_t kPayload = 16;
inline constexpr std::size_t kNameBytes = 16;   // a name at the payload: seat names, ready marks
inline constexpr std::size_t kPropMarker = 236;  // chat: 32-bit big-endian prop marker
inline constexpr std::size_t kToken = 260;
inline constexpr std::size_t kTailNumber = 268;  // ReconnectNumber, 32-bit little-endian

// The login packet (the reconnect request is the same buffer).
inline constexpr std::size_t kLoginFlag = 14;  // always 1
inline constexpr std::size_t kLoginUser = kPayload;
inline constexpr std::size_t kLoginUserBytes = 16;
inline constexpr std::size_t kLoginKey = 32;
inline constexpr std::size_t kLoginKeyBytes = kToken - kLoginKey;  // the key may fill the packet up to the token
// LoginResult: the turn time-outs after which the client hides itself, and the advert address.
inline constexpr std::size_t kTimeoutLimit = 9;
inline constexpr std::size_t kAdvertAddress = kPayload;
inline constexpr std::size_t kAdvertAddressBytes = 100;
// ReconnectResult: 1 = taken back.
inline constexpr std::size_t kReconnectOutcome = kValue3Low;
// Prop messages: the plug-in's message number, value(0) read unsigned.
inline constexpr std::size_t kPropNumber = kValues;
// Gold changes: the signed amount at the payload; GoldChange names the player at 25.
inline constexpr std::size_t kGoldAmount = kPayload;
inline constexpr std::size_t kGoldUserId = 25;
inline constexpr std::size_t kGoldUserIdBytes = 17;
// NewHand: two bytes kept for the deal, then the dice-doubling flag.
inline constexpr std::size_t kNewHandStart = kPayload;
inline constexpr std::size_t kNewHandDiceDoubling = 18;
// DealTiles: twelve 16-bit tile values, high byte first.
inline constexpr std::size_t kDealtTiles = kPayload;
inline constexpr std::size_t kDealtTileCount = 12;
// SeatTiles: the seat's discards at Reserved7, then 24 pairs (kind byte, tile code byte).
inline constexpr std::size_t kSeatTilesPairs = kPayload;
inline constexpr std::size_t kSeatTilesPairCount = 24;
// ClaimOptions: the seconds the player has to decide (2 or less: the default).
inline constexpr std::size_t kOfferSeconds = 100;
// HandShowdown: the next five tiles of the wall, one byte each.
inline constexpr std::size_t kShowdownPeek = kPayload;
inline constexpr std::size_t kShowdownPeekCount = 5;
// TableClosed: the server's text.
inline constexpr std::size_t kTableClosedText = kPayload;
inline constexpr std::size_t kTableClosedTextBytes = 200;
// UserInfo: one player's details. Region (72..79) and Reserved52 (76..83) overlap.
inline constexpr std::size_t kUserName = kPayload;
inline constexpr std::size_t kUserNameBytes = 32;
inline constexpr std::size_t kUserFace = 48;
inline constexpr std::size_t kUserFaceBytes = 16;
inline constexpr std::size_t kUserGender = 64;
inline constexpr std::size_t kUserRegion = 72;
inline constexpr std::size_t kUserRegionBytes = 8;
inline constexpr std::size_t kUserReserved52 = 76;
inline constexpr std::size_t kUserPoints = 80;
inline constexpr std::size_t kUserCredit = 88;
inline constexpr std::size_t kUserCoins = 96;
inline constexpr std::size_t kUserReserved40 = 104;
inline constexpr std::size_t kUserLevelTitle = 112;
inline constexpr std::size_t kUserLevelTitleBytes = 16;
inline constexpr std::size_t kUserReserved60 = 136;
inline constexpr std::size_t kUserReserved68 = 144;
inline constexpr std::size_t kUserLoginCount = 152;
inline constexpr std::size_t kUserDropCount = 156;
inline constexpr std::size_t kUserWins = 160;
inline constexpr std::size_t kUserLosses = 164;
inline constexpr std::size_t kUserAccount = 168;
inline constexpr std::size_t kUserAccountBytes = 16;
inline constexpr std::size_t kUserTag = 184;
inline constexpr std::size_t kUserTagBytes = 24;
inline constexpr std::size_t kUserReady = 208;
inline constexpr std::size_t kUserVoiceGroup = 210;
inline constexpr std::size_t kUserVoiceStyle = 218;
inline constexpr std::size_t kUserVoiceBytes = 8;
inline constexpr std::size_t kUserId = 226;
inline constexpr std::size_t kUserWealthRate = 234;
inline constexpr std::size_t kUserCapRule = 238;
inline constexpr std::size_t kUserDiceRule = 240;
inline constexpr std::size_t kUserPropsOff = 255;
// PlayerLeft, the seat change notice: the table's new wealth rate, 32-bit little-endian.
inline constexpr std::size_t kSeatChangeWealthRate = kPayload;
// TableUsers: the leaving player's table name; byte 8 = 1 lowers its first character by one.
inline constexpr std::size_t kTableUsersName = kPayload;
inline constexpr std::size_t kTableUsersNameBytes = 16;
inline constexpr std::size_t kTableUsersShifted = 8;
// HandOver: one seat's result (64-bit two's complement), its gold-cap mark and, in the
// fourth packet of a hand, the winners' caption.
inline constexpr std::size_t kHandTotal = kPayload;
inline constexpr std::size_t kHandCapHit = 29;
inline constexpr std::size_t kWinnerCaption = 46;
inline constexpr std::size_t kWinnerCaptionBytes = 20;
// Settlement: one seat's score record (payload 16..69): the pattern bytes, the amount
// (64-bit unsigned) with its sign byte, and the level title in byte pairs.
inline constexpr std::size_t kScoreFourKan = 16;
inline constexpr std::size_t kScoreHandShape = 17;
inline constexpr std::size_t kScorePu = 18;
inline constexpr std::size_t kScoreWinFlags = 19;
inline constexpr std::size_t kScoreDianPao = 20;
inline constexpr std::size_t kScoreZiMo = 21;
inline constexpr std::size_t kScoreTianDi = 22;
inline constexpr std::size_t kScoreAnGang = 23;
inline constexpr std::size_t kScoreGangKai = 25;
inline constexpr std::size_t kScoreQueMen = 26;
inline constexpr std::size_t kScoreZhuangCount = 27;
inline constexpr std::size_t kScoreHaiLao = 28;
inline constexpr std::size_t kScoreShiTongZhang = 29;
inline constexpr std::size_t kScoreAnHuo = 31;
inline constexpr std::size_t kScoreSiHe = 32;
inline constexpr std::size_t kScoreTongZhang = 34;
inline constexpr std::size_t kScoreZhi = 35;
inline constexpr std::size_t kScoreAmount = 36;
inline constexpr std::size_t kScoreAmountSign = 44;
inline constexpr std::size_t kScoreLevelTitle = 45;
inline constexpr std::size_t kScoreLevelTitlePairs = 8;
}  // namespace off

namespace wire {

using Bytes = std::span<const std::uint8_t>;
using MutableBytes = std::span<std::uint8_t>;

inline std::uint8_t U8(Bytes b, std::size_t off) { return off < b.size() ? b[off] : 0; }
inline void PutU8(MutableBytes b, std::size_t off, std::uint8_t v) {
  if (off < b.size()) b[off] = v;
}
// Byte `i` of a field at `off`, without letting off + i wrap around.
inline std::uint8_t U8At(Bytes b, std::size_t off, std::size_t i) { return off < b.size() ? U8(b, off + i) : 0; }
inline void PutU8At(MutableBytes b, std::size_t off, std::size_t i, std::uint8_t v) {
  if (off < b.size()) PutU8(b, off + i, v);
}

std::uint16_t U16BE(Bytes b, std::size_t off);
std::int16_t I16BE(Bytes b, std::size_t off);
std::uint32_t U32BE(Bytes b, std::size_t off);
std::uint32_t U32LE(Bytes b, std::size_t off);
std::uint64_t U64LE(Bytes b, std::size_t off);
std::int64_t I64LE(Bytes b, std::size_t off);
// Gold amounts: a sign byte (non-zero = negative) followed by a 64-bit little-endian magnitude.
double SignedAmount(Bytes b, std::size_t signOff);

void PutU16BE(MutableBytes b, std::size_t off, std::uint16_t v);
void PutU32BE(MutableBytes b, std::size_t off, std::uint32_t v);
void PutU32LE(MutableBytes b, std::size_t off, std::uint32_t v);
void PutU64LE(MutableBytes b, std::size_t off, std::uint64_t v);
void PutSignedAmount(MutableBytes b, std::size_t signOff, std::int64_t amount);

// Raw bytes of a text, cut at the field width; the rest of the field is left as is.
void PutBytes(MutableBytes b, std::size_t off, std::string_view bytes, std::size_t width);
// Text fields: single-byte text (one byte per character) and GBK text, both from UTF-8.
void PutSingleByteText(MutableBytes b, std::size_t off, std::string_view utf8, std::size_t width);
void PutGbkText(MutableBytes b, std::size_t off, std::string_view utf8, std::size_t width);
// Field readers (to the first zero byte or the field end).
std::string SingleByteText(Bytes b, std::size_t off, std::size_t width);
std::string GbkText(Bytes b, std::size_t off, std::size_t width);

}  // namespace wire
}  // namespace tavrel
