#include "frame/base/file_refs.h"

#include <cstdio>
#include <cstring>

#include "frame/base/file_layer.h"
#include "frame/base/text_utils.h"
#include "platform/mac_roman.h"

namespace {

constexpr int32_t kLastRenumbering = 999;
constexpr int32_t kAllNamesTaken = 48;

int32_t PrefsRef(FSRef* out, const char* name, uint8_t create) {
  if (!out || !name) return kNullReferenceArgument;
  FSRef folder;
  if (const int32_t e = FSFindFolder(FolderKind_Preferences, true, &folder)) return e;
  return RefCreateCore(&folder, name, out, 0, nullptr, nullptr, create);
}

}  // namespace

int32_t RefCreateCore(const FSRef* parent, const char* name, FSRef* out, int32_t folderFlag, uint8_t* existed,
                      FSSpec* spec, uint8_t create) {
  if (!parent || !name || !out) return kNullReferenceArgument;
  if (existed) *existed = 0;
  char utf8[kFSRefPathBytes];
  if (!MacRomanToUtf8(name, utf8, sizeof utf8)) return kBadName;
  FSRef made;
  int32_t e;
  if (create) {
    e = FSCreateObject(parent, utf8, folderFlag == 1, &made);
    if (e == kDuplicateName) {
      e = FSMakeRefByName(parent, utf8, &made);
      if (existed) *existed = 1;
      // A file never stands in for a folder that was asked for.
      if (e == kFileOK && folderFlag == 1 && !FSRefIsFolder(&made)) e = kDuplicateName;
    }
  } else {
    // A probe never touches the folder: look the name up instead of creating
    // and deleting it.
    e = FSMakeRefByName(parent, utf8, &made);
    if (e == kFileOK && existed) *existed = 1;
  }
  if (e == kFileOK) {
    *out = made;
    if (spec) spec->ref = made;
  }
  return e;
}

int32_t CreateNewFileRefFromParentRefAndCName(const FSRef* parent, const char* name, FSRef* out, uint8_t create) {
  return RefCreateCore(parent, name, out, 0, nullptr, nullptr, create);
}

int32_t ZorDirCreate(const FSRef* parent, const char* name, FSRef* out) {
  if (!parent || !name || !out) return kNullFolderArgument;
  return RefCreateCore(parent, name, out, 1, nullptr, nullptr, 1);
}

int32_t GetPrefsFileRefC_for_reading(FSRef* out, const char* name) { return PrefsRef(out, name, 0); }

int32_t GetPrefsFileRefC_for_writing(FSRef* out, const char* name) { return PrefsRef(out, name, 1); }

int32_t GetTempFileRefC(FSRef* out, const char* name) {
  if (!out || !name) return kNullReferenceArgument;
  FSRef folder;
  if (const int32_t e = FSFindFolder(FolderKind_Temporary, true, &folder)) return e;
  return RefCreateCore(&folder, name, out, 0, nullptr, nullptr, 1);
}

int32_t MakeRefForNewFileInSameDirectoryAsOldFile(const FSRef* old, const char* name, FSRef* out) {
  if (!old || !name || !out) return kNullReferenceArgument;
  FSRef folder;
  if (const int32_t e = GetParentDirectory(old, &folder)) return e;
  return RefCreateCore(&folder, name, out, 0, nullptr, nullptr, 1);
}

int32_t CreateNewFileRef_noncolliding(const FSRef* parent, const char* name, FSRef* out, FSSpec* spec) {
  if (!parent || !name || !out) return kNullReferenceArgument;
  uint8_t existed = 0;
  int32_t e = RefCreateCore(parent, name, out, 0, &existed, spec, 1);
  for (int32_t n = 2; existed && n <= kLastRenumbering; ++n) {
    char renamed[kCNameBytes];
    if (!GenerateRenumbered_C_Filename(renamed, sizeof renamed, name, n)) return kBadName;
    e = RefCreateCore(parent, renamed, out, 0, &existed, spec, 1);
  }
  return existed ? kAllNamesTaken : e;
}

bool GenerateRenumbered_C_Filename(char* out, size_t outSize, const char* name, int32_t n) {
  if (!out || outSize == 0) return false;
  if (!name) name = "";
  char base[kCNameBytes], extension[kCNameBytes];
  std::snprintf(base, sizeof base, "%s", name);
  StripAnyExtender(base);
  get_extender_with_dot(extension, sizeof extension, name);
  const int written = std::snprintf(out, outSize, "%s %d%s", base, int(n), extension);
  return written >= 0 && size_t(written) < outSize && std::strlen(name) < sizeof base;
}

int32_t GenerateRenumberedFileRef(const FSRef* source, FSRef* out, int32_t number, int32_t count,
                                  const char* newExtension, int32_t modelNameFlag, const char* tag,
                                  uint8_t spaceFlag) {
  if (!source || !out) return kNullReferenceArgument;
  const bool hasTag = tag && tag[0];
  const bool hasNewExtension = newExtension && newExtension[0];
  if (!hasTag && count < 2 && !hasNewExtension) {
    *out = *source;
    return 0;
  }
  const char* separator = spaceFlag ? " " : "";
  char name[kCNameBytes], extension[kCNameBytes], suffix[kCNameBytes] = "";
  RefToCname(source, name);
  if (hasNewExtension)
    std::snprintf(extension, sizeof extension, "%s", newExtension);
  else
    get_extender_with_dot(extension, sizeof extension, name);
  StripAnyExtender(name);
  if (modelNameFlag == 1) MakeNameNonWeirdForOBJ(name);
  if (hasTag)
    std::snprintf(suffix, sizeof suffix, "%s%s", separator, tag);
  else if (count >= 2)
    std::snprintf(suffix, sizeof suffix, "%s%03d", separator, int(number));
  char sibling[kCNameBytes];
  const int written = std::snprintf(sibling, sizeof sibling, "%s%s%s", name, suffix, extension);
  if (written < 0 || size_t(written) >= sizeof sibling) return kBadName;
  return MakeRefForNewFileInSameDirectoryAsOldFile(source, sibling, out);
}

int32_t MakeClonedRefWithNewExtender(const char* newExtension, FSRef* out, const FSRef* source,
                                     uint8_t modelNameFlag) {
  return GenerateRenumberedFileRef(source, out, 0, 0, newExtension, modelNameFlag, nullptr, 0);
}

void StripAnyExtender(char* name) {
  if (!name) return;
  if (char* dot = std::strrchr(name, '.')) *dot = '\0';
}

void get_extender_with_dot(char* out, size_t outSize, const char* name) {
  if (!out || outSize == 0) return;
  out[0] = '\0';
  if (!name || std::strlen(name) < 2) return;
  if (const char* dot = std::strrchr(name, '.')) std::snprintf(out, outSize, "%s", dot);
}
