#pragma once
// The names of the windows and of their controls, as the table client knows
// them, each control with the kind it is. Code finds forms and controls only
// through these constants: a control looked up under another kind is recorded
// by its form (Form::KindMismatches), and the tests fail on it.
//
// frm:: the forms. ctl:: the controls of the table window ("Main"); ctl::<Form>::
// the controls of each other window.
#include "platform/controls.h"

namespace tavrel::frm {
inline constexpr const char* Main = "Main";  // the table window
inline constexpr const char* Score = "Score";            // the settlement sheet
inline constexpr const char* Hero = "Hero";              // the history window
inline constexpr const char* Information = "Information";  // the player card
inline constexpr const char* Talk = "Talk";              // the chat history
inline constexpr const char* huifu = "huifu";            // the quick phrases
inline constexpr const char* frmSpeakBox = "frmSpeakBox";  // a speech bubble
inline constexpr const char* VosSet = "VosSet";          // the voice settings
inline constexpr const char* frmExit = "frmExit";        // the exit confirmation
inline constexpr const char* frmOtherExit = "frmOtherExit";  // the table-closed notice
inline constexpr const char* frmReconnect = "frmReconnect";  // the reconnection's hidden timer window
inline constexpr const char* frm_Local = "frm_Local";     // the camera panels
inline constexpr const char* frm_Remote1 = "frm_Remote1";
inline constexpr const char* frm_Remote2 = "frm_Remote2";
inline constexpr const char* frm_Remote3 = "frm_Remote3";
}  // namespace tavrel::frm

namespace tavrel::ctl {

using platform::ControlKind;
using platform::ControlName;

// ---- The table window ------------------------------------------------------
// The table surface and the window frame.
inline constexpr ControlName Pic1{"Pic1", ControlKind::Picture};  // the table surface: everything below sits on it
inline constexpr ControlName Skin{"Skin", ControlKind::Picture};  // Skin(0..7): the frame's pieces
inline constexpr ControlName ImgIcon{"ImgIcon", ControlKind::Picture};
inline constexpr ControlName FeltEdge{"FeltEdge", ControlKind::Picture};  // (0..2) wood beside a felt smaller than the surface
inline constexpr ControlName ImgClose{"ImgClose", ControlKind::Picture};  // (0) the button, (1..3) its pictures
inline constexpr ControlName ImgMin{"ImgMin", ControlKind::Picture};
inline constexpr ControlName LbMove{"LbMove", ControlKind::Label};  // the title strip that drags
inline constexpr ControlName lcaption{"lcaption", ControlKind::Label};
// Tiles, buttons and the table's pictures.
inline constexpr ControlName MJ_Image{"MJ_Image", ControlKind::Picture};  // (0..83) one per wall position
inline constexpr ControlName AnNiu{"AnNiu", ControlKind::Picture};        // (0..8) the window buttons
inline constexpr ControlName Operation{"Operation", ControlKind::Picture};  // (0..4) the offer buttons
inline constexpr ControlName Gang{"Gang", ControlKind::Picture};          // (0..4) the gang choices
inline constexpr ControlName Chi{"Chi", ControlKind::Picture};            // (0..5)
inline constexpr ControlName Tou{"Tou", ControlKind::Picture};            // (0..3) the avatars
inline constexpr ControlName OK{"OK", ControlKind::Picture};              // (0..3) the ready marks
inline constexpr ControlName Time_Img{"Time_Img", ControlKind::Picture};  // the countdown clock
inline constexpr ControlName Number{"Number", ControlKind::Label};        // the countdown figure
inline constexpr ControlName ZhiNan{"ZhiNan", ControlKind::Picture};      // the compass
inline constexpr ControlName Host{"Host", ControlKind::Picture};          // the dealer badge
inline constexpr ControlName Zhuang{"Zhuang", ControlKind::Label};        // the dealer's wind on it
inline constexpr ControlName Sai_Image{"Sai_Image", ControlKind::Picture};  // (0..1) the dice
inline constexpr ControlName SZ_Image{"SZ_Image", ControlKind::Picture};    // (0..15) die faces and frames
inline constexpr ControlName imgsezi{"imgsezi", ControlKind::Picture};      // (0..1) the doubling dice
inline constexpr ControlName imgBeishu{"imgBeishu", ControlKind::Picture};
inline constexpr ControlName lblDifen{"lblDifen", ControlKind::Label};
inline constexpr ControlName lbfont{"lbfont", ControlKind::Label};  // (0..2) the rule lines
inline constexpr ControlName Imgwealth{"Imgwealth", ControlKind::Picture};
inline constexpr ControlName lbwealth{"lbwealth", ControlKind::Label};
inline constexpr ControlName img_lianzhuang{"img_lianzhuang", ControlKind::Picture};  // the dealer streak
inline constexpr ControlName lbl_zhuang{"lbl_zhuang", ControlKind::Label};
inline constexpr ControlName lbl_zhuangNum{"lbl_zhuangNum", ControlKind::Label};
inline constexpr ControlName Bank{"Bank", ControlKind::Picture};
inline constexpr ControlName Bird{"Bird", ControlKind::Picture};  // the platform logo
inline constexpr ControlName WildTileImage{"WildTileImage", ControlKind::Picture};
inline constexpr ControlName WildTileLabel{"WildTileLabel", ControlKind::Picture};  // a plaque picture
// Claims shown.
inline constexpr ControlName Speak{"Speak", ControlKind::Picture};      // (0..2) the claim bubbles
inline constexpr ControlName tsSpeak{"tsSpeak", ControlKind::Picture};  // (0..2) the 跟庄 bubbles
inline constexpr ControlName Words{"Words", ControlKind::Picture};      // the claim word
inline constexpr ControlName Image1{"Image1", ControlKind::Picture};    // (0..2) gang and win words
// Seat change and the seat draw.
inline constexpr ControlName SeatDraw{"SeatDraw", ControlKind::Picture};  // (0..3) the drawn wind tiles
inline constexpr ControlName ImgShuffle{"ImgShuffle", ControlKind::Picture};
inline constexpr ControlName LblShuffle{"LblShuffle", ControlKind::Label};
// The players.
inline constexpr ControlName Nid{"Nid", ControlKind::Label};      // (0..3) names
inline constexpr ControlName Cash{"Cash", ControlKind::Label};    // (0..3) gold
inline constexpr ControlName Level{"Level", ControlKind::Label};  // (0..3) level titles
inline constexpr ControlName Location{"Location", ControlKind::Label};
// Chat and the system messages.
inline constexpr ControlName Chat{"Chat", ControlKind::TextBox};  // the chat line
inline constexpr ControlName Lbchat{"Lbchat", ControlKind::Label};
inline constexpr ControlName Sysmsg{"Sysmsg", ControlKind::List};  // (0..1)
inline constexpr ControlName imgword1{"imgword1", ControlKind::Picture};  // the quick-phrase buttons
inline constexpr ControlName imgword2{"imgword2", ControlKind::Picture};
// Props.
inline constexpr ControlName LbProp{"LbProp", ControlKind::Label};
inline constexpr ControlName ImgProp{"ImgProp", ControlKind::Picture};  // (0..14) the treasure chests
// The platform's web panels, shown as pictures of their pages.
inline constexpr ControlName WebBrowser1{"WebBrowser1", ControlKind::Picture};
inline constexpr ControlName WebBrowser2{"WebBrowser2", ControlKind::Picture};

// ---- The other windows -----------------------------------------------------
namespace Score {
inline constexpr ControlName State{"State", ControlKind::List};  // (0..3) columns, (4..7) final lines
inline constexpr ControlName ID{"ID", ControlKind::Label};       // (0..3) names
inline constexpr ControlName Tou{"Tou", ControlKind::Picture};   // (0..3) avatars
inline constexpr ControlName Image1{"Image1", ControlKind::Picture};  // close button
inline constexpr ControlName Back{"Back", ControlKind::Picture};      // the window's picture
}  // namespace Score

namespace Hero {
inline constexpr ControlName Num{"Num", ControlKind::List};      // hand numbers
inline constexpr ControlName Grade{"Grade", ControlKind::List};  // (0..3) amounts per hand
inline constexpr ControlName sumScore{"sumScore", ControlKind::Label};  // (0..3) running totals
inline constexpr ControlName ID{"ID", ControlKind::Label};       // (0..3)
inline constexpr ControlName Tou{"Tou", ControlKind::Picture};   // (0..3)
inline constexpr ControlName Label1{"Label1", ControlKind::Label};
inline constexpr ControlName Label2{"Label2", ControlKind::Label};
inline constexpr ControlName Image1{"Image1", ControlKind::Picture};  // close button
inline constexpr ControlName Back{"Back", ControlKind::Picture};      // the window's picture
}  // namespace Hero

namespace Information {
inline constexpr ControlName Inf{"Inf", ControlKind::Label};      // (0..8) the card's values
inline constexpr ControlName Title{"Title", ControlKind::Label};  // (0..8) what each value is
}  // namespace Information

namespace Talk {
inline constexpr ControlName Text1{"Text1", ControlKind::List};  // the chat history
inline constexpr ControlName Label1{"Label1", ControlKind::Label};  // close
}  // namespace Talk

namespace huifu {
inline constexpr ControlName List1{"List1", ControlKind::List};  // phrases of section Phrase1
inline constexpr ControlName List2{"List2", ControlKind::List};  // phrases of section Phrase2
inline constexpr ControlName Label1{"Label1", ControlKind::Label};  // close
}  // namespace huifu

namespace frmSpeakBox {
inline constexpr ControlName imgSpeakBox{"imgSpeakBox", ControlKind::Picture};  // (0..3) one per seat
inline constexpr ControlName picSplash{"picSplash", ControlKind::Picture};
inline constexpr ControlName labPhrase{"labPhrase", ControlKind::Label};
}  // namespace frmSpeakBox

namespace VosSet {
inline constexpr ControlName Command1{"Command1", ControlKind::Picture};  // (0) close, (1) cancel
inline constexpr ControlName Command2{"Command2", ControlKind::Picture};  // (0..3) the switches
inline constexpr ControlName Label1{"Label1", ControlKind::Label};        // (0..3) what each switch does
inline constexpr ControlName lblTitle{"lblTitle", ControlKind::Label};
}  // namespace VosSet

namespace frmExit {
inline constexpr ControlName Label1{"Label1", ControlKind::Label};
inline constexpr ControlName Label2{"Label2", ControlKind::Label};  // the runaway line
inline constexpr ControlName pbCloseMe{"pbCloseMe", ControlKind::Picture};
inline constexpr ControlName pbCancel{"pbCancel", ControlKind::Picture};
}  // namespace frmExit

namespace frmOtherExit {
inline constexpr ControlName Label1{"Label1", ControlKind::Label};  // the server's text
inline constexpr ControlName imgOK{"imgOK", ControlKind::Picture};
inline constexpr ControlName imgCancel{"imgCancel", ControlKind::Picture};
}  // namespace frmOtherExit

}  // namespace tavrel::ctl
