#include "export/safe_output.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "frame/file_layer.h"
#include "platform/file_replace.h"

namespace {

// One process writes one export at a time, but two processes may write
// beside the same target: the process id keeps their temporary names apart.
int32_t TempSibling(const FSRef* target, FSRef* out) {
  char name[kFSRefPathBytes], temp[kFSRefPathBytes];
  FSRef parent;
  if (const int16_t e = FSGetName(target, name, sizeof name)) return e;
  if (const int16_t e = FSGetParentRef(target, &parent)) return e;
  const int n = std::snprintf(temp, sizeof temp, ".%s.%ld.partial", name, long(getpid()));
  if (n < 0 || size_t(n) >= 250) return kBadName;
  return FSMakeRefForName(&parent, temp, out);
}

}  // namespace

int32_t SafeOutputOpen(SafeOutput* out, const FSRef* target, int32_t kind) {
  if (!out || !target) return kBadParameter;
  const FSRef chosen = *target;  // may be out's own target
  std::memset(out, 0, sizeof *out);
  out->target = chosen;
  if (const int32_t e = TempSibling(target, &out->temp)) return e;
  FSRef parent, made;
  char name[kFSRefPathBytes];
  FSGetParentRef(&out->temp, &parent);
  FSGetName(&out->temp, name, sizeof name);
  // A temporary file left by a crashed run is reused and cut to nothing.
  const int16_t c = FSCreateObject(&parent, name, false, &made);
  if (c != kFileOK && c != kDuplicateName) return c;
  out->made = 1;
  int16_t fork = 0;
  const int32_t e = OpenAFileRef(&out->temp, &fork, 1, kind);
  if (e != 0) {
    SafeOutputAbandon(out);
    return e;
  }
  FSSetForkSize(fork, 0);
  out->fork = fork;
  return 0;
}

int32_t SafeOutputClose(SafeOutput* out) {
  if (!out || out->fork == 0) return kBadParameter;
  const int32_t t = TruncateFile(out->fork);
  const int32_t c = ZorCloseFile(out->fork);
  out->fork = 0;
  return c != 0 ? c : t;
}

int32_t SafeOutputCommit(SafeOutput* out) {
  if (!out || !out->made || out->fork != 0) return kBadParameter;
  const int32_t e = FSReplaceObject(&out->temp, &out->target);
  if (e == 0) out->made = 0;
  return e;
}

void SafeOutputAbandon(SafeOutput* out) {
  if (!out) return;
  if (out->fork != 0) ZorCloseFile(out->fork);
  out->fork = 0;
  if (out->made) FSDeleteObject(&out->temp);
  out->made = 0;
}

int32_t SiblingWithTag(const FSRef* file, const char* tag, FSRef* out) {
  if (!file || !tag || !out) return kBadParameter;
  char name[kFSRefPathBytes], extension[kFSRefPathBytes] = "", sibling[kFSRefPathBytes];
  FSRef parent;
  if (const int16_t e = FSGetName(file, name, sizeof name)) return e;
  if (const int16_t e = FSGetParentRef(file, &parent)) return e;
  if (char* dot = std::strrchr(name, '.'); dot && dot != name) {
    std::snprintf(extension, sizeof extension, "%s", dot);
    *dot = '\0';
  }
  const int n = std::snprintf(sibling, sizeof sibling, "%s%s%s", name, tag, extension);
  if (n < 0 || n >= 255) return kBadName;
  return FSMakeRefForName(&parent, sibling, out);
}
