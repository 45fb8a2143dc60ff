#pragma once
// The prop plug-in's library: its C functions, found by name in a shared library
// (dlopen) or given directly (tests).
#include <memory>
#include <string>

#include "props/plugin_abi.h"

namespace tavrel::props {

// The plug-in's functions. A table is complete or not made at all.
struct PluginApi {
  // Keeps the library loaded while any copy of the table lives.
  std::shared_ptr<void> library;
  decltype(&tavrel_prop_abi_version) abi_version = nullptr;
  decltype(&tavrel_prop_Initdll) Initdll = nullptr;
  decltype(&tavrel_prop_GetBaoInfo) GetBaoInfo = nullptr;
  decltype(&tavrel_prop_Rec_MSG) Rec_MSG = nullptr;
  decltype(&tavrel_prop_SetUserinfo) SetUserinfo = nullptr;
  decltype(&tavrel_prop_Ainit) Ainit = nullptr;
  decltype(&tavrel_prop_rec_state) rec_state = nullptr;
  decltype(&tavrel_prop_ClearUser) ClearUser = nullptr;
  decltype(&tavrel_prop_CheckSendBuff) CheckSendBuff = nullptr;
  decltype(&tavrel_prop_GetSendBuff) GetSendBuff = nullptr;
  decltype(&tavrel_prop_GetScoreInfo) GetScoreInfo = nullptr;
  decltype(&tavrel_prop_InitShowEnd) InitShowEnd = nullptr;
  decltype(&tavrel_prop_InitShowNext) InitShowNext = nullptr;
  decltype(&tavrel_prop_ShowGif) ShowGif = nullptr;
  decltype(&tavrel_prop_SetKeyDown) SetKeyDown = nullptr;
  decltype(&tavrel_prop_FixBuffPos) FixBuffPos = nullptr;
  decltype(&tavrel_prop_setbankstate) setbankstate = nullptr;
  decltype(&tavrel_prop_UpdataMyProp) UpdataMyProp = nullptr;
  decltype(&tavrel_prop_InitExit) InitExit = nullptr;

  // Every function is there.
  bool Complete() const;
};

// The plug-in's file under the program folder (never the current folder: a library
// found there could be anybody's).
std::string PluginPath(const std::string& programFolder);

struct LoadedPlugin {
  std::shared_ptr<const PluginApi> api;  // null when not loaded
  std::string problem;                   // why not, for the debug log
};
// Loads the library at `path`: nothing when the file is missing, is no shared library
// for this system, lacks a function or speaks another revision of the interface.
LoadedPlugin LoadPluginLibrary(const std::string& path);

}  // namespace tavrel::props
