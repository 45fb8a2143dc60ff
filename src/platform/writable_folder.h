#pragma once
// Where the client writes its files. The program folder, as the files have always
// lived beside the program, when it can be written; an installed program folder is
// read-only, so then $XDG_STATE_HOME/tavrel, else ~/.local/state/tavrel (created,
// mode 0700). Every file the client writes takes its path from here.
#include <string>

namespace tavrel::platform {

// The folder, or "" when none of the three can be written.
std::string WritableFolder(const std::string& programFolder);
// The same choice with the environment given (tests).
std::string WritableFolderFor(const std::string& programFolder, const char* xdgStateHome, const char* home);
// A file of that folder; "" when there is no folder to write in.
std::string WritableFilePath(const std::string& programFolder, const std::string& fileName);

}  // namespace tavrel::platform
