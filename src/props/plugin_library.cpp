#include "props/plugin_library.h"

#include <dlfcn.h>
#include <sys/stat.h>

namespace tavrel::props {
namespace {

template <class F>
bool Find(void* library, const char* name, F& out, std::string& missing) {
  out = reinterpret_cast<F>(dlsym(library, name));
  if (!out && missing.empty()) missing = name;
  return out != nullptr;
}

}  // namespace

bool PluginApi::Complete() const {
  return abi_version && Initdll && GetBaoInfo && Rec_MSG && SetUserinfo && Ainit && rec_state && ClearUser &&
         CheckSendBuff && GetSendBuff && GetScoreInfo && InitShowEnd && InitShowNext && ShowGif && SetKeyDown &&
         FixBuffPos && setbankstate && UpdataMyProp && InitExit;
}

std::string PluginPath(const std::string& programFolder) {
  std::string folder = programFolder;
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder + "plugin/tools/PropDll.so";
}

LoadedPlugin LoadPluginLibrary(const std::string& path) {
  struct stat st {};
  if (path.empty() || path.front() != '/') return {nullptr, "not an absolute path: " + path};
  if (stat(path.c_str(), &st) != 0) return {nullptr, "missing: " + path};
  if (!S_ISREG(st.st_mode)) return {nullptr, "not a file: " + path};
  // RTLD_LOCAL: the plug-in's own symbols never stand in for the client's.
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* why = dlerror();
    return {nullptr, std::string("not loadable: ") + (why ? why : path)};
  }
  auto api = std::make_shared<PluginApi>();
  api->library = std::shared_ptr<void>(handle, [](void* h) { dlclose(h); });
  std::string missing;
  void* h = handle;
  Find(h, "tavrel_prop_abi_version", api->abi_version, missing);
  Find(h, "tavrel_prop_Initdll", api->Initdll, missing);
  Find(h, "tavrel_prop_GetBaoInfo", api->GetBaoInfo, missing);
  Find(h, "tavrel_prop_Rec_MSG", api->Rec_MSG, missing);
  Find(h, "tavrel_prop_SetUserinfo", api->SetUserinfo, missing);
  Find(h, "tavrel_prop_Ainit", api->Ainit, missing);
  Find(h, "tavrel_prop_rec_state", api->rec_state, missing);
  Find(h, "tavrel_prop_ClearUser", api->ClearUser, missing);
  Find(h, "tavrel_prop_CheckSendBuff", api->CheckSendBuff, missing);
  Find(h, "tavrel_prop_GetSendBuff", api->GetSendBuff, missing);
  Find(h, "tavrel_prop_GetScoreInfo", api->GetScoreInfo, missing);
  Find(h, "tavrel_prop_InitShowEnd", api->InitShowEnd, missing);
  Find(h, "tavrel_prop_InitShowNext", api->InitShowNext, missing);
  Find(h, "tavrel_prop_ShowGif", api->ShowGif, missing);
  Find(h, "tavrel_prop_SetKeyDown", api->SetKeyDown, missing);
  Find(h, "tavrel_prop_FixBuffPos", api->FixBuffPos, missing);
  Find(h, "tavrel_prop_setbankstate", api->setbankstate, missing);
  Find(h, "tavrel_prop_UpdataMyProp", api->UpdataMyProp, missing);
  Find(h, "tavrel_prop_InitExit", api->InitExit, missing);
  if (!missing.empty()) return {nullptr, "lacks " + missing + ": " + path};
  const int version = api->abi_version();
  if (version != TAVREL_PROP_ABI_VERSION)
    return {nullptr, "interface revision " + std::to_string(version) + ", not " +
                         std::to_string(TAVREL_PROP_ABI_VERSION) + ": " + path};
  return {api, {}};
}

}  // namespace tavrel::props
