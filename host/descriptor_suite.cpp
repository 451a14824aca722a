#include "host/descriptor_suite.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <new>
#include <set>

#include "platform/memory.h"

namespace gyhost {

namespace {

constexpr OSErr16 kMemFull = -108;

struct ReaderToken {
  Descriptor entries;
  size_t next = 0;
  const DescEntry* current = nullptr;  // the key getKeyProc delivered last
  std::vector<DescriptorKeyID> wanted;
  std::vector<bool> delivered;
};

struct WriterToken {
  Descriptor entries;
};

// Tokens are handed out as raw pointers; only those in these sets are honoured.
std::set<ReaderToken*> g_readers;
std::set<WriterToken*> g_writers;

ReaderToken* FindReader(PIReadDescriptor token) {
  auto* r = static_cast<ReaderToken*>(token);
  return g_readers.count(r) ? r : nullptr;
}

WriterToken* FindWriter(PIWriteDescriptor token) {
  auto* w = static_cast<WriterToken*>(token);
  return g_writers.count(w) ? w : nullptr;
}

const DescEntry* Current(PIReadDescriptor token) {
  ReaderToken* r = FindReader(token);
  return r ? r->current : nullptr;
}

int32_t ClampToInt32(int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

// Conversions a user of --set expects: 1 reads as true, 2 reads as 2.0 and so on.
bool AsInteger(const DescEntry& e, int32_t* out) {
  switch (e.kind) {
    case DescKind::Integer:
    case DescKind::Boolean:
    case DescKind::Count:
      *out = ClampToInt32(e.integer);
      return true;
    case DescKind::Float:
    case DescKind::UnitFloat:
      if (std::isnan(e.real)) return false;
      *out = int32_t(std::clamp(std::round(e.real), double(INT32_MIN), double(INT32_MAX)));
      return true;
    default:
      return false;
  }
}

bool AsFloat(const DescEntry& e, double* out) {
  switch (e.kind) {
    case DescKind::Integer:
    case DescKind::Boolean:
    case DescKind::Count:
      *out = double(e.integer);
      return true;
    case DescKind::Float:
    case DescKind::UnitFloat:
      *out = e.real;
      return true;
    default:
      return false;
  }
}

bool AsBoolean(const DescEntry& e, uint8_t* out) {
  switch (e.kind) {
    case DescKind::Integer:
    case DescKind::Boolean:
    case DescKind::Count:
      *out = e.integer != 0;
      return true;
    case DescKind::Float:
    case DescKind::UnitFloat:
      *out = e.real != 0.0;
      return true;
    default:
      return false;
  }
}

Handle HandleWithBytes(const std::vector<uint8_t>& bytes) {
  Handle h = NewHandle(int64_t(bytes.size()));
  if (h && !bytes.empty()) std::memcpy(*h, bytes.data(), bytes.size());
  return h;
}

bool BytesOfHandle(Handle h, std::vector<uint8_t>* bytes) {
  if (!h) return false;
  const int64_t size = GetHandleSize(h);
  bytes->assign(*h, *h + size);
  return true;
}

// ---- read procedures ----

PIReadDescriptor OpenRead(Handle descriptor, const DescriptorKeyID* keyList) {
  if (!descriptor) return nullptr;
  try {
    auto reader = std::make_unique<ReaderToken>();
    if (!DescriptorFromHandle(descriptor, &reader->entries)) return nullptr;
    for (const DescriptorKeyID* k = keyList; k && *k; ++k) reader->wanted.push_back(*k);
    reader->delivered.assign(reader->wanted.size(), false);
    g_readers.insert(reader.get());
    return reader.release();
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

// A test's fault: every reader's close answers this (0: none).
OSErr16 g_closeReadFault = 0;

OSErr16 CloseRead(PIReadDescriptor token) {
  ReaderToken* r = FindReader(token);
  if (!r) return kDescParamError;
  const bool allDelivered = std::all_of(r->delivered.begin(), r->delivered.end(), [](bool b) { return b; });
  g_readers.erase(r);
  delete r;
  if (g_closeReadFault != 0) return g_closeReadFault;
  return allDelivered ? 0 : kResultMissingKey;
}

uint8_t GetKey(PIReadDescriptor token, DescriptorKeyID* key, DescType* type, int32_t* flags) {
  ReaderToken* r = FindReader(token);
  if (!r || r->next >= r->entries.size()) return 0;
  const DescEntry& e = r->entries[r->next++];
  r->current = &e;
  for (size_t i = 0; i < r->wanted.size(); ++i) {
    if (r->wanted[i] == e.key) r->delivered[i] = true;
  }
  if (key) *key = e.key;
  if (type) *type = TypeOfKind(e.kind);
  if (flags) *flags = 0;
  return 1;
}

OSErr16 GetInteger(PIReadDescriptor token, int32_t* value) {
  const DescEntry* e = Current(token);
  if (!e || !value) return kDescParamError;
  return AsInteger(*e, value) ? 0 : kDescCoercionFailed;
}

OSErr16 GetFloat(PIReadDescriptor token, double* value) {
  const DescEntry* e = Current(token);
  if (!e || !value) return kDescParamError;
  return AsFloat(*e, value) ? 0 : kDescCoercionFailed;
}

OSErr16 GetUnitFloat(PIReadDescriptor token, FourCC* unit, double* value) {
  const DescEntry* e = Current(token);
  if (!e || !value) return kDescParamError;
  if (!AsFloat(*e, value)) return kDescCoercionFailed;
  if (unit) *unit = e->kind == DescKind::UnitFloat ? e->code : kUnitNone;
  return 0;
}

OSErr16 GetBoolean(PIReadDescriptor token, uint8_t* value) {
  const DescEntry* e = Current(token);
  if (!e || !value) return kDescParamError;
  return AsBoolean(*e, value) ? 0 : kDescCoercionFailed;
}

OSErr16 GetBytesAsHandle(PIReadDescriptor token, DescKind kind, Handle* value) {
  const DescEntry* e = Current(token);
  if (!e || !value) return kDescParamError;
  if (e->kind != kind) return kDescCoercionFailed;
  *value = HandleWithBytes(e->bytes);
  return *value ? 0 : kMemFull;
}

OSErr16 GetText(PIReadDescriptor token, Handle* value) { return GetBytesAsHandle(token, DescKind::Text, value); }
OSErr16 GetAlias(PIReadDescriptor token, Handle* value) { return GetBytesAsHandle(token, DescKind::Alias, value); }

OSErr16 GetEnumerated(PIReadDescriptor token, DescriptorEnumID* value) {
  const DescEntry* e = Current(token);
  if (!e || !value) return kDescParamError;
  if (e->kind != DescKind::Enumerated) return kDescCoercionFailed;
  *value = e->value;
  return 0;
}

OSErr16 GetClass(PIReadDescriptor token, FourCC* value) {
  const DescEntry* e = Current(token);
  if (!e || !value) return kDescParamError;
  if (e->kind != DescKind::Class) return kDescCoercionFailed;
  *value = e->code;
  return 0;
}

// The interface header gives a reference no layout, so references are not kept.
OSErr16 GetSimpleReference(PIReadDescriptor, void*) { return kDescParamError; }

OSErr16 GetObject(PIReadDescriptor token, FourCC* type, Handle* value) {
  const DescEntry* e = Current(token);
  if (!e || !value) return kDescParamError;
  if (e->kind != DescKind::Object) return kDescCoercionFailed;
  if (type) *type = e->code;
  *value = HandleWithBytes(e->bytes);
  return *value ? 0 : kMemFull;
}

OSErr16 GetCount(PIReadDescriptor token, uint32_t* value) {
  const DescEntry* e = Current(token);
  if (!e || !value) return kDescParamError;
  if ((e->kind != DescKind::Count && e->kind != DescKind::Integer) || e->integer < 0) return kDescCoercionFailed;
  *value = uint32_t(std::min<int64_t>(e->integer, UINT32_MAX));
  return 0;
}

OSErr16 GetString(PIReadDescriptor token, unsigned char* value) {
  const DescEntry* e = Current(token);
  if (!e || !value) return kDescParamError;
  if (e->kind != DescKind::String && e->kind != DescKind::Text) return kDescCoercionFailed;
  const size_t n = std::min<size_t>(e->bytes.size(), 255);
  value[0] = uint8_t(n);
  if (n) std::memcpy(value + 1, e->bytes.data(), n);
  return 0;
}

OSErr16 GetPinnedInteger(PIReadDescriptor token, int32_t min, int32_t max, int32_t* value) {
  const OSErr16 err = GetInteger(token, value);
  if (err == 0 && min <= max) *value = std::clamp(*value, min, max);
  return err;
}

OSErr16 GetPinnedFloat(PIReadDescriptor token, const double* min, const double* max, double* value) {
  const OSErr16 err = GetFloat(token, value);
  if (err != 0) return err;
  if (min && *value < *min) *value = *min;
  if (max && *value > *max) *value = *max;
  return 0;
}

OSErr16 GetPinnedUnitFloat(PIReadDescriptor token, const double* min, const double* max, FourCC* unit, double* value) {
  const OSErr16 err = GetUnitFloat(token, unit, value);
  if (err != 0) return err;
  if (min && *value < *min) *value = *min;
  if (max && *value > *max) *value = *max;
  return 0;
}

// ---- write procedures ----

PIWriteDescriptor OpenWrite() {
  try {
    auto writer = std::make_unique<WriterToken>();
    g_writers.insert(writer.get());
    return writer.release();
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

OSErr16 CloseWrite(PIWriteDescriptor token, Handle* newDescriptor) {
  WriterToken* w = FindWriter(token);
  if (!w) return kDescParamError;
  Handle h = DescriptorToHandle(w->entries);
  g_writers.erase(w);
  delete w;
  if (newDescriptor) {
    *newDescriptor = h;
  } else {
    DisposeHandle(h);
  }
  return h ? 0 : kMemFull;
}

OSErr16 Put(PIWriteDescriptor token, DescEntry entry) {
  WriterToken* w = FindWriter(token);
  if (!w) return kDescParamError;
  try {
    w->entries.push_back(std::move(entry));
  } catch (const std::bad_alloc&) {
    return kMemFull;
  }
  return 0;
}

DescEntry Entry(DescriptorKeyID key, DescKind kind) {
  DescEntry e;
  e.key = key;
  e.kind = kind;
  return e;
}

OSErr16 PutInteger(PIWriteDescriptor token, DescriptorKeyID key, int32_t value) {
  DescEntry e = Entry(key, DescKind::Integer);
  e.integer = value;
  return Put(token, std::move(e));
}

OSErr16 PutFloat(PIWriteDescriptor token, DescriptorKeyID key, const double* value) {
  if (!value) return kDescParamError;
  DescEntry e = Entry(key, DescKind::Float);
  e.real = *value;
  return Put(token, std::move(e));
}

OSErr16 PutUnitFloat(PIWriteDescriptor token, DescriptorKeyID key, FourCC unit, const double* value) {
  if (!value) return kDescParamError;
  DescEntry e = Entry(key, DescKind::UnitFloat);
  e.code = unit;
  e.real = *value;
  return Put(token, std::move(e));
}

OSErr16 PutBoolean(PIWriteDescriptor token, DescriptorKeyID key, uint8_t value) {
  DescEntry e = Entry(key, DescKind::Boolean);
  e.integer = value ? 1 : 0;
  return Put(token, std::move(e));
}

OSErr16 PutHandleBytes(PIWriteDescriptor token, DescriptorKeyID key, DescKind kind, FourCC code, Handle value) {
  DescEntry e = Entry(key, kind);
  e.code = code;
  if (!BytesOfHandle(value, &e.bytes)) return kDescParamError;
  return Put(token, std::move(e));
}

OSErr16 PutText(PIWriteDescriptor token, DescriptorKeyID key, Handle value) {
  return PutHandleBytes(token, key, DescKind::Text, 0, value);
}

OSErr16 PutAlias(PIWriteDescriptor token, DescriptorKeyID key, Handle value) {
  return PutHandleBytes(token, key, DescKind::Alias, 0, value);
}

OSErr16 PutEnumerated(PIWriteDescriptor token, DescriptorKeyID key, DescriptorEnumTypeID type, DescriptorEnumID value) {
  DescEntry e = Entry(key, DescKind::Enumerated);
  e.code = type;
  e.value = value;
  return Put(token, std::move(e));
}

OSErr16 PutClass(PIWriteDescriptor token, DescriptorKeyID key, FourCC value) {
  DescEntry e = Entry(key, DescKind::Class);
  e.code = value;
  return Put(token, std::move(e));
}

OSErr16 PutSimpleReference(PIWriteDescriptor, DescriptorKeyID, const void*) { return kDescParamError; }

OSErr16 PutObject(PIWriteDescriptor token, DescriptorKeyID key, FourCC type, Handle value) {
  return PutHandleBytes(token, key, DescKind::Object, type, value);
}

OSErr16 PutCount(PIWriteDescriptor token, DescriptorKeyID key, uint32_t count) {
  DescEntry e = Entry(key, DescKind::Count);
  e.integer = count;
  return Put(token, std::move(e));
}

OSErr16 PutString(PIWriteDescriptor token, DescriptorKeyID key, const unsigned char* value) {
  if (!value) return kDescParamError;
  DescEntry e = Entry(key, DescKind::String);
  e.bytes.assign(value + 1, value + 1 + value[0]);
  return Put(token, std::move(e));
}

// Scoped puts carry the same values as their plain twins.
OSErr16 PutScopedClass(PIWriteDescriptor token, DescriptorKeyID key, FourCC value) {
  return PutClass(token, key, value);
}

OSErr16 PutScopedObject(PIWriteDescriptor token, DescriptorKeyID key, FourCC type, Handle value) {
  return PutObject(token, key, type, value);
}

}  // namespace

void SetCloseReadFault(OSErr16 result) { g_closeReadFault = result; }

ReadDescriptorProcs MakeReadDescriptorProcs() {
  ReadDescriptorProcs p{};
  p.readDescriptorProcsVersion = kCurrentReadDescriptorProcsVersion;
  p.numReadDescriptorProcs = kCurrentReadDescriptorProcsCount;
  p.openReadDescriptorProc = OpenRead;
  p.closeReadDescriptorProc = CloseRead;
  p.getKeyProc = GetKey;
  p.getIntegerProc = GetInteger;
  p.getFloatProc = GetFloat;
  p.getUnitFloatProc = GetUnitFloat;
  p.getBooleanProc = GetBoolean;
  p.getTextProc = GetText;
  p.getAliasProc = GetAlias;
  p.getEnumeratedProc = GetEnumerated;
  p.getClassProc = GetClass;
  p.getSimpleReferenceProc = GetSimpleReference;
  p.getObjectProc = GetObject;
  p.getCountProc = GetCount;
  p.getStringProc = GetString;
  p.getPinnedIntegerProc = GetPinnedInteger;
  p.getPinnedFloatProc = GetPinnedFloat;
  p.getPinnedUnitFloatProc = GetPinnedUnitFloat;
  return p;
}

WriteDescriptorProcs MakeWriteDescriptorProcs() {
  WriteDescriptorProcs p{};
  p.writeDescriptorProcsVersion = kCurrentWriteDescriptorProcsVersion;
  p.numWriteDescriptorProcs = kCurrentWriteDescriptorProcsCount;
  p.openWriteDescriptorProc = OpenWrite;
  p.closeWriteDescriptorProc = CloseWrite;
  p.putIntegerProc = PutInteger;
  p.putFloatProc = PutFloat;
  p.putUnitFloatProc = PutUnitFloat;
  p.putBooleanProc = PutBoolean;
  p.putTextProc = PutText;
  p.putAliasProc = PutAlias;
  p.putEnumeratedProc = PutEnumerated;
  p.putClassProc = PutClass;
  p.putSimpleReferenceProc = PutSimpleReference;
  p.putObjectProc = PutObject;
  p.putCountProc = PutCount;
  p.putStringProc = PutString;
  p.putScopedClassProc = PutScopedClass;
  p.putScopedObjectProc = PutScopedObject;
  return p;
}

Handle DescriptorToHandle(const Descriptor& d) {
  try {
    return HandleWithBytes(EncodeDescriptor(d));
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

bool DescriptorFromHandle(Handle h, Descriptor* d) {
  if (!h) return false;
  return DecodeDescriptor(reinterpret_cast<const uint8_t*>(*h), size_t(GetHandleSize(h)), d);
}

int32_t CloseForgottenDescriptorTokens() {
  const int32_t count = int32_t(g_readers.size() + g_writers.size());
  for (ReaderToken* r : g_readers) delete r;
  for (WriterToken* w : g_writers) delete w;
  g_readers.clear();
  g_writers.clear();
  return count;
}

}  // namespace gyhost
