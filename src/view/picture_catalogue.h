#pragma once
// The picture pack: every picture the client loads, by resource id, with its
// size. tavrel-artgen draws one PNG per entry into <program dir>/pictures/;
// the view code addresses pictures only through the ids named here.
#include <array>
#include <cstddef>

namespace tavrel::view {

struct PictureInfo {
  int id;
  int width;
  int height;
  const char* group;  // what the picture is for
  const char* item;   // which one of its group
};

struct PictureSize {
  int width;
  int height;
};

// ---- Ids fixed by the client's picture tables -------------------------------

// Window buttons: pairs normal/hover, in the order of kWindowButtonNames.
inline constexpr int kPicWindowButtonFirst = 101;  // 101..120
inline constexpr int kWindowButtonCount = 10;
inline constexpr const char* kWindowButtonNames[kWindowButtonCount] = {
    "发送", "聊天", "开始", "继续", "设置", "隐藏", "战绩", "历史", "规则", "退出"};
inline constexpr PictureSize kSendButtonSize{50, 30};
inline constexpr PictureSize kWindowButtonSize{60, 30};
// Small-screen variants of buttons 1..9 (the send button has none).
inline constexpr int kPicSmallWindowButtonFirst = 381;  // 381..398
inline constexpr double kSmallScreenScale = 0.78125;
inline constexpr PictureSize kSmallWindowButtonSize{47, 23};

// Compass dials, one per own seat 0..3 (own wind 北 西 南 东 at the bottom).
inline constexpr int kPicSmallCompassFirst = 126;  // 126..129, small screen
inline constexpr PictureSize kSmallCompassSize{83, 82};
inline constexpr int kPicCompassFirst = 565;  // 565..568
inline constexpr PictureSize kCompassSize{77, 77};

// Dialog buttons 130..137.
inline constexpr int kPicDialogButtonFirst = 130;
inline constexpr int kDialogButtonCount = 8;
inline constexpr const char* kDialogButtonNames[kDialogButtonCount] = {
    "确定", "确定 (hover)", "取消", "取消 (hover)", "关闭", "开启", "普通话", "本地话"};
inline constexpr PictureSize kDialogButtonSize{76, 28};

// Offer buttons 141..154: 吃 碰 杠 胡 with normal, live and pressed pictures,
// then 过 normal and live. 155..158 do not exist.
inline constexpr int kPicOfferFirst = 141;
inline constexpr int kOfferPictureCount = 14;
inline constexpr const char* kOfferWords[5] = {"吃", "碰", "杠", "胡", "过"};
inline constexpr PictureSize kOfferButtonSize{50, 71};
inline constexpr int kOfferNormal = 0, kOfferLive = 1, kOfferPressed = 2;
constexpr int OfferPictureId(int button, int state) { return kPicOfferFirst + 3 * button + state; }

// Dice: faces 1..6, then ten tumbling frames; small faces for the doubling dice.
inline constexpr int kPicDieFaceFirst = 161;     // 161..166
inline constexpr int kPicDieTumbleFirst = 167;   // 167..176
inline constexpr int kDieTumbleFrames = 10;
inline constexpr PictureSize kDieSize{40, 40};
inline constexpr int kPicSmallDieFirst = 600;    // 600..605
inline constexpr PictureSize kSmallDieSize{24, 24};

// Claim words 183..190.
inline constexpr int kPicClaimWordFirst = 183;
inline constexpr int kClaimWordCount = 8;
inline constexpr const char* kClaimWords[kClaimWordCount] = {
    "吃", "碰", "杠", "暗杠", "红中杠", "混杠", "开杠", "胡"};
inline constexpr PictureSize kClaimWordSize{120, 64};

// Avatars: ten male faces 191..200, ten female faces 401..410.
inline constexpr int kPicMaleAvatarFirst = 191;
inline constexpr int kPicFemaleAvatarFirst = 401;
inline constexpr int kAvatarsPerGender = 10;
inline constexpr PictureSize kAvatarSize{85, 90};
constexpr int AvatarPictureId(int index) {  // index 0..19, as the player table
  return index < kAvatarsPerGender ? kPicMaleAvatarFirst + index
                                   : kPicFemaleAvatarFirst + index - kAvatarsPerGender;
}

// 跟庄 bubbles for relative seats 1, 2, 3 (tail toward that seat).
inline constexpr int kPicFollowDealerFirst = 418;  // 418..420
inline constexpr PictureSize kFollowDealerSize{96, 56};

// ---- Tile pictures: five sets of 36 -----------------------------------------
// Position in a set: 0..6 東 南 西 北 中 發 白, 7 standing back, 8 lying back,
// 9..17 bamboo 1..9, 18..26 characters 1..9, 27..35 dots 1..9.
inline constexpr int kPicTileFirst = 201;  // 201..380
inline constexpr int kTileSetCount = 5;
inline constexpr int kTilesPerSet = 36;
inline constexpr int kTilePosStandingBack = 7;
inline constexpr int kTilePosLyingBack = 8;
inline constexpr int kTileSetOwnLying = 0, kTileSetLeft = 1, kTileSetTop = 2,
                     kTileSetRight = 3, kTileSetOwnStanding = 4;
inline constexpr const char* kTileSetNames[kTileSetCount] = {
    "own tile lying face up", "left seat tile (faces turned to the left)",
    "top seat tile (faces upside down)", "right seat tile (faces turned to the right)",
    "own standing hand tile"};
inline constexpr const char* kTileNames[kTilesPerSet] = {
    "東", "南", "西", "北", "中", "發", "白", "standing back", "lying back",
    "一索", "二索", "三索", "四索", "五索", "六索", "七索", "八索", "九索",
    "一萬", "二萬", "三萬", "四萬", "五萬", "六萬", "七萬", "八萬", "九萬",
    "一筒", "二筒", "三筒", "四筒", "五筒", "六筒", "七筒", "八筒", "九筒"};

constexpr int TilePictureId(int set, int pos) { return kPicTileFirst + set * kTilesPerSet + pos; }

constexpr bool IsTileBack(int pos) { return pos == kTilePosStandingBack || pos == kTilePosLyingBack; }

constexpr PictureSize TilePictureSize(int set, int pos) {
  constexpr PictureSize kFace[kTileSetCount] = {{50, 58}, {59, 46}, {34, 37}, {59, 46}, {50, 77}};
  constexpr PictureSize kStanding[kTileSetCount] = {{50, 77}, {33, 66}, {34, 50}, {34, 66}, {50, 77}};
  constexpr PictureSize kLying[kTileSetCount] = {{50, 58}, {50, 44}, {33, 37}, {50, 44}, {50, 58}};
  if (pos == kTilePosStandingBack) return kStanding[set];
  if (pos == kTilePosLyingBack) return kLying[set];
  return kFace[set];
}

// ---- Tile pictures at the sizes the table shows them -------------------------
// Tile controls stretch their picture to their size, and a picture resampled to
// another size blurs its strokes. So the pack also holds every tile drawn at each
// size the table gives the tiles of its set, at scale 1 and on the small screen,
// as <id>@<width>x<height>.png; the window draws those where they exist.
struct TileDisplaySize {
  int set;
  PictureSize size;    // pixels at scale 1
  bool scaled = true;  // also shown at the small screen's scale
};
inline constexpr TileDisplaySize kTileDisplaySizes[] = {
    // Own tiles lying: wall, discards and the centre; melds; the top side of the wall;
    // the standing back of a freshly dealt own hand.
    {kTileSetOwnLying, {36, 50}}, {kTileSetOwnLying, {45, 60}}, {kTileSetOwnLying, {30, 36}},
    {kTileSetOwnLying, {48, 78}},
    // Left and right: wall, discards and the centre; standing row; melds and the shown hand.
    {kTileSetLeft, {48, 35}}, {kTileSetLeft, {35, 66}}, {kTileSetLeft, {45, 35}},
    {kTileSetRight, {48, 35}}, {kTileSetRight, {35, 66}}, {kTileSetRight, {45, 35}},
    // Top: wall, discards and the centre; standing row; melds; the shown hand.
    {kTileSetTop, {30, 36}}, {kTileSetTop, {36, 50}}, {kTileSetTop, {34, 40}}, {kTileSetTop, {36, 39}},
    // Own standing hand; the wild tile on its plaque, never scaled.
    {kTileSetOwnStanding, {48, 78}}, {kTileSetOwnStanding, {36, 56}, false},
};

// A tile size on the small screen, stored as the layout stores it (halves to even).
constexpr int SmallScreenTilePixels(int designPixels) {
  const double v = designPixels * kSmallScreenScale;
  const int down = static_cast<int>(v);
  const double rest = v - down;
  return rest > 0.5 || (rest == 0.5 && down % 2 == 1) ? down + 1 : down;
}

// ---- Design pictures: our own ids --------------------------------------------
inline constexpr int kPicTableBackground = 900;  // Pic2, green felt, 1024 x 768
inline constexpr PictureSize kTableBackgroundSize{1024, 768};

// Window frame skin, painted in eight pieces. Pieces in pixels: columns
// 0..8, 8..16 (stretched), 38..46; rows 0..20 (title strip), 20..212
// (stretched), 212..220.
inline constexpr int kPicWindowSkin = 901;
inline constexpr PictureSize kWindowSkinSize{46, 220};
inline constexpr int kSkinBorder = 8;
inline constexpr int kSkinTitleHeight = 20;
inline constexpr int kSkinRightPieceX = 38;
inline constexpr int kSkinBottomPieceY = 212;

// Title-strip buttons: normal, hover, pressed.
inline constexpr int kPicCloseNormal = 902, kPicCloseHover = 903, kPicClosePressed = 904;
inline constexpr int kPicMinimiseNormal = 905, kPicMinimiseHover = 906, kPicMinimisePressed = 907;
inline constexpr PictureSize kTitleButtonSize{22, 16};

inline constexpr int kPicReadyMark = 908;      // OK(0..3)
inline constexpr int kPicDealerMarker = 909;   // Host
// img_lianzhuang, scaled with the layout: the name label at (8, 5), the count at (52, 34).
// Its wood starts kDealerStreakBodyLeft in: left of that, below its top strip, lies the
// first slot of the top seat's row.
inline constexpr int kPicDealerStreak = 910;
inline constexpr PictureSize kDealerStreakSize{150, 54};
inline constexpr int kDealerStreakBodyLeft = 22;
inline constexpr int kPicCountdownClock = 911; // Time_Img; the number sits at (48, 5), 24 x 24
inline constexpr int kPicBank = 912;           // Bank
inline constexpr int kPicPlatformLogo = 913;   // Bird
inline constexpr int kPicRuleLabelBack = 914;  // behind each lbfont label
inline constexpr int kPicDiceMultiplier = 915; // imgBeishu
inline constexpr int kPicWealthMultiplier = 916;  // Imgwealth
// WildTileLabel, unscaled like the wild tile on it, which sits at (20, 59), 36 x 56. It
// shares its top with the dealer-streak plaque: its wood starts below that plaque and right
// of the top seat's row, at (kWildTilePlaqueLeft, kWildTilePlaqueTop).
inline constexpr int kPicWildTileLabel = 917;
inline constexpr PictureSize kWildTileLabelSize{68, 146};
inline constexpr int kWildTilePlaqueLeft = 8, kWildTilePlaqueTop = 56;
inline constexpr int kPicSeatChange = 918;     // ImgShuffle; the caption sits at its left
// Speech bubbles imgSpeakBox(0..3), tail toward relative seat 0..3, drawn on
// a key-colour background: pixel (0, 0) is kSpeakBoxKeyColour.
inline constexpr int kPicSpeakBoxFirst = 919;  // 919..922
inline constexpr unsigned kSpeakBoxKeyColour = 0xFF00FF;  // 0xRRGGBB, magenta
inline constexpr PictureSize kSpeakBoxSize{200, 90};
inline constexpr int kPicHandPointer = 923;    // pointer 99 over the own tiles
inline constexpr int kHandPointerHotX = 13, kHandPointerHotY = 1;
inline constexpr int kPicWindowIcon = 924;
// The quick-phrase buttons imgword1 and imgword2 under the own hand.
inline constexpr int kPicPhraseButtonFirst = 925;  // 925, 926
inline constexpr const char* kPhraseButtonWords[2] = {"常用语", "快捷回复"};
inline constexpr PictureSize kPhraseButtonSizes[2] = {{64, 22}, {76, 22}};
// The settlement sheet Score and the history window Hero: their pictures and the
// close button both share.
inline constexpr int kPicSheetBack = 930;
inline constexpr PictureSize kSheetSize{640, 440};
inline constexpr int kPicHistoryBack = 931;
inline constexpr PictureSize kHistorySize{560, 376};
inline constexpr int kPicSheetClose = 932;
inline constexpr PictureSize kSheetCloseSize{24, 24};

// ---- The catalogue -----------------------------------------------------------
namespace picture_detail {

inline constexpr std::size_t kPictureCount = 331;

struct CatalogueBuilder {
  std::array<PictureInfo, kPictureCount> entries{};
  std::size_t count = 0;
  constexpr void Add(int id, PictureSize size, const char* group, const char* item) {
    entries[count++] = PictureInfo{id, size.width, size.height, group, item};
  }
};

constexpr std::array<PictureInfo, kPictureCount> BuildCatalogue() {
  CatalogueBuilder b;
  constexpr const char* kStates[2] = {"normal", "hover"};
  for (int i = 0; i < 2 * kWindowButtonCount; ++i)
    b.Add(kPicWindowButtonFirst + i, i < 2 ? kSendButtonSize : kWindowButtonSize,
          kWindowButtonNames[i / 2], kStates[i % 2]);
  constexpr const char* kOwnWinds[4] = {"北 at the bottom", "西 at the bottom", "南 at the bottom",
                                        "东 at the bottom"};
  for (int i = 0; i < 4; ++i) b.Add(kPicSmallCompassFirst + i, kSmallCompassSize, "compass, small screen", kOwnWinds[i]);
  for (int i = 0; i < kDialogButtonCount; ++i)
    b.Add(kPicDialogButtonFirst + i, kDialogButtonSize, "dialog button", kDialogButtonNames[i]);
  constexpr const char* kOfferStates[3] = {"offer button", "offer button, live", "offer button, pressed"};
  for (int i = 0; i < kOfferPictureCount; ++i)
    b.Add(kPicOfferFirst + i, kOfferButtonSize, kOfferStates[i % 3], kOfferWords[i / 3]);
  constexpr const char* kPips[6] = {"1", "2", "3", "4", "5", "6"};
  for (int i = 0; i < 6; ++i) b.Add(kPicDieFaceFirst + i, kDieSize, "die face", kPips[i]);
  constexpr const char* kFrames[kDieTumbleFrames] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"};
  for (int i = 0; i < kDieTumbleFrames; ++i) b.Add(kPicDieTumbleFirst + i, kDieSize, "tumbling die frame", kFrames[i]);
  for (int i = 0; i < kClaimWordCount; ++i) b.Add(kPicClaimWordFirst + i, kClaimWordSize, "claim word", kClaimWords[i]);
  for (int i = 0; i < kAvatarsPerGender; ++i) b.Add(kPicMaleAvatarFirst + i, kAvatarSize, "avatar, male", kFrames[i]);
  for (int set = 0; set < kTileSetCount; ++set)
    for (int pos = 0; pos < kTilesPerSet; ++pos)
      b.Add(TilePictureId(set, pos), TilePictureSize(set, pos), kTileSetNames[set], kTileNames[pos]);
  for (int i = 0; i < 2 * kWindowButtonCount - 2; ++i)
    b.Add(kPicSmallWindowButtonFirst + i, kSmallWindowButtonSize, kWindowButtonNames[1 + i / 2], "small screen");
  for (int i = 0; i < kAvatarsPerGender; ++i) b.Add(kPicFemaleAvatarFirst + i, kAvatarSize, "avatar, female", kFrames[i]);
  constexpr const char* kBubbleSeats[3] = {"left seat", "top seat", "right seat"};
  for (int i = 0; i < 3; ++i) b.Add(kPicFollowDealerFirst + i, kFollowDealerSize, "跟庄 bubble", kBubbleSeats[i]);
  for (int i = 0; i < 4; ++i) b.Add(kPicCompassFirst + i, kCompassSize, "compass", kOwnWinds[i]);
  for (int i = 0; i < 6; ++i) b.Add(kPicSmallDieFirst + i, kSmallDieSize, "small die face", kPips[i]);

  b.Add(kPicTableBackground, kTableBackgroundSize, "table background", "green felt");
  b.Add(kPicWindowSkin, kWindowSkinSize, "window skin", "wood frame");
  b.Add(kPicCloseNormal, kTitleButtonSize, "title close button", "normal");
  b.Add(kPicCloseHover, kTitleButtonSize, "title close button", "hover");
  b.Add(kPicClosePressed, kTitleButtonSize, "title close button", "pressed");
  b.Add(kPicMinimiseNormal, kTitleButtonSize, "title minimise button", "normal");
  b.Add(kPicMinimiseHover, kTitleButtonSize, "title minimise button", "hover");
  b.Add(kPicMinimisePressed, kTitleButtonSize, "title minimise button", "pressed");
  b.Add(kPicReadyMark, {64, 30}, "ready mark", "准备");
  b.Add(kPicDealerMarker, {30, 30}, "dealer marker", "庄");
  b.Add(kPicDealerStreak, kDealerStreakSize, "dealer streak plaque", "连庄");
  b.Add(kPicCountdownClock, {81, 38}, "countdown clock", "clock");
  b.Add(kPicBank, {80, 38}, "bank button", "银行");
  b.Add(kPicPlatformLogo, {82, 80}, "platform logo", "bird");
  b.Add(kPicRuleLabelBack, {160, 26}, "rule label background", "plate");
  b.Add(kPicDiceMultiplier, {50, 28}, "dice multiplier", "加倍");
  b.Add(kPicWealthMultiplier, {52, 34}, "wealth multiplier", "财富");
  b.Add(kPicWildTileLabel, kWildTileLabelSize, "wild tile label", "混牌");
  b.Add(kPicSeatChange, {260, 44}, "seat change banner", "换座");
  constexpr const char* kSpeakSeats[4] = {"own seat", "left seat", "top seat", "right seat"};
  for (int i = 0; i < 4; ++i) b.Add(kPicSpeakBoxFirst + i, kSpeakBoxSize, "speech bubble", kSpeakSeats[i]);
  b.Add(kPicHandPointer, {32, 32}, "hand pointer", "pointer 99");
  b.Add(kPicWindowIcon, {32, 32}, "window icon", "中 tile");
  for (int i = 0; i < 2; ++i) b.Add(kPicPhraseButtonFirst + i, kPhraseButtonSizes[i], "phrase button", kPhraseButtonWords[i]);
  b.Add(kPicSheetBack, kSheetSize, "settlement sheet", "结算");
  b.Add(kPicHistoryBack, kHistorySize, "history window", "英雄榜");
  b.Add(kPicSheetClose, kSheetCloseSize, "sheet close button", "×");
  if (b.count != kPictureCount) throw "picture count mismatch";
  return b.entries;
}

}  // namespace picture_detail

// Sorted by id.
inline constexpr std::array<PictureInfo, picture_detail::kPictureCount> kPictureCatalogue =
    picture_detail::BuildCatalogue();

constexpr const PictureInfo* FindPicture(int id) {
  for (const PictureInfo& info : kPictureCatalogue)
    if (info.id == id) return &info;
  return nullptr;
}

constexpr bool PictureExists(int id) { return FindPicture(id) != nullptr; }

namespace picture_detail {
constexpr bool IsSortedById() {
  for (std::size_t i = 1; i < kPictureCatalogue.size(); ++i)
    if (kPictureCatalogue[i - 1].id >= kPictureCatalogue[i].id) return false;
  return true;
}
static_assert(IsSortedById(), "the catalogue is listed by ascending id, without repeats");
static_assert(PictureExists(380) && !PictureExists(155) && !PictureExists(381 + 18));
static_assert(AvatarPictureId(19) == 410 && OfferPictureId(4, kOfferLive) == 154);
static_assert(SmallScreenTilePixels(48) == 38 && SmallScreenTilePixels(50) == 39 && SmallScreenTilePixels(66) == 52);
}  // namespace picture_detail

}  // namespace tavrel::view
