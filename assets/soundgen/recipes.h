#pragma once
// What our sound pack holds and how each file is made: the six table effects
// synthesised with sox, and the voices spoken by espeak-ng (then trimmed and
// levelled by sox) for both voice collections, every voice set the client can
// choose, every tile, claim and quick phrase.
#include <string>
#include <vector>

namespace soundgen {

// One command line; "{out}" stands for the file being written.
using Command = std::vector<std::string>;

struct Job {
  std::string file;           // relative to the common folder, e.g. "mj/v00101381.wav"
  std::vector<Command> pipe;  // each command's output feeds the next
  std::string input;          // text for the first command's standard input
};

struct Phrases {
  std::vector<std::string> list1, list2;  // entry n-1 is phrase n; empty entries are not spoken
};

struct Tools {
  std::string espeak = "espeak-ng";
  std::string sox = "sox";
};

std::vector<Job> EffectJobs(const Tools& tools);
std::vector<Job> VoiceJobs(const Tools& tools, const Phrases& phrases);

// The words spoken for a tile code (0x11..0x17, 0x21..0x29, 0x41..0x49, 0x81..0x89).
std::string TileWords(int code);
// Every tile code of the game.
std::vector<int> AllTileCodes();

}  // namespace soundgen
