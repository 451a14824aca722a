#include "host/io/tiff_exif.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

namespace gyhost {

namespace {

constexpr uint16_t kExifPointer = 0x8769, kGpsPointer = 0x8825, kInteropPointer = 0xA005;
constexpr uint16_t kTextTags[] = {TIFFTAG_IMAGEDESCRIPTION, TIFFTAG_MAKE, TIFFTAG_MODEL, TIFFTAG_DATETIME,
                                  TIFFTAG_ARTIST, TIFFTAG_COPYRIGHT};
// Bounds on what one IFD may bring, against damaged offsets and counts.
constexpr uint32_t kMaxEntries = 1000;
constexpr uint64_t kMaxValueBytes = uint64_t(1) << 20;
constexpr uint16_t kTypeAscii = 2, kTypeLong = 4;

struct Entry {
  uint16_t tag = 0, type = 0;
  uint32_t count = 0;
  std::vector<uint8_t> value;  // little-endian elements
};
using Ifd = std::vector<Entry>;

// The size of one element of a type, and the size its byte order applies to.
uint32_t TypeBytes(uint16_t type, uint32_t* unit) {
  static const uint8_t sizes[] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8, 4};
  static const uint8_t units[] = {0, 1, 1, 2, 4, 4, 1, 1, 2, 4, 4, 4, 8, 4};
  if (type == 0 || type >= sizeof sizes) return 0;
  *unit = units[type];
  return sizes[type];
}

// Reads bytes at an offset of the source: a block in memory or a file.
struct Source {
  const uint8_t* bytes = nullptr;
  size_t size = 0;
  std::FILE* file = nullptr;
  bool little = true;

  bool Read(uint64_t at, void* out, size_t n) const {
    if (bytes) {
      if (at > size || n > size - at) return false;
      std::memcpy(out, bytes + at, n);
      return true;
    }
    return file && std::fseek(file, long(at), SEEK_SET) == 0 && std::fread(out, 1, n, file) == n;
  }
  uint32_t Number(const uint8_t* p, size_t n) const {
    uint32_t v = 0;
    for (size_t i = 0; i < n; ++i) v |= uint32_t(p[little ? i : n - 1 - i]) << (8 * i);
    return v;
  }
};

bool ReadIfd(const Source& s, uint64_t at, Ifd* out) {
  uint8_t two[2];
  if (!s.Read(at, two, 2)) return false;
  const uint32_t count = s.Number(two, 2);
  if (count > kMaxEntries) return false;
  for (uint32_t i = 0; i < count; ++i) {
    uint8_t raw[12];
    if (!s.Read(at + 2 + 12 * uint64_t(i), raw, 12)) return false;
    Entry e;
    e.tag = uint16_t(s.Number(raw, 2));
    e.type = uint16_t(s.Number(raw + 2, 2));
    e.count = s.Number(raw + 4, 4);
    uint32_t unit = 1;
    const uint32_t size = TypeBytes(e.type, &unit);
    const uint64_t bytes = uint64_t(size) * e.count;
    if (size == 0 || bytes > kMaxValueBytes) continue;  // a type unknown here, or damaged: left out
    e.value.resize(size_t(bytes));
    if (bytes <= 4) std::memcpy(e.value.data(), raw + 8, size_t(bytes));
    else if (!s.Read(s.Number(raw + 8, 4), e.value.data(), size_t(bytes))) continue;
    if (!s.little)
      for (size_t k = 0; k + unit <= e.value.size(); k += unit)
        for (uint32_t a = 0, b = unit - 1; a < b; ++a, --b) std::swap(e.value[k + a], e.value[k + b]);
    out->push_back(std::move(e));
  }
  return true;
}

uint32_t LittleNumber(const std::vector<uint8_t>& v) {
  uint32_t n = 0;
  for (size_t i = 0; i < 4 && i < v.size(); ++i) n |= uint32_t(v[i]) << (8 * i);
  return n;
}

void Put(std::vector<uint8_t>* out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out->push_back(uint8_t(v >> (8 * i)));
}

// Appends a little-endian IFD whose first byte lands at `base + out->size()`;
// answers that offset.
uint32_t WriteIfd(std::vector<uint8_t>* out, uint64_t base, Ifd ifd) {
  std::sort(ifd.begin(), ifd.end(), [](const Entry& a, const Entry& b) { return a.tag < b.tag; });
  if ((base + out->size()) & 1) out->push_back(0);
  const uint32_t at = uint32_t(base + out->size());
  uint32_t data = at + 2 + 12 * uint32_t(ifd.size()) + 4;
  std::vector<uint8_t> extra;
  Put(out, uint32_t(ifd.size()), 2);
  for (const Entry& e : ifd) {
    Put(out, e.tag, 2);
    Put(out, e.type, 2);
    Put(out, e.count, 4);
    if (e.value.size() <= 4) {
      std::vector<uint8_t> inline_(e.value);
      inline_.resize(4, 0);
      out->insert(out->end(), inline_.begin(), inline_.end());
    } else {
      Put(out, data + uint32_t(extra.size()), 4);
      extra.insert(extra.end(), e.value.begin(), e.value.end());
      if (extra.size() & 1) extra.push_back(0);  // values start on a word boundary
    }
  }
  Put(out, 0, 4);
  out->insert(out->end(), extra.begin(), extra.end());
  return at;
}

// A pointer inside the EXIF IFD would point into the place it came from:
// not carried.
void DropInteropPointer(Ifd* ifd) {
  Ifd kept;
  for (Entry& e : *ifd)
    if (e.tag != kInteropPointer) kept.push_back(std::move(e));
  *ifd = std::move(kept);
}

// The IFDs of a block: IFD0, and the EXIF and GPS IFDs it points to.
struct Block {
  Ifd ifd0, exif, gps;
};

bool ParseBlock(const std::vector<uint8_t>& bytes, Block* b) {
  if (bytes.size() < 8) return false;
  Source s;
  s.bytes = bytes.data();
  s.size = bytes.size();
  if (bytes[0] == 'I' && bytes[1] == 'I') s.little = true;
  else if (bytes[0] == 'M' && bytes[1] == 'M') s.little = false;
  else return false;
  if (s.Number(bytes.data() + 2, 2) != 42 || !ReadIfd(s, s.Number(bytes.data() + 4, 4), &b->ifd0)) return false;
  for (const Entry& e : b->ifd0) {
    if (e.tag == kExifPointer) ReadIfd(s, LittleNumber(e.value), &b->exif);
    if (e.tag == kGpsPointer) ReadIfd(s, LittleNumber(e.value), &b->gps);
  }
  DropInteropPointer(&b->exif);
  return true;
}

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

void SetTiffExifFields(TIFF* tif, const std::vector<uint8_t>& exif) {
  Block b;
  if (!ParseBlock(exif, &b)) return;
  for (const Entry& e : b.ifd0) {
    if (e.type != kTypeAscii || e.value.empty()) continue;
    for (uint16_t tag : kTextTags)
      if (e.tag == tag) {
        std::string text(e.value.begin(), e.value.end());
        text = text.c_str();  // up to its NUL
        TIFFSetField(tif, tag, text.c_str());
      }
  }
  if (!b.exif.empty()) TIFFSetField(tif, TIFFTAG_EXIFIFD, uint64_t(0));
  if (!b.gps.empty()) TIFFSetField(tif, TIFFTAG_GPSIFD, uint64_t(0));
}

bool AppendTiffExif(const std::string& path, const std::vector<uint8_t>& exif, std::string* error) {
  Block b;
  if (!ParseBlock(exif, &b) || (b.exif.empty() && b.gps.empty())) return true;
  const std::string failed = "cannot add the EXIF data to the TIFF file";
  std::unique_ptr<std::FILE, FileCloser> f(std::fopen(path.c_str(), "r+b"));
  uint8_t header[8];
  if (!f || std::fread(header, 1, 8, f.get()) != 8) {
    *error = failed;
    return false;
  }
  // libtiff writes this machine's order; the IFDs appended here are
  // little-endian, as is every file it writes on the machines we build for.
  Source s;
  s.file = f.get();
  if (header[0] != 'I' || header[1] != 'I' || s.Number(header + 2, 2) != 42) {
    *error = failed + ": not a little-endian classic TIFF";
    return false;
  }
  const uint32_t ifd0 = s.Number(header + 4, 4);
  if (std::fseek(f.get(), 0, SEEK_END) != 0) {
    *error = failed;
    return false;
  }
  const long end = std::ftell(f.get());
  std::vector<uint8_t> tail;
  const uint32_t exifAt = b.exif.empty() ? 0 : WriteIfd(&tail, uint64_t(end), b.exif);
  const uint32_t gpsAt = b.gps.empty() ? 0 : WriteIfd(&tail, uint64_t(end), b.gps);
  if (uint64_t(end) + tail.size() > 0xFFFFFFFFull || std::fwrite(tail.data(), 1, tail.size(), f.get()) != tail.size()) {
    *error = failed;
    return false;
  }
  uint8_t two[2];
  if (!s.Read(ifd0, two, 2)) {
    *error = failed;
    return false;
  }
  int patched = 0;
  for (uint32_t i = 0, n = s.Number(two, 2); i < n && i < kMaxEntries; ++i) {
    uint8_t raw[12];
    const uint64_t at = ifd0 + 2 + 12 * uint64_t(i);
    if (!s.Read(at, raw, 12)) break;
    const uint16_t tag = uint16_t(s.Number(raw, 2));
    const uint32_t value = tag == kExifPointer ? exifAt : tag == kGpsPointer ? gpsAt : 0;
    if (value == 0) continue;
    std::vector<uint8_t> bytes;
    Put(&bytes, value, 4);
    if (std::fseek(f.get(), long(at + 8), SEEK_SET) != 0 || std::fwrite(bytes.data(), 1, 4, f.get()) != 4) break;
    ++patched;
  }
  if (patched != int(!b.exif.empty()) + int(!b.gps.empty()) || std::fflush(f.get()) != 0) {
    *error = failed;
    return false;
  }
  return true;
}

std::vector<uint8_t> ReadTiffExif(TIFF* tif, const std::string& path) {
  Block b;
  std::unique_ptr<std::FILE, FileCloser> f(std::fopen(path.c_str(), "rb"));
  uint8_t header[4];
  if (!f || std::fread(header, 1, 4, f.get()) != 4) return {};
  Source s;
  s.file = f.get();
  s.little = header[0] == 'I';
  uint64_t offset = 0;
  if (TIFFGetField(tif, TIFFTAG_EXIFIFD, &offset) && offset > 0) ReadIfd(s, offset, &b.exif);
  offset = 0;
  if (TIFFGetField(tif, TIFFTAG_GPSIFD, &offset) && offset > 0) ReadIfd(s, offset, &b.gps);
  DropInteropPointer(&b.exif);
  if (b.exif.empty() && b.gps.empty()) return {};
  for (uint16_t tag : kTextTags) {
    char* text = nullptr;
    if (!TIFFGetField(tif, tag, &text) || !text) continue;
    Entry e{tag, kTypeAscii, uint32_t(std::strlen(text) + 1), {}};
    e.value.assign(text, text + e.count);
    b.ifd0.push_back(std::move(e));
  }
  std::vector<uint8_t> out = {'I', 'I', 42, 0, 0, 0, 0, 0};
  auto pointer = [&](uint16_t tag, const Ifd& ifd) {
    if (ifd.empty()) return;
    Entry e{tag, kTypeLong, 1, {}};
    Put(&e.value, WriteIfd(&out, 0, ifd), 4);
    b.ifd0.push_back(std::move(e));
  };
  pointer(kExifPointer, b.exif);
  pointer(kGpsPointer, b.gps);
  const uint32_t ifd0 = WriteIfd(&out, 0, b.ifd0);
  for (int i = 0; i < 4; ++i) out[size_t(4 + i)] = uint8_t(ifd0 >> (8 * i));
  return out;
}

}  // namespace gyhost
