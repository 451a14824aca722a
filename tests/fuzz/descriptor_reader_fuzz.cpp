// Any sequence of keys and values as a replayed scripting descriptor: the
// reader takes what it can, sanitises, and never crashes.
//
// Input: records of 17 bytes: key (4; a first byte below 64 picks one of the
// plug-in's own keys instead), type (4), status (1; nonzero makes the value's
// getter fail with that code), value (8: an integer, enumeration or boolean
// in its first bytes, or a double).
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "frame/globals.h"
#include "frame/settings/scripting.h"
#include "frame/settings/settings_defaults.h"
#include "platform/plugin_api.h"

namespace {

constexpr size_t kRecordBytes = 17;

struct Feed {
  const uint8_t* data = nullptr;
  size_t size = 0, at = 0;
  const uint8_t* current = nullptr;
};
Feed feed;
int openToken;

uint32_t Word(const uint8_t* b) { return uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | b[3]; }

OSErr16 Status() { return feed.current && feed.current[8] ? OSErr16(-int(feed.current[8])) : 0; }

PIReadDescriptor Open(Handle, const DescriptorKeyID*) { return &openToken; }
OSErr16 Close(PIReadDescriptor) { return feed.size % 3 == 0 ? 0 : -1715; }
uint8_t GetKey(PIReadDescriptor, DescriptorKeyID* key, DescType* type, int32_t* flags) {
  if (feed.at + kRecordBytes > feed.size) return 0;
  feed.current = feed.data + feed.at;
  feed.at += kRecordBytes;
  *key = feed.current[0] < 64 ? kScriptKeyList[feed.current[0] % kScriptKeyListLength] : Word(feed.current);
  *type = Word(feed.current + 4);
  *flags = 0;
  return 1;
}
OSErr16 GetInt(PIReadDescriptor, int32_t* v) {
  *v = int32_t(Word(feed.current + 9));
  return Status();
}
OSErr16 GetFloat(PIReadDescriptor, double* v) {
  std::memcpy(v, feed.current + 9, sizeof *v);
  return Status();
}
OSErr16 GetUnitFloat(PIReadDescriptor, FourCC* unit, double* v) {
  *unit = 0;
  return GetFloat(nullptr, v);
}
OSErr16 GetBool(PIReadDescriptor, uint8_t* v) {
  *v = feed.current[9];
  return Status();
}
OSErr16 GetEnum(PIReadDescriptor, DescriptorEnumID* v) {
  *v = Word(feed.current + 9);
  return Status();
}
OSErr16 Refuse(PIReadDescriptor, void*) { return -1715; }
template <class T>
OSErr16 RefuseT(PIReadDescriptor, T*) {
  return -1715;
}
OSErr16 GetObject(PIReadDescriptor, FourCC*, Handle*) { return -1715; }
OSErr16 GetPinnedInt(PIReadDescriptor t, int32_t, int32_t, int32_t* v) { return GetInt(t, v); }
OSErr16 GetPinnedFloat(PIReadDescriptor t, const double*, const double*, double* v) { return GetFloat(t, v); }
OSErr16 GetPinnedUnitFloat(PIReadDescriptor t, const double*, const double*, FourCC* u, double* v) {
  return GetUnitFloat(t, u, v);
}

PIWriteDescriptor OpenWriter() { return nullptr; }
OSErr16 CloseWriter(PIWriteDescriptor, Handle*) { return 0; }
OSErr16 PutInt(PIWriteDescriptor, DescriptorKeyID, int32_t) { return 0; }
OSErr16 PutFloat(PIWriteDescriptor, DescriptorKeyID, const double*) { return 0; }
OSErr16 PutUnitFloat(PIWriteDescriptor, DescriptorKeyID, FourCC, const double*) { return 0; }
OSErr16 PutBool(PIWriteDescriptor, DescriptorKeyID, uint8_t) { return 0; }
OSErr16 PutHandle(PIWriteDescriptor, DescriptorKeyID, Handle) { return 0; }
OSErr16 PutEnum(PIWriteDescriptor, DescriptorKeyID, DescriptorEnumTypeID, DescriptorEnumID) { return 0; }
OSErr16 PutClass(PIWriteDescriptor, DescriptorKeyID, FourCC) { return 0; }
OSErr16 PutRef(PIWriteDescriptor, DescriptorKeyID, const void*) { return 0; }
OSErr16 PutObject(PIWriteDescriptor, DescriptorKeyID, FourCC, Handle) { return 0; }
OSErr16 PutCount(PIWriteDescriptor, DescriptorKeyID, uint32_t) { return 0; }
OSErr16 PutString(PIWriteDescriptor, DescriptorKeyID, const unsigned char*) { return 0; }

ReadDescriptorProcs readProcs = {kCurrentReadDescriptorProcsVersion,
                                 kCurrentReadDescriptorProcsCount,
                                 Open,
                                 Close,
                                 GetKey,
                                 GetInt,
                                 GetFloat,
                                 GetUnitFloat,
                                 GetBool,
                                 RefuseT<Handle>,
                                 RefuseT<Handle>,
                                 GetEnum,
                                 RefuseT<FourCC>,
                                 Refuse,
                                 GetObject,
                                 RefuseT<uint32_t>,
                                 RefuseT<unsigned char>,
                                 GetPinnedInt,
                                 GetPinnedFloat,
                                 GetPinnedUnitFloat};
WriteDescriptorProcs writeProcs = {kCurrentWriteDescriptorProcsVersion,
                                   kCurrentWriteDescriptorProcsCount,
                                   OpenWriter,
                                   CloseWriter,
                                   PutInt,
                                   PutFloat,
                                   PutUnitFloat,
                                   PutBool,
                                   PutHandle,
                                   PutHandle,
                                   PutEnum,
                                   PutClass,
                                   PutRef,
                                   PutObject,
                                   PutCount,
                                   PutString};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static FilterRecord record{};
  static PIDescriptorParameters params{};
  static Globals* globals = [] {
    Globals* g = static_cast<Globals*>(std::calloc(1, sizeof(Globals)));
    record.parameters = NewHandleClear(sizeof(TParameters));
    record.hostSig = MakeFourCC("TEST");
    record.descriptorParameters = &params;
    g->filterRecord = &record;
    return g;
  }();
  params = PIDescriptorParameters{0, int16_t(size % 2), 0, NewHandle(4), &writeProcs, &readProcs};
  feed = Feed{data, size, 0, nullptr};
  globals->result = 0;
  ScriptingParamsAreComing(globals);
  ReadScriptParams_zor(globals);
  if (params.descriptor) DisposeHandle(params.descriptor);
  params.descriptor = nullptr;
  return 0;
}
