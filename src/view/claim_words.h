#pragma once
// The claim announcement beside another seat: the bubble Speak(i) in its place,
// the word picture in Words or Image1(i), and hiding them again (i = relative seat - 1).
namespace tavrel {
struct ClientContext;
}

namespace tavrel::view {

// Claim words in ClaimWordPictures order.
enum ClaimWord : int {
  kWordChi = 0,
  kWordPeng = 1,
  kWordGang = 2,
  kWordConcealedGang = 3,
  kWordRedGang = 4,
  kWordWildGang = 5,
  kWordOpenGang = 6,
  kWordHu = 7,
};

// Speak(i) beside its seat: the left seat at (8, 330), the top seat under its avatar,
// the right seat at (936, 280), kept on the felt.
void PlaceClaimBubble(ClientContext& ctx, int i);
// The word in Words (one picture for the table) or in the seat's own Image1(i), over
// the seat's bubble, in front.
void ShowClaimWord(ClientContext& ctx, int i, int word, bool inImage1);
// Speak(i) and Image1(i) hidden; Words too when `words`.
void HideClaimBubble(ClientContext& ctx, int i, bool words);

}  // namespace tavrel::view
