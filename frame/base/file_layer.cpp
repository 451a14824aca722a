#include "frame/base/file_layer.h"

#include <cstring>

#include "frame/base/text_utils.h"
#include "platform/mac_roman.h"

namespace {

struct KindRow {
  int32_t kind;
  FourCC type, creator;
};

constexpr FourCC kCreatorImageEditor = MakeFourCC("8BIM");
constexpr FourCC kCreatorLDraw = MakeFourCC("LdVr");
constexpr FourCC kCreatorBrowser = MakeFourCC("sfri");
constexpr FourCC kTypeText = MakeFourCC("TEXT");

constexpr KindRow kKindRows[] = {
    {FileKind_PSD, MakeFourCC("8BPS"), kCreatorImageEditor},
    {FileKind_PSDMap, MakeFourCC("8BPS"), kCreatorImageEditor},
    {FileKind_JPEG, MakeFourCC("JPEG"), kCreatorImageEditor},
    {FileKind_GIF, MakeFourCC("GIFf"), kCreatorImageEditor},
    {FileKind_LDraw, kTypeText, kCreatorLDraw},
    {FileKind_HTML, kTypeText, kCreatorBrowser},
    {FileKind_PresetsPage, kTypeText, kCreatorBrowser},
    {FileKind_Text, kTypeText, kCreatorBrowser},
    {FileKind_OtherText, kTypeText, kCreatorBrowser},
    {FileKind_Model, kTypeText, kCreatorBrowser},
};

void PutFourCC(uint8_t* at, FourCC v) {
  at[0] = uint8_t(v >> 24);
  at[1] = uint8_t(v >> 16);
  at[2] = uint8_t(v >> 8);
  at[3] = uint8_t(v);
}

// An existing file counts as opened when the File Manager says the name was
// taken (the code comes in either sign from older calls).
int32_t OpenResult(int32_t e) { return (e == kDuplicateName || e == -kDuplicateName) ? 0 : e; }

}  // namespace

bool FinderTypeCreatorForKind(int32_t kind, FourCC* type, FourCC* creator) {
  for (const KindRow& row : kKindRows) {
    if (row.kind != kind) continue;
    if (type) *type = row.type;
    if (creator) *creator = row.creator;
    return true;
  }
  return false;
}

int32_t OpenAFileMacRef(const FSRef* file, int16_t* refNum, uint8_t forWriting, int32_t kind) {
  if (!file || !refNum) return kNullReferenceArgument;
  FourCC type = 0, creator = 0;
  if (forWriting && FinderTypeCreatorForKind(kind, &type, &creator)) MacApplyTypeCreator_ref(file, type, creator);
  return OpenResult(FSOpenFork(file, forWriting != 0, refNum));
}

int32_t OpenAFileRef(const FSRef* file, int16_t* refNum, uint8_t forWriting, int32_t kind) {
  return OpenAFileMacRef(file, refNum, forWriting, kind);
}

int32_t OpenAFileMacRef_resfork(const FSRef* file, int16_t* refNum, uint8_t forWriting) {
  if (!file || !refNum) return kNullReferenceArgument;
  return OpenResult(FSOpenResourceFork(file, forWriting != 0, refNum));
}

int32_t ZorCloseFile(int16_t refNum) { return FSCloseFork(refNum); }

int32_t TruncateFile(int16_t refNum) {
  int64_t mark = 0;
  if (const int16_t e = FSGetForkPosition(refNum, &mark)) return e;
  return FSSetForkSize(refNum, mark);
}

int32_t MoveFilePointerToBegining(int16_t refNum) { return FSSetForkPosition(refNum, 0); }

bool MacFileLegthIsZero(int16_t refNum) {
  int64_t size = -1;
  return FSGetForkSize(refNum, &size) == kFileOK && size == 0;
}

int32_t MacSetModDateToNow(const FSRef* file) { return FSSetContentModDateNow(file); }

int32_t nuGetFileInfo(const FSRef* file, uint8_t finderInfo[kFinderInfoBytes]) {
  return FSGetFinderInfo(file, finderInfo);
}

int32_t nuSetFileInfo(const FSRef* file, const uint8_t finderInfo[kFinderInfoBytes]) {
  return FSSetFinderInfo(file, finderInfo);
}

int32_t CatalogInfo_to_FileInfo(const FSCatalogInfo* info, uint8_t finderInfo[kFinderInfoBytes]) {
  if (!info || !finderInfo) return kNullCatalogArgument;
  std::memcpy(finderInfo, info->finderInfo, kFinderInfoBytes);
  return 0;
}

int32_t MacApplyTypeCreator_ref(const FSRef* file, FourCC type, FourCC creator) {
  uint8_t info[kFinderInfoBytes];
  if (const int32_t e = nuGetFileInfo(file, info)) return e;
  PutFourCC(info, type);
  PutFourCC(info + 4, creator);
  return nuSetFileInfo(file, info);
}

bool MacFileKindMatches(const char* name, FourCC fileType, const char* extension, FourCC wantedType) {
  if (fileType == wantedType) return true;
  return findAinB(extension, name, 1) >= 0;
}

int32_t MacGetSpecFromRef(FSSpec* spec, const FSRef* file) {
  if (!spec || !file) return kNullReferenceArgument;
  spec->ref = *file;
  return 0;
}

int32_t OSX_MakeCompletePathnameFromRef(char* out, int16_t maxLength, const FSRef* file) {
  if (!out || !file || maxLength < 1) return kBadParameter;
  return FSRefMakePath(file, out, size_t(maxLength));
}

void RefToCname(const FSRef* file, char* out) {
  if (!file || !out) return;
  MacRefToCString(file, out, kCNameBytes);
}

bool MacRefToCString(const FSRef* file, char* out, int32_t maxLength) {
  if (!file || !out || maxLength < 1) return false;
  char utf8[kFSRefPathBytes];
  if (FSGetName(file, utf8, sizeof utf8) != kFileOK) {
    out[0] = '\0';
    return false;
  }
  return Utf8ToMacRoman(utf8, out, size_t(maxLength));
}

int32_t GetParentDirectory(const FSRef* file, FSRef* parent) {
  if (!file || !parent) return kNullParentArgument;
  return FSGetParentRef(file, parent);
}
