/* The prop plug-in's C interface: the functions a prop plug-in (a shared library
 * in the program folder's plugin/tools/) exports for the table client. One function
 * per method the table calls; by-ref arguments are pointers; text is code page 936
 * (GBK) bytes with a length, never zero-terminated. docs/plugin-interface.md tells
 * when each is called and what the client does with the answers.
 *
 * This header is plain C so that a plug-in can be written in any language with a C
 * calling convention. Every function is called on the client's one thread. */
#ifndef TAVREL_PROPS_PLUGIN_ABI_H
#define TAVREL_PROPS_PLUGIN_ABI_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The interface revision this header describes; tavrel_prop_abi_version returns it. */
#define TAVREL_PROP_ABI_VERSION 1

/* A text the plug-in may rewrite: `bytes` has room for `capacity` bytes; the plug-in
 * writes at most that many and sets `length`. A length outside 0..capacity is garbage
 * and makes the client ignore the text. */
typedef struct TavrelPropText {
  char* bytes;
  int32_t length;
  int32_t capacity;
} TavrelPropText;

/* Sizes of the client's buffers. */
#define TAVREL_PROP_PACKET_BYTES 272   /* one game packet */
#define TAVREL_PROP_TEXT_BYTES 1024    /* room of every by-ref text */
#define TAVREL_PROP_CHESTS 15          /* chest places: 5 per seat that may hold one */
#define TAVREL_PROP_LAYOUT_ENTRIES 8   /* room of the layout and style arrays of an item */

/* Item types handed out by GetSendBuff. */
enum {
  TAVREL_PROP_ITEM_SYSTEM_LINE = 0, /* text: a system line */
  TAVREL_PROP_ITEM_FLOATING = 1,    /* text, layout 0..3, style 0..4: the floating message */
  TAVREL_PROP_ITEM_PACKET = 2,      /* packet of 272 bytes: sent to the server */
  TAVREL_PROP_ITEM_AVATAR_CLICK = 3,/* text "1".."3": a click on that seat's avatar */
  TAVREL_PROP_ITEM_KEY = 4,         /* text: a key code pressed on the table */
  TAVREL_PROP_ITEM_AVATAR_HOVER = 5 /* text "0".."3": the pointer over that seat's avatar */
};

/* The exported functions, by name. A library that lacks any of them is not loaded. */
int32_t tavrel_prop_abi_version(void);

/* Loading. userName and second are by-ref texts; kind is "DLL", config "newvlp";
 * displayScale 1 (full size) or 2 (small screen); pluginNumber is command-line field 15.
 * Nonzero = initialised. */
int32_t tavrel_prop_Initdll(TavrelPropText* userName, TavrelPropText* second, const char* kind, int32_t kindLength,
                            uint64_t mainWindow, const char* config, int32_t configLength, int16_t* displayScale,
                            int16_t* pluginNumber);

/* The chests' layout, asked right after a successful Initdll. positions: X of chest m at
 * entry m, Y at entry m + 15; *positionCount (room on the way in: 30) is set to the
 * number written, which must be 30. size: width, height; labelPosition and
 * openPosition: X, Y; all in the table's design units (1024 x 768). The pictures are
 * ids of the picture pack. *animationTicks: the opening's length in 50 ms ticks.
 * Nonzero = chests in use. */
int32_t tavrel_prop_GetBaoInfo(int32_t* positions, int32_t* positionCount, int32_t* size, int32_t* closedPicture,
                               int32_t* openPicture, int32_t* labelPosition, int32_t* openPosition,
                               int32_t* animationTicks);

/* A received prop packet, or one of a command the client does not know: 272 bytes. */
void tavrel_prop_Rec_MSG(uint8_t* packet, int32_t length);

/* A seated player's details. Nonzero = the plug-in can go on at this table. */
int32_t tavrel_prop_SetUserinfo(const char* userName, int32_t userNameLength, const char* tableName,
                                int32_t tableNameLength, int32_t seatMask, int32_t position, int32_t hasCredit,
                                int32_t gender, const char* tag, int32_t tagLength, const char* face,
                                int32_t faceLength);

/* A player left between hands (after the per-seat rec_state calls). */
int32_t tavrel_prop_Ainit(const char* text, int32_t length);

/* State changes: (3, 1) login or reconnection sent or accepted, (3, 0) connection lost;
 * (1, switch) the sound effects switch was toggled; (1..3 position, 0, 2) a player
 * left, per other seat. */
void tavrel_prop_rec_state(int32_t code, int32_t* value, int32_t data);

/* Forget the player at position 1..3. */
void tavrel_prop_ClearUser(int16_t position);

/* Polled every 50 ms: how many items wait. */
int32_t tavrel_prop_CheckSendBuff(void);

/* The next item. picture: a picture id or 0; text: by-ref text; packet: room for 272
 * bytes, *packetLength (room on the way in) set to the bytes written; type: the item
 * type; layout and style: room for *layoutCount and *styleCount entries, set to the
 * numbers written. */
void tavrel_prop_GetSendBuff(int32_t* picture, TavrelPropText* text, uint8_t* packet, int32_t* packetLength,
                             int16_t* type, int32_t* layout, int32_t* layoutCount, int32_t* style,
                             int32_t* styleCount);

/* The hand's prop results, polled while a settlement waits: per seat position s
 * (0 = the local player) two texts entries[2s] (the chest's title) and entries[2s + 1]
 * (its lines, separated by "|"; a line may end in an 8-digit colour, red in the low
 * byte), the gold won gold[s] and the display name names[s]. A seat has a chest when
 * either text is not empty. 1 = ready. */
int32_t tavrel_prop_GetScoreInfo(TavrelPropText* entries, double* gold, TavrelPropText* names);

/* The hand's results are complete and the hand-end show begins. */
void tavrel_prop_InitShowEnd(void);
/* 1: a new hand clears the chests; 0: the settlement sheet has been shown. */
void tavrel_prop_InitShowNext(int32_t newHand);
/* (1, 1) a chest opens; (1, 0) its animation has ended. */
void tavrel_prop_ShowGif(int32_t which, int32_t on);
/* A function key F1..F6 (112..117). */
void tavrel_prop_SetKeyDown(int16_t* key);
/* The table window was restored or resized. */
void tavrel_prop_FixBuffPos(void);
/* 0: the bank button was clicked; 2: the quit confirmation is toggled. */
void tavrel_prop_setbankstate(int32_t state);
/* The player confirmed quitting (0). */
void tavrel_prop_UpdataMyProp(int32_t update);
/* The table is gone: the plug-in ends its work. */
void tavrel_prop_InitExit(int16_t* code);

#ifdef __cplusplus
}
#endif

#endif /* TAVREL_PROPS_PLUGIN_ABI_H */
