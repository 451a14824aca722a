// The file system as the plug-in's file layer sees it: a file reference names
// an object by its absolute UTF-8 path, an open fork is a small positive
// number that stands for a POSIX descriptor with its own mark, and every
// answer is a 16-bit File Manager code. This platform has no resource forks
// (opening one answers kResourceForkMissing) and keeps no Finder type,
// creator or flags (setting them succeeds and stores nothing; reading them
// gives zeros).
#pragma once

#include <cstddef>
#include <cstdint>

// File Manager result codes the layer above relies on.
enum FileResult : int16_t {
  kFileOK = 0,
  kDiskFull = -34,
  kIOError = -36,
  kBadName = -37,
  kEndOfFile = -39,
  kTooManyOpenFiles = -42,
  kFileNotFound = -43,
  kDuplicateName = -48,
  kBadParameter = -50,
  kBadForkNumber = -51,
  kPermission = -54,
  kWritePermission = -61,
  kFolderNotFound = -120,
  kNotAFile = -1302,
  kResourceForkMissing = -1340,
};

constexpr size_t kFSRefPathBytes = 1024;
constexpr int kMaxOpenForks = 64;

// A reference always names an existing object once a call has made it; an
// empty path names nothing.
struct FSRef {
  char path[kFSRefPathBytes];
};

struct FSSpec {
  FSRef ref;
};

// The part of a catalog record this platform knows: the Finder info.
struct FSCatalogInfo {
  uint8_t finderInfo[16];
};

enum FolderKind : int32_t {
  FolderKind_Preferences = 0,  // $XDG_CONFIG_HOME/Gyrelle 2, else ~/.config/Gyrelle 2
  FolderKind_Temporary = 1,    // $TMPDIR, else /tmp
};

int16_t FSPathMakeRef(const char* utf8Path, FSRef* ref, bool* isFolder);
int16_t FSRefMakePath(const FSRef* ref, char* utf8Path, size_t maxBytes);
bool FSRefIsFolder(const FSRef* ref);
// The last component of the path.
int16_t FSGetName(const FSRef* ref, char* utf8Name, size_t maxBytes);
int16_t FSGetParentRef(const FSRef* ref, FSRef* parent);

// Names are single path components: empty names, "." and ".." are refused
// with kBadName; a '/' inside a name is stored as ':' (and read back as '/'),
// so no name can reach outside its folder.
int16_t FSCreateObject(const FSRef* parent, const char* utf8Name, bool folder, FSRef* out);
int16_t FSMakeRefByName(const FSRef* parent, const char* utf8Name, FSRef* out);
int16_t FSDeleteObject(const FSRef* ref);

// Data forks. Reads and writes go to the fork's mark and move it on; a read
// that delivers fewer bytes than asked answers kEndOfFile.
int16_t FSOpenFork(const FSRef* ref, bool forWriting, int16_t* forkNumber);
int16_t FSOpenResourceFork(const FSRef* ref, bool forWriting, int16_t* forkNumber);
int16_t FSCloseFork(int16_t forkNumber);
int16_t FSReadFork(int16_t forkNumber, uint32_t count, void* buffer, uint32_t* actual);
int16_t FSWriteFork(int16_t forkNumber, uint32_t count, const void* buffer, uint32_t* actual);
int16_t FSGetForkSize(int16_t forkNumber, int64_t* size);
// Cuts or extends the fork; a mark past the new end moves to the end.
int16_t FSSetForkSize(int16_t forkNumber, int64_t size);
int16_t FSGetForkPosition(int16_t forkNumber, int64_t* position);
int16_t FSSetForkPosition(int16_t forkNumber, int64_t position);
// Forks still open (for tests that look for leaks).
int32_t FSOpenForkCount();

int16_t FSGetFinderInfo(const FSRef* ref, uint8_t finderInfo[16]);
int16_t FSSetFinderInfo(const FSRef* ref, const uint8_t finderInfo[16]);
int16_t FSSetContentModDateNow(const FSRef* ref);

// The folder of the kind, created (with its parents) when `create` is set.
int16_t FSFindFolder(FolderKind kind, bool create, FSRef* out);
