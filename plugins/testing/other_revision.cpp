// A prop plug-in of another revision of the interface: every function is there, but
// the revision it names is not the client's.
#include "props/plugin_abi.h"

#define EXPORT extern "C" __attribute__((visibility("default")))

EXPORT int32_t tavrel_prop_abi_version(void) { return TAVREL_PROP_ABI_VERSION + 1; }
EXPORT int32_t tavrel_prop_Initdll(TavrelPropText*, TavrelPropText*, const char*, int32_t, uint64_t, const char*,
                                   int32_t, int16_t*, int16_t*) { return 1; }
EXPORT int32_t tavrel_prop_GetBaoInfo(int32_t*, int32_t*, int32_t*, int32_t*, int32_t*, int32_t*, int32_t*, int32_t*) {
  return 0;
}
EXPORT void tavrel_prop_Rec_MSG(uint8_t*, int32_t) {}
EXPORT int32_t tavrel_prop_SetUserinfo(const char*, int32_t, const char*, int32_t, int32_t, int32_t, int32_t, int32_t,
                                       const char*, int32_t, const char*, int32_t) { return 1; }
EXPORT int32_t tavrel_prop_Ainit(const char*, int32_t) { return 1; }
EXPORT void tavrel_prop_rec_state(int32_t, int32_t*, int32_t) {}
EXPORT void tavrel_prop_ClearUser(int16_t) {}
EXPORT int32_t tavrel_prop_CheckSendBuff(void) { return 0; }
EXPORT void tavrel_prop_GetSendBuff(int32_t*, TavrelPropText*, uint8_t*, int32_t*, int16_t*, int32_t*, int32_t*,
                                    int32_t*, int32_t*) {}
EXPORT int32_t tavrel_prop_GetScoreInfo(TavrelPropText*, double*, TavrelPropText*) { return 0; }
EXPORT void tavrel_prop_InitShowEnd(void) {}
EXPORT void tavrel_prop_InitShowNext(int32_t) {}
EXPORT void tavrel_prop_ShowGif(int32_t, int32_t) {}
EXPORT void tavrel_prop_SetKeyDown(int16_t*) {}
EXPORT void tavrel_prop_FixBuffPos(void) {}
EXPORT void tavrel_prop_setbankstate(int32_t) {}
EXPORT void tavrel_prop_UpdataMyProp(int32_t) {}
EXPORT void tavrel_prop_InitExit(int16_t*) {}
