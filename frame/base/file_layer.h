// Opening and closing files, Finder information and the names of files: the
// thin layer through which every file of the plug-in is reached. Results are
// 16-bit File Manager codes widened to 32 bits (0 success) unless a comment
// says otherwise. Names handed in and out are NUL-terminated Mac OS Roman.
#pragma once

#include <cstdint>

#include "platform/files.h"
#include "platform/plugin_api.h"

// Fixed answers for null arguments.
constexpr int32_t kNullStringArgument = 99;
constexpr int32_t kNullCatalogArgument = 394;
constexpr int32_t kNullFolderArgument = 396;
constexpr int32_t kNullParentArgument = 398;
constexpr int32_t kNullReferenceArgument = 399;

constexpr int kFinderInfoBytes = 16;
constexpr int kCNameBytes = 256;  // a file name as RefToCname gives it

// Kinds of file for OpenAFileRef; other kinds (settings, preferences,
// copies: 0, 1, 11, -1 ...) leave the type and creator alone.
enum FileKind : int32_t {
  FileKind_Settings = 0,
  FileKind_Copy = 1,
  FileKind_PSD = 2,
  FileKind_HTML = 3,
  FileKind_PresetsPage = 4,
  FileKind_JPEG = 5,
  FileKind_Text = 6,
  FileKind_LDraw = 7,
  FileKind_OtherText = 8,
  FileKind_GIF = 9,
  FileKind_Model = 10,
  FileKind_Preferences = 11,
  FileKind_PSDMap = 12,
  FileKind_Reading = -1,
};

// The Finder type and creator a kind of file gets; false for the kinds that
// keep what the file has.
bool FinderTypeCreatorForKind(int32_t kind, FourCC* type, FourCC* creator);

// For writing: sets the type and creator of the kind (even when the open then
// fails), then opens the data fork read-write; else read-only. The fork's
// mark starts at 0.
int32_t OpenAFileMacRef(const FSRef* file, int16_t* refNum, uint8_t forWriting, int32_t kind);
int32_t OpenAFileRef(const FSRef* file, int16_t* refNum, uint8_t forWriting, int32_t kind);
// This platform has no resource forks: always an error, nothing opened.
int32_t OpenAFileMacRef_resfork(const FSRef* file, int16_t* refNum, uint8_t forWriting);
int32_t ZorCloseFile(int16_t refNum);
// Cuts the fork at its mark (after a rewind: to nothing).
int32_t TruncateFile(int16_t refNum);
int32_t MoveFilePointerToBegining(int16_t refNum);
bool MacFileLegthIsZero(int16_t refNum);
int32_t MacSetModDateToNow(const FSRef* file);

int32_t nuGetFileInfo(const FSRef* file, uint8_t finderInfo[kFinderInfoBytes]);
int32_t nuSetFileInfo(const FSRef* file, const uint8_t finderInfo[kFinderInfoBytes]);
int32_t CatalogInfo_to_FileInfo(const FSCatalogInfo* info, uint8_t finderInfo[kFinderInfoBytes]);
int32_t MacApplyTypeCreator_ref(const FSRef* file, FourCC type, FourCC creator);
// True when the type matches, else when the name holds the extension
// (ASCII case folded).
bool MacFileKindMatches(const char* name, FourCC fileType, const char* extension, FourCC wantedType);

int32_t MacGetSpecFromRef(FSSpec* spec, const FSRef* file);
// The POSIX path (UTF-8) in at most maxLength bytes with its NUL.
int32_t OSX_MakeCompletePathnameFromRef(char* out, int16_t maxLength, const FSRef* file);
// The file's name in kCNameBytes; nothing when either pointer is null.
void RefToCname(const FSRef* file, char* out);
// The same within maxLength bytes; true when the whole name converted.
bool MacRefToCString(const FSRef* file, char* out, int32_t maxLength);
int32_t GetParentDirectory(const FSRef* file, FSRef* parent);
