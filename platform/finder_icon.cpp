#include "platform/finder_icon.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/md5.h"
#include "platform/png_bytes.h"

namespace {

constexpr int32_t kSide = 128;
constexpr uint32_t kFamilyBytes = 8 + (8 + kSide * kSide * 4) + (8 + kSide * kSide);
constexpr uint32_t kImageAt = 16, kMaskHeadAt = kImageAt + kSide * kSide * 4, kMaskAt = kMaskHeadAt + 8;
constexpr mode_t kPrivateFolder = 0700;
constexpr char kStoreTail[] = "/thumbnails/normal";
// Every byte of a path may take three in its URI.
constexpr size_t kURIBytes = 3 * kFSRefPathBytes + 8;

uint32_t Big32(const uint8_t* at) {
  return uint32_t(at[0]) << 24 | uint32_t(at[1]) << 16 | uint32_t(at[2]) << 8 | at[3];
}

// The family as the export writers build it; anything else is no icon.
bool IcnsToRGBA(const uint8_t* icns, uint32_t length, std::vector<uint8_t>* rgba) {
  if (!icns || length != kFamilyBytes || std::memcmp(icns, "icns", 4) != 0 || Big32(icns + 4) != kFamilyBytes ||
      std::memcmp(icns + 8, "it32", 4) != 0 || Big32(icns + 12) != kMaskHeadAt - 8 ||
      std::memcmp(icns + kMaskHeadAt, "t8mk", 4) != 0 || Big32(icns + kMaskHeadAt + 4) != 8 + kSide * kSide)
    return false;
  rgba->resize(size_t(kSide) * kSide * 4);
  for (int32_t i = 0; i < kSide * kSide; ++i) {
    const uint8_t* px = icns + kImageAt + 4 * i;  // A R G B, A always 255
    uint8_t* out = rgba->data() + 4 * i;
    out[0] = px[1];
    out[1] = px[2];
    out[2] = px[3];
    out[3] = icns[kMaskAt + i];
  }
  return true;
}

// What the desktop's own URI maker leaves as it is in a path.
bool SafeInPath(uint8_t c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
  return std::strchr("-_.!~*'()/&=:@+$,", c) != nullptr && c != 0;
}

// The absolute path with "." and ".." steps and doubled slashes taken out
// by their text, as file managers name a file (links are not followed).
bool AbsolutePath(const char* path, char* out, size_t outBytes) {
  if (!path || !path[0] || outBytes < 2) return false;
  char joined[2 * kFSRefPathBytes];
  int n;
  if (path[0] == '/') {
    n = std::snprintf(joined, sizeof joined, "%s", path);
  } else {
    char here[kFSRefPathBytes];
    if (!::getcwd(here, sizeof here)) return false;
    n = std::snprintf(joined, sizeof joined, "%s/%s", here, path);
  }
  if (n < 0 || size_t(n) >= sizeof joined) return false;
  size_t at = 0;
  for (const char* p = joined; *p;) {
    while (*p == '/') ++p;
    const char* end = p;
    while (*end && *end != '/') ++end;
    const size_t len = size_t(end - p);
    if (len == 0 || (len == 1 && p[0] == '.')) {
    } else if (len == 2 && p[0] == '.' && p[1] == '.') {
      while (at > 0 && out[at - 1] != '/') --at;
      if (at > 0) --at;
    } else {
      if (at + 1 + len + 1 > outBytes) return false;
      out[at++] = '/';
      std::memcpy(out + at, p, len);
      at += len;
    }
    p = end;
  }
  if (at == 0) out[at++] = '/';
  out[at] = '\0';
  return true;
}

int16_t FromErrno(int e) {
  switch (e) {
    case EACCES:
    case EPERM:
    case EROFS: return kPermission;
    case ENOSPC: return kDiskFull;
    case ENOENT:
    case ENOTDIR: return kFolderNotFound;
    default: return kIOError;
  }
}

// The store names a thumbnail by the MD5 of the file's URI.
bool ThumbnailInFolder(const char* folder, const char* uri, char* thumbnail, size_t thumbnailBytes) {
  char md5[33];
  MD5Hex(uri, std::strlen(uri), md5);
  const int n = std::snprintf(thumbnail, thumbnailBytes, "%s/%s.png", folder, md5);
  return n > 0 && size_t(n) < thumbnailBytes;
}

// The cache folder, "thumbnails" and "normal", each made private when
// missing, as the standard asks of the store; folders that exist keep the
// mode their owner gave them. Nothing above the cache folder is made.
int16_t MakeFolders(const char* folder) {
  char path[kFSRefPathBytes];
  std::snprintf(path, sizeof path, "%s", folder);
  const size_t n = std::strlen(path), tail = std::strlen(kStoreTail);
  if (n <= tail) return kBadName;
  char* cuts[3] = {path + n - tail, path + n - std::strlen("/normal"), path + n};
  for (char* cut : cuts) {
    const char kept = *cut;
    *cut = '\0';
    const bool made = ::mkdir(path, kPrivateFolder) == 0;
    const int why = errno;
    *cut = kept;
    if (!made && why != EEXIST) return FromErrno(why);
  }
  struct stat st;
  if (::stat(folder, &st) != 0) return FromErrno(errno);
  return S_ISDIR(st.st_mode) ? int16_t(kFileOK) : int16_t(kNotAFile);
}

// The PNG under a private temporary name beside its place, then renamed,
// so that a reader never sees half a thumbnail.
int16_t WriteThumbnail(const char* thumbnail, const std::vector<uint8_t>& png) {
  char temp[kFSRefPathBytes];
  const int n = std::snprintf(temp, sizeof temp, "%s.XXXXXX", thumbnail);
  if (n < 0 || size_t(n) >= sizeof temp) return kBadName;
  const int fd = ::mkstemp(temp);  // mode 0600
  if (fd < 0) return FromErrno(errno);
  size_t done = 0;
  int16_t e = kFileOK;
  while (done < png.size()) {
    const ssize_t w = ::write(fd, png.data() + done, png.size() - done);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) {
      e = w < 0 ? FromErrno(errno) : int16_t(kIOError);
      break;
    }
    done += size_t(w);
  }
  if (::close(fd) != 0 && e == kFileOK) e = FromErrno(errno);
  if (e == kFileOK && ::rename(temp, thumbnail) != 0) e = FromErrno(errno);
  if (e != kFileOK) ::unlink(temp);
  return e;
}

}  // namespace

bool ThumbnailURIOfPath(const char* path, char* uri, size_t uriBytes) {
  char absolute[kFSRefPathBytes];
  if (!uri || uriBytes == 0 || !AbsolutePath(path, absolute, sizeof absolute)) return false;
  static constexpr char kHex[] = "0123456789ABCDEF";
  size_t at = 0;
  auto put = [&](char c) {
    if (at + 1 < uriBytes) uri[at] = c;
    ++at;
  };
  for (const char* p = "file://"; *p; ++p) put(*p);
  for (const char* p = absolute; *p; ++p) {
    const uint8_t c = uint8_t(*p);
    if (SafeInPath(c)) {
      put(char(c));
    } else {
      put('%');
      put(kHex[c >> 4]);
      put(kHex[c & 15]);
    }
  }
  uri[at < uriBytes ? at : uriBytes - 1] = '\0';
  return at < uriBytes;
}

bool ThumbnailFolder(char* folder, size_t folderBytes) {
  // A relative XDG_CACHE_HOME is not valid and is ignored, as the base
  // directory standard says.
  const char* cache = std::getenv("XDG_CACHE_HOME");
  int n = -1;
  if (cache && cache[0] == '/') {
    n = std::snprintf(folder, folderBytes, "%s%s", cache, kStoreTail);
  } else {
    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/') return false;
    n = std::snprintf(folder, folderBytes, "%s/.cache%s", home, kStoreTail);
  }
  return n > 0 && size_t(n) < folderBytes;
}

bool ThumbnailPathOf(const char* path, char* thumbnail, size_t thumbnailBytes) {
  char uri[kURIBytes], folder[kFSRefPathBytes];
  return ThumbnailURIOfPath(path, uri, sizeof uri) && ThumbnailFolder(folder, sizeof folder) &&
         ThumbnailInFolder(folder, uri, thumbnail, thumbnailBytes);
}

int16_t PlatformStoreCustomIcon(const FSRef* file, const uint8_t* icns, uint32_t length, const FSRef* shownAs) {
  if (!file || !file->path[0]) return kBadParameter;
  const char* name = shownAs && shownAs->path[0] ? shownAs->path : file->path;
  std::vector<uint8_t> rgba;
  if (!IcnsToRGBA(icns, length, &rgba)) return kBadParameter;
  struct stat st;
  if (::stat(file->path, &st) != 0) return FromErrno(errno);
  if (!S_ISREG(st.st_mode)) return kNotAFile;
  char uri[kURIBytes], folder[kFSRefPathBytes], thumbnail[kFSRefPathBytes + 40];
  if (!ThumbnailURIOfPath(name, uri, sizeof uri)) return kBadName;
  if (!ThumbnailFolder(folder, sizeof folder)) return kFolderNotFound;
  if (!ThumbnailInFolder(folder, uri, thumbnail, sizeof thumbnail)) return kBadName;
  char mtime[24], size[24];
  std::snprintf(mtime, sizeof mtime, "%lld", static_cast<long long>(st.st_mtime));
  std::snprintf(size, sizeof size, "%lld", static_cast<long long>(st.st_size));
  const PNGText texts[] = {{"Thumb::URI", uri}, {"Thumb::MTime", mtime}, {"Thumb::Size", size}};
  const std::vector<uint8_t> png = EncodePNG(rgba.data(), kSide, kSide, kSide * 4, 4, texts, 3);
  if (png.empty()) return kBadParameter;
  if (const int16_t e = MakeFolders(folder)) return e;
  return WriteThumbnail(thumbnail, png);
}

int32_t PlatformRunScript(const char*, uint32_t, char* resultText, size_t resultBytes) {
  if (resultText && resultBytes > 0) resultText[0] = '\0';
  return kNoScriptComponent;
}
