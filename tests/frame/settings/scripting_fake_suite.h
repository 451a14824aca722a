// A descriptor suite and handle suite kept in memory, standing in for a
// host that records and replays: a descriptor is a list of typed, keyed
// values in the order they were put.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "platform/memory.h"
#include "platform/plugin_api.h"

namespace fake_suite {

struct Entry {
  DescriptorKeyID key;
  DescType type;
  int32_t i = 0;
  double f = 0;
  uint8_t b = 0;
  FourCC enumType = 0;
  FourCC enumCode = 0;
};

inline Entry IntEntry(const char (&k)[5], int32_t v) { return Entry{MakeFourCC(k), kTypeInteger, v}; }
inline Entry FloatEntry(const char (&k)[5], double v) {
  Entry e{MakeFourCC(k), kTypeFloat};
  e.f = v;
  return e;
}
inline Entry BoolEntry(const char (&k)[5], bool v) {
  Entry e{MakeFourCC(k), kTypeBoolean};
  e.b = v;
  return e;
}
inline Entry EnumEntry(const char (&k)[5], const char (&type)[5], const char (&code)[5]) {
  Entry e{MakeFourCC(k), kTypeEnumerated};
  e.enumType = MakeFourCC(type);
  e.enumCode = MakeFourCC(code);
  return e;
}

constexpr OSErr16 kWrongType = -1700;

struct Reader {
  std::vector<Entry> entries;
  size_t next = 0;
  const Entry* current = nullptr;
  std::vector<DescriptorKeyID> wanted;
};
struct Writer {
  std::vector<Entry> entries;
};

struct State {
  std::map<Handle, std::vector<Entry>> stored;
  std::vector<Handle> disposed;
  int readersOpened = 0;
  int readersOpen = 0;
  int writersOpened = 0;
  OSErr16 closeError = 0;  // answered by a reader's close instead of its own result
};
inline State& S() {
  static State s;
  return s;
}

inline PIReadDescriptor OpenRead(Handle d, const DescriptorKeyID* keys) {
  auto it = S().stored.find(d);
  if (it == S().stored.end()) return nullptr;
  auto* r = new Reader{it->second, 0, nullptr, {}};
  for (; keys && *keys; ++keys) r->wanted.push_back(*keys);
  ++S().readersOpened;
  ++S().readersOpen;
  return r;
}
inline OSErr16 CloseRead(PIReadDescriptor t) {
  std::unique_ptr<Reader> r(static_cast<Reader*>(t));
  --S().readersOpen;
  if (S().closeError) return S().closeError;
  for (DescriptorKeyID k : r->wanted) {
    bool found = false;
    for (const Entry& e : r->entries) found |= e.key == k;
    if (!found) return kResultMissingKey;
  }
  return 0;
}
inline uint8_t GetKey(PIReadDescriptor t, DescriptorKeyID* key, DescType* type, int32_t* flags) {
  auto* r = static_cast<Reader*>(t);
  if (r->next >= r->entries.size()) return 0;
  r->current = &r->entries[r->next++];
  *key = r->current->key;
  *type = r->current->type;
  *flags = 0;
  return 1;
}
inline OSErr16 GetInt(PIReadDescriptor t, int32_t* v) {
  const Entry* e = static_cast<Reader*>(t)->current;
  if (e->type != kTypeInteger) return kWrongType;
  *v = e->i;
  return 0;
}
inline OSErr16 GetFloat(PIReadDescriptor t, double* v) {
  const Entry* e = static_cast<Reader*>(t)->current;
  if (e->type != kTypeFloat) return kWrongType;
  *v = e->f;
  return 0;
}
// Like the hosts we serve, an integer is delivered as a boolean on request.
inline OSErr16 GetBool(PIReadDescriptor t, uint8_t* v) {
  const Entry* e = static_cast<Reader*>(t)->current;
  if (e->type == kTypeBoolean)
    *v = e->b;
  else if (e->type == kTypeInteger)
    *v = e->i != 0;
  else
    return kWrongType;
  return 0;
}
inline OSErr16 GetEnum(PIReadDescriptor t, DescriptorEnumID* v) {
  const Entry* e = static_cast<Reader*>(t)->current;
  if (e->type != kTypeEnumerated) return kWrongType;
  *v = e->enumCode;
  return 0;
}
template <class... A>
OSErr16 Refuse(A...) {
  return kWrongType;
}

inline PIWriteDescriptor OpenWrite() {
  ++S().writersOpened;
  return new Writer;
}
inline OSErr16 CloseWrite(PIWriteDescriptor t, Handle* out) {
  std::unique_ptr<Writer> w(static_cast<Writer*>(t));
  Handle h = NewHandle(1);
  S().stored[h] = w->entries;
  *out = h;
  return 0;
}
inline OSErr16 PutInt(PIWriteDescriptor t, DescriptorKeyID k, int32_t v) {
  static_cast<Writer*>(t)->entries.push_back(Entry{k, kTypeInteger, v});
  return 0;
}
inline OSErr16 PutFloat(PIWriteDescriptor t, DescriptorKeyID k, const double* v) {
  Entry e{k, kTypeFloat};
  e.f = *v;
  static_cast<Writer*>(t)->entries.push_back(e);
  return 0;
}
inline OSErr16 PutBool(PIWriteDescriptor t, DescriptorKeyID k, uint8_t v) {
  Entry e{k, kTypeBoolean};
  e.b = v;
  static_cast<Writer*>(t)->entries.push_back(e);
  return 0;
}
inline OSErr16 PutEnum(PIWriteDescriptor t, DescriptorKeyID k, DescriptorEnumTypeID type, DescriptorEnumID code) {
  Entry e{k, kTypeEnumerated};
  e.enumType = type;
  e.enumCode = code;
  static_cast<Writer*>(t)->entries.push_back(e);
  return 0;
}

inline Handle NewH(int32_t size) { return NewHandle(size); }
inline void DisposeH(Handle h) {
  S().disposed.push_back(h);
  S().stored.erase(h);
  DisposeHandle(h);
}
inline int32_t SizeH(Handle h) { return int32_t(GetHandleSize(h)); }
inline OSErr16 SetSizeH(Handle, int32_t) { return 0; }
inline char* LockH(Handle h, uint8_t) { return *h; }
inline void UnlockH(Handle) {}
inline void RecoverH(int32_t) {}

inline ReadDescriptorProcs ReadProcs() {
  ReadDescriptorProcs r{};
  r.readDescriptorProcsVersion = kCurrentReadDescriptorProcsVersion;
  r.numReadDescriptorProcs = kCurrentReadDescriptorProcsCount;
  r.openReadDescriptorProc = OpenRead;
  r.closeReadDescriptorProc = CloseRead;
  r.getKeyProc = GetKey;
  r.getIntegerProc = GetInt;
  r.getFloatProc = GetFloat;
  r.getUnitFloatProc = Refuse<PIReadDescriptor, FourCC*, double*>;
  r.getBooleanProc = GetBool;
  r.getTextProc = Refuse<PIReadDescriptor, Handle*>;
  r.getAliasProc = Refuse<PIReadDescriptor, Handle*>;
  r.getEnumeratedProc = GetEnum;
  r.getClassProc = Refuse<PIReadDescriptor, FourCC*>;
  r.getSimpleReferenceProc = Refuse<PIReadDescriptor, void*>;
  r.getObjectProc = Refuse<PIReadDescriptor, FourCC*, Handle*>;
  r.getCountProc = Refuse<PIReadDescriptor, uint32_t*>;
  r.getStringProc = Refuse<PIReadDescriptor, unsigned char*>;
  r.getPinnedIntegerProc = Refuse<PIReadDescriptor, int32_t, int32_t, int32_t*>;
  r.getPinnedFloatProc = Refuse<PIReadDescriptor, const double*, const double*, double*>;
  r.getPinnedUnitFloatProc = Refuse<PIReadDescriptor, const double*, const double*, FourCC*, double*>;
  return r;
}

inline WriteDescriptorProcs WriteProcs() {
  WriteDescriptorProcs w{};
  w.writeDescriptorProcsVersion = kCurrentWriteDescriptorProcsVersion;
  w.numWriteDescriptorProcs = kCurrentWriteDescriptorProcsCount;
  w.openWriteDescriptorProc = OpenWrite;
  w.closeWriteDescriptorProc = CloseWrite;
  w.putIntegerProc = PutInt;
  w.putFloatProc = PutFloat;
  w.putBooleanProc = PutBool;
  w.putEnumeratedProc = PutEnum;
  return w;
}

inline HandleProcs HandleSuite() {
  HandleProcs h{};
  h.handleProcsVersion = kCurrentHandleProcsVersion;
  h.numHandleProcs = kCurrentHandleProcsCount;
  h.newProc = NewH;
  h.disposeProc = DisposeH;
  h.getSizeProc = SizeH;
  h.setSizeProc = SetSizeH;
  h.lockProc = LockH;
  h.unlockProc = UnlockH;
  h.recoverSpaceProc = RecoverH;
  h.disposeRegularHandleProc = DisposeH;
  return h;
}

// A descriptor the host hands in for replay.
inline Handle MakeDescriptor(std::vector<Entry> entries) {
  Handle h = NewHandle(1);
  S().stored[h] = std::move(entries);
  return h;
}

}  // namespace fake_suite
