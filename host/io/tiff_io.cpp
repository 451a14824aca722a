#include "host/io/tiff_io.h"
#include "host/io/tiff_exif.h"
#include "host/parallel_parts.h"

#include <tiffio.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace gyhost {

namespace {

// libtiff reports through process-wide handlers; the last message of each
// thread is kept so that a failure can be explained. Strips are coded on
// several threads, each with a handle of its own.
thread_local char g_tiffMessage[512];

void OnTiffError(const char* module, const char* fmt, va_list args) {
  std::vsnprintf(g_tiffMessage, sizeof g_tiffMessage, fmt, args);
}

void OnTiffWarning(const char*, const char*, va_list) {}

void InstallTiffHandlers() {
  g_tiffMessage[0] = 0;
  TIFFSetErrorHandler(OnTiffError);
  TIFFSetWarningHandler(OnTiffWarning);
}

struct TiffCloser {
  void operator()(TIFF* tif) const { TIFFClose(tif); }
};
using TiffPtr = std::unique_ptr<TIFF, TiffCloser>;

std::string TiffFailure(const char* fallback) { return g_tiffMessage[0] ? g_tiffMessage : fallback; }

// 8-bit images in layouts we do not read sample by sample.
bool ReadTiffAsRgba(TIFF* tif, uint32_t width, uint32_t height, bool alpha, HostImage* image, std::string* error) {
  // Unwritten until the decoder fills it: a damaged file claiming a large
  // size fails before gigabytes are touched.
  std::unique_ptr<uint32_t[]> raster(new (std::nothrow) uint32_t[size_t(width) * size_t(height)]);
  if (!raster) {
    *error = "out of memory for an image of " + std::to_string(width) + "x" + std::to_string(height) + " pixels";
    return false;
  }
  if (!TIFFReadRGBAImageOriented(tif, width, height, raster.get(), ORIENTATION_TOPLEFT, 0)) {
    *error = TiffFailure("cannot decode the TIFF image");
    return false;
  }
  if (!ResizeHostImage(image, int32_t(width), int32_t(height), 3, alpha, SampleType::U8)) {
    *error = "image too large";
    return false;
  }
  const int32_t planes = PlaneCount(*image);
  for (uint32_t y = 0; y < height; ++y) {
    uint8_t* out = PixelAddress(*image, 0, int32_t(y));
    for (uint32_t x = 0; x < width; ++x, out += planes) {
      const uint32_t px = raster[size_t(y) * width + x];
      out[0] = uint8_t(TIFFGetR(px));
      out[1] = uint8_t(TIFFGetG(px));
      out[2] = uint8_t(TIFFGetB(px));
      if (alpha) out[3] = uint8_t(TIFFGetA(px));
    }
  }
  return true;
}

void ReadTiffMetadata(TIFF* tif, ImageMetadata* meta) {
  uint32_t count = 0;
  void* data = nullptr;
  if (TIFFGetField(tif, TIFFTAG_ICCPROFILE, &count, &data) && data && count > 0) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    meta->icc.assign(bytes, bytes + count);
  }
  count = 0;
  data = nullptr;
  if (TIFFGetField(tif, TIFFTAG_XMLPACKET, &count, &data) && data && count > 0) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    meta->xmp.assign(bytes, bytes + count);
  }
  uint16_t compression = COMPRESSION_NONE;
  TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &compression);
  meta->tiffCompression = compression;
}

// The compression a written TIFF gets: asked for, else the input TIFF's
// when this writer can make it, else LZW.
uint16_t ChooseCompression(uint16_t asked, const ImageMetadata& meta) {
  if (asked != 0) return asked;
  const uint16_t c = meta.tiffCompression;
  if (c == COMPRESSION_NONE || c == COMPRESSION_LZW || c == COMPRESSION_ADOBE_DEFLATE || c == COMPRESSION_DEFLATE ||
      c == COMPRESSION_PACKBITS) {
    return c == COMPRESSION_DEFLATE ? uint16_t(COMPRESSION_ADOBE_DEFLATE) : c;
  }
  return COMPRESSION_LZW;
}


// Threads that code the strips of one file: the host's own choice, never
// more than there are strips to share.
int32_t CodingThreads(int32_t asked, uint32_t strips) {
  return int32_t(std::min<size_t>(ThreadsFor(asked), strips));
}

// Runs work(strip, thread, error) for strips 0..count-1 on `threads`
// threads (numbered from 0, this one), each taking the next strip not yet
// taken; false once any strip failed (the rest are
// skipped), with the first failure's message.
template <typename Work>
bool ForEachStrip(uint32_t count, int32_t threads, Work work, std::string* error) {
  std::atomic<uint32_t> next{0};
  std::atomic<bool> failed{false};
  std::vector<std::string> errors(size_t(std::max(threads, 1)));
  const auto body = [&](int32_t t) {
    for (;;) {
      if (failed.load(std::memory_order_relaxed)) return;
      const uint32_t s = next.fetch_add(1, std::memory_order_relaxed);
      if (s >= count) return;
      if (!work(s, t, &errors[size_t(t)])) {
        failed.store(true);
        return;
      }
    }
  };
  RunParts(size_t(std::max(threads, 1)), [&](size_t t) { body(int32_t(t)); });
  if (!failed.load()) return true;
  for (const std::string& e : errors) {
    if (!e.empty()) {
      *error = e;
      break;
    }
  }
  if (error->empty()) *error = "damaged TIFF file";
  return false;
}

// Like ForEachStrip, and this thread also hands every item, in order, to
// write(item, error) as soon as it and all before it are coded: the file
// is written while the rest is still being coded, not after it.
template <typename Code, typename Write>
bool CodeAndWriteInOrder(uint32_t count, int32_t threads, Code code, Write write, std::string* error) {
  enum : uint8_t { kPending, kCoded, kFailed };
  std::vector<std::atomic<uint8_t>> state(count);
  std::atomic<uint32_t> next{0};
  std::atomic<bool> failed{false};
  std::vector<std::string> errors(size_t(std::max(threads, 1)) + 1);
  // Codes the next item nobody has taken; false when none is left.
  const auto codeOne = [&](int32_t t) {
    if (failed.load(std::memory_order_relaxed)) return false;
    const uint32_t item = next.fetch_add(1, std::memory_order_relaxed);
    if (item >= count) return false;
    const bool ok = code(item, t, &errors[size_t(t)]);
    if (!ok) failed.store(true);
    state[item].store(ok ? kCoded : kFailed, std::memory_order_release);
    state[item].notify_all();
    return ok;
  };
  std::vector<std::thread> pool;
  try {
    for (int32_t t = 1; t < threads; ++t)
      pool.emplace_back([&, t] {
        while (codeOne(t)) {
        }
      });
  } catch (const std::system_error&) {
    // The threads that did start share the items with this one.
  }
  bool ok = true;
  for (uint32_t written = 0; ok && written < count;) {
    const uint8_t now = state[written].load(std::memory_order_acquire);
    if (now == kCoded) {
      ok = write(written, &errors.back());
      ++written;
    } else if (now == kFailed) {
      ok = false;
    } else if (!codeOne(0) && state[written].load(std::memory_order_acquire) == kPending) {
      // Everything is taken: wait for the item to be written next (a
      // failure elsewhere has marked the failed item, so this ends).
      if (failed.load()) ok = false;
      else state[written].wait(kPending, std::memory_order_acquire);
    }
  }
  if (!ok) failed.store(true);
  for (auto& th : pool) th.join();
  if (ok) return true;
  for (const std::string& e : errors) {
    if (!e.empty()) {
      *error = e;
      break;
    }
  }
  if (error->empty()) *error = "cannot write the TIFF file";
  return false;
}

// Rows of one decoded strip into the image: the file's samples per pixel
// may hold extra samples beyond the image's planes.
void StoreRows(const uint8_t* in, uint32_t firstRow, uint32_t rows, uint32_t width, uint16_t spp, size_t lineBytes,
               HostImage* image) {
  const int32_t planes = PlaneCount(*image);
  const size_t bps = size_t(BytesPerSample(image->type));
  for (uint32_t r = 0; r < rows; ++r, in += lineBytes) {
    uint8_t* out = PixelAddress(*image, 0, int32_t(firstRow + r));
    if (spp == uint16_t(planes)) {
      std::memcpy(out, in, size_t(width) * size_t(planes) * bps);
    } else {
      for (uint32_t x = 0; x < width; ++x)
        std::memcpy(out + size_t(x) * size_t(planes) * bps, in + size_t(x) * spp * bps, size_t(planes) * bps);
    }
  }
}

// Interleaved strips of a large file are decoded side by side, each thread
// through its own handle on the file. False with `handled` unset when the
// file is not laid out for it (the caller reads it row by row).
bool ReadStripsInParallel(const std::string& path, TIFF* tif, uint32_t width, uint32_t height, uint16_t spp,
                          int32_t threads, HostImage* image, bool* handled, std::string* error) {
  *handled = false;
  uint32_t rowsPerStrip = 0;
  TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &rowsPerStrip);
  const uint32_t strips = TIFFNumberOfStrips(tif);
  if (rowsPerStrip == 0 || rowsPerStrip >= height || strips != (height + rowsPerStrip - 1) / rowsPerStrip) return true;
  const int32_t n = CodingThreads(threads, strips);
  if (n < 2) return true;
  const tmsize_t lineBytes = TIFFScanlineSize(tif);
  const tmsize_t stripBytes = TIFFStripSize(tif);
  if (lineBytes <= 0 || stripBytes < lineBytes * tmsize_t(rowsPerStrip)) return true;
  *handled = true;
  // A file line laid out as an image row is decoded straight into the
  // image: no strip buffers to fill, copy out of and free.
  const bool direct = size_t(lineBytes) == RowBytes(*image);
  std::vector<TiffPtr> handles(static_cast<size_t>(n));
  // A strip's bytes are all decoded over: the buffers are not cleared first.
  std::vector<SampleBytes> buffers(static_cast<size_t>(direct ? 0 : n));
  for (int32_t t = 0; t < n; ++t) {
    handles[size_t(t)].reset(TIFFOpen(path.c_str(), "r"));
    if (!handles[size_t(t)]) {
      *error = TiffFailure("cannot open the TIFF file");
      return false;
    }
    if (direct) continue;
    try {
      buffers[size_t(t)].resize(size_t(stripBytes));
    } catch (const std::bad_alloc&) {
      *error = "out of memory";
      return false;
    }
  }
  const auto work = [&](uint32_t s, int32_t t, std::string* e) {
    TIFF* h = handles[size_t(t)].get();
    const uint32_t first = s * rowsPerStrip;
    const uint32_t rows = std::min(rowsPerStrip, height - first);
    const tmsize_t want = lineBytes * tmsize_t(rows);
    uint8_t* into = direct ? PixelAddress(*image, 0, int32_t(first)) : buffers[size_t(t)].data();
    if (TIFFReadEncodedStrip(h, s, into, want) < want) {
      *e = TiffFailure("damaged TIFF file");
      return false;
    }
    if (!direct) StoreRows(into, first, rows, width, spp, size_t(lineBytes), image);
    return true;
  };
  return ForEachStrip(strips, n, work, error);
}

// A TIFF file in memory, for coding one strip apart from the file it goes
// into.
struct MemoryFile {
  std::vector<uint8_t> bytes;
  uint64_t at = 0;
};

tmsize_t MemoryRead(thandle_t h, void* buffer, tmsize_t size) {
  auto* f = static_cast<MemoryFile*>(h);
  if (size < 0 || f->at >= f->bytes.size()) return 0;
  const size_t n = std::min<size_t>(size_t(size), f->bytes.size() - size_t(f->at));
  std::memcpy(buffer, f->bytes.data() + f->at, n);
  f->at += n;
  return tmsize_t(n);
}

tmsize_t MemoryWrite(thandle_t h, void* buffer, tmsize_t size) {
  auto* f = static_cast<MemoryFile*>(h);
  if (size < 0) return -1;
  try {
    if (f->at + uint64_t(size) > f->bytes.size()) f->bytes.resize(size_t(f->at) + size_t(size));
  } catch (const std::bad_alloc&) {
    return -1;
  }
  std::memcpy(f->bytes.data() + f->at, buffer, size_t(size));
  f->at += uint64_t(size);
  return size;
}

toff_t MemorySeek(thandle_t h, toff_t offset, int whence) {
  auto* f = static_cast<MemoryFile*>(h);
  const uint64_t base = whence == SEEK_CUR ? f->at : (whence == SEEK_END ? f->bytes.size() : 0);
  f->at = base + offset;
  return f->at;
}

int MemoryClose(thandle_t) { return 0; }
toff_t MemorySize(thandle_t h) { return static_cast<MemoryFile*>(h)->bytes.size(); }
int MemoryMap(thandle_t, void**, toff_t*) { return 0; }
void MemoryUnmap(thandle_t, void*, toff_t) {}

// The file a TIFF is written to, through a large buffer: libtiff writes
// each strip with a call of its own, and a 4096x2048 result's two thousand
// small writes cost the run milliseconds after the render.
constexpr size_t kTiffWriteBuffer = size_t(1) << 20;

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

// libtiff finds the place of every new strip by seeking to the end of the
// file. On a stream open for reading too, the C library answers each such
// seek by writing its buffer out, asking the file's size and reading the
// last block back: four system calls a strip, and a buffer that never
// fills. The file starts empty and only these procs write it, so its end
// and the stream's position are known here, and a seek to where the stream
// already stands leaves the stream alone. Between a write and a read the
// stream is positioned again, as the C library asks.
struct TiffFile {
  std::FILE* file;
  uint64_t at = 0;
  uint64_t end = 0;
  enum class Last { None, Read, Write } last = Last::None;
};

bool Reposition(TiffFile* f) {
  return f->at <= uint64_t(std::numeric_limits<off_t>::max()) && fseeko(f->file, off_t(f->at), SEEK_SET) == 0;
}

tmsize_t StdioRead(thandle_t h, void* buffer, tmsize_t size) {
  auto* f = static_cast<TiffFile*>(h);
  if (size < 0) return 0;
  if (f->last == TiffFile::Last::Write && !Reposition(f)) return 0;
  f->last = TiffFile::Last::Read;
  const size_t got = std::fread(buffer, 1, size_t(size), f->file);
  f->at += got;
  return tmsize_t(got);
}
tmsize_t StdioWrite(thandle_t h, void* buffer, tmsize_t size) {
  auto* f = static_cast<TiffFile*>(h);
  if (size < 0) return -1;
  if (f->last == TiffFile::Last::Read && !Reposition(f)) return -1;
  f->last = TiffFile::Last::Write;
  const size_t put = std::fwrite(buffer, 1, size_t(size), f->file);
  f->at += put;
  if (f->at > f->end) f->end = f->at;
  return put == size_t(size) ? size : -1;
}
toff_t StdioSeek(thandle_t h, toff_t offset, int whence) {
  auto* f = static_cast<TiffFile*>(h);
  // Offsets are unsigned: a step back from the current place or the end
  // wraps round, as in libtiff's own procs.
  const uint64_t base = whence == SEEK_CUR ? f->at : (whence == SEEK_END ? f->end : 0);
  const uint64_t target = base + uint64_t(offset);
  if (target == f->at) return toff_t(target);
  const uint64_t before = f->at;
  f->at = target;
  if (!Reposition(f)) {
    f->at = before;
    return toff_t(-1);
  }
  f->last = TiffFile::Last::None;
  return toff_t(target);
}
// The file is closed by its owner, who can tell whether the last bytes
// reached it; libtiff would drop the answer.
int StdioKeepOpen(thandle_t) { return 0; }
toff_t StdioSize(thandle_t h) { return toff_t(static_cast<TiffFile*>(h)->end); }
int StdioMap(thandle_t, void**, toff_t*) { return 0; }
void StdioUnmap(thandle_t, void*, toff_t) {}

std::string FileFailure(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

// The tags that decide how the samples are laid out and coded.
void SetLayoutTags(TIFF* tif, const HostImage& image, uint32_t height, uint16_t compression, uint32_t rowsPerStrip) {
  const int32_t planes = PlaneCount(image);
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, uint32_t(image.width));
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, uint16_t(planes));
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, uint16_t(DepthOf(image)));
  TIFFSetField(tif, TIFFTAG_SAMPLEFORMAT,
               uint16_t(image.type == SampleType::F32 ? SAMPLEFORMAT_IEEEFP : SAMPLEFORMAT_UINT));
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, uint16_t(image.colorPlanes == 3 ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK));
  TIFFSetField(tif, TIFFTAG_PLANARCONFIG, uint16_t(PLANARCONFIG_CONTIG));
  TIFFSetField(tif, TIFFTAG_ORIENTATION, uint16_t(ORIENTATION_TOPLEFT));
  TIFFSetField(tif, TIFFTAG_COMPRESSION, compression);
  // Differences of neighbours compress far better than the samples.
  if (compression == COMPRESSION_LZW || compression == COMPRESSION_ADOBE_DEFLATE)
    TIFFSetField(tif, TIFFTAG_PREDICTOR,
                 uint16_t(image.type == SampleType::F32 ? PREDICTOR_FLOATINGPOINT : PREDICTOR_HORIZONTAL));
  // The fast end of zlib, as for PNG: a large Deflate TIFF at level 6 takes
  // several seconds to write.
  if (compression == COMPRESSION_ADOBE_DEFLATE) TIFFSetField(tif, TIFFTAG_ZIPQUALITY, 1);
  if (image.hasAlpha) {
    const uint16_t extra[1] = {EXTRASAMPLE_UNASSALPHA};
    TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, uint16_t(1), extra);
  }
  if (rowsPerStrip > 0) TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, rowsPerStrip);
}

// Row y of the image in the file's sample layout.
void FileRow(const HostImage& image, int32_t y, uint8_t* line) {
  switch (image.type) {
    case SampleType::U8: RowToFile8(image, y, line); break;
    case SampleType::U16: RowToFile16(image, y, reinterpret_cast<uint16_t*>(line)); break;
    case SampleType::F32: RowToFloat(image, y, reinterpret_cast<float*>(line)); break;
  }
}

// Codes strips first..first+count-1 (rowsPerStrip rows each, the image's
// last one shorter) as the strips of a file in memory and keeps each
// strip's bytes: each strip of a TIFF is coded on its own, so they are the
// bytes the file's own coder makes of them. A run of strips shares one
// memory file, whose set-up would otherwise cost more than coding a small
// strip.
bool CodeStrips(const HostImage& image, uint16_t compression, uint32_t first, uint32_t count, uint32_t rowsPerStrip,
                std::vector<uint8_t>* line, std::vector<uint8_t>* out, std::string* error) {
  const uint32_t height = uint32_t(image.height);
  const uint32_t top = first * rowsPerStrip;
  const uint32_t rows = std::min(count * rowsPerStrip, height - top);
  MemoryFile file;
  TiffPtr tif(TIFFClientOpen("strip", "w", &file, MemoryRead, MemoryWrite, MemorySeek, MemoryClose, MemorySize,
                             MemoryMap, MemoryUnmap));
  if (!tif) {
    *error = TiffFailure("cannot code the TIFF strips");
    return false;
  }
  SetLayoutTags(tif.get(), image, rows, compression, rowsPerStrip);
  for (uint32_t r = 0; r < rows; ++r) {
    FileRow(image, int32_t(top + r), line->data());
    if (TIFFWriteScanline(tif.get(), line->data(), r, 0) < 0) {
      *error = TiffFailure("cannot code the TIFF strips");
      return false;
    }
  }
  // The strips' places are asked for before the directory is written,
  // which starts a new, empty one.
  if (!TIFFFlushData(tif.get()) || TIFFNumberOfStrips(tif.get()) != count) {
    *error = TiffFailure("cannot code the TIFF strips");
    return false;
  }
  for (uint32_t i = 0; i < count; ++i) {
    const uint64_t offset = TIFFGetStrileOffset(tif.get(), i);
    const uint64_t bytes = TIFFGetStrileByteCount(tif.get(), i);
    if (offset + bytes > file.bytes.size()) {
      *error = "cannot code the TIFF strips";
      return false;
    }
    out[i].assign(file.bytes.begin() + ptrdiff_t(offset), file.bytes.begin() + ptrdiff_t(offset + bytes));
  }
  return true;
}

// Strips coded together: enough rows that a run's set-up does not count,
// and runs enough to keep every thread busy to the end.
uint32_t StripsPerRun(uint32_t strips, uint32_t rowsPerStrip, int32_t threads) {
  constexpr uint32_t kRowsPerRun = 32;
  const uint32_t wanted = std::max<uint32_t>(1, kRowsPerRun / std::max<uint32_t>(rowsPerStrip, 1));
  const uint32_t balanced = std::max<uint32_t>(1, strips / (uint32_t(std::max(threads, 1)) * 8));
  return std::min(wanted, balanced);
}

}  // namespace

bool ReadTiff(const std::string& path, HostImage* image, std::string* error, int32_t threads) {
  InstallTiffHandlers();
  TiffPtr tif(TIFFOpen(path.c_str(), "r"));
  if (!tif) {
    *error = TiffFailure("cannot open the TIFF file");
    return false;
  }
  uint32_t width = 0, height = 0;
  uint16_t spp = 1, bits = 1, format = SAMPLEFORMAT_UINT, photometric = PHOTOMETRIC_MINISBLACK;
  uint16_t planar = PLANARCONFIG_CONTIG;
  TIFFGetField(tif.get(), TIFFTAG_IMAGEWIDTH, &width);
  TIFFGetField(tif.get(), TIFFTAG_IMAGELENGTH, &height);
  TIFFGetFieldDefaulted(tif.get(), TIFFTAG_SAMPLESPERPIXEL, &spp);
  TIFFGetFieldDefaulted(tif.get(), TIFFTAG_BITSPERSAMPLE, &bits);
  TIFFGetFieldDefaulted(tif.get(), TIFFTAG_SAMPLEFORMAT, &format);
  TIFFGetFieldDefaulted(tif.get(), TIFFTAG_PLANARCONFIG, &planar);
  if (!TIFFGetField(tif.get(), TIFFTAG_PHOTOMETRIC, &photometric)) {
    photometric = spp >= 3 ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK;
  }
  // Before anything is allocated: the header alone may claim any size.
  if (!CheckImageSize(width, height, spp < 3 ? 2 : 4, bits > 8 ? bits / 8 : 1, error)) return false;
  ReadTiffMetadata(tif.get(), &image->meta);
  image->meta.exif = ReadTiffExif(tif.get(), path);

  int32_t colorPlanes = 0;
  if (photometric == PHOTOMETRIC_MINISBLACK) colorPlanes = 1;
  if (photometric == PHOTOMETRIC_RGB && spp >= 3) colorPlanes = 3;
  SampleType type = SampleType::U8;
  bool typeKnown = true;
  if (bits == 8 && format == SAMPLEFORMAT_UINT) {
    type = SampleType::U8;
  } else if (bits == 16 && format == SAMPLEFORMAT_UINT) {
    type = SampleType::U16;
  } else if (bits == 32 && format == SAMPLEFORMAT_IEEEFP) {
    type = SampleType::F32;
  } else {
    typeKnown = false;
  }
  uint16_t extraCount = 0;
  uint16_t* extraTypes = nullptr;
  TIFFGetFieldDefaulted(tif.get(), TIFFTAG_EXTRASAMPLES, &extraCount, &extraTypes);
  // Extra samples beyond the first are dropped; the first is taken as alpha.
  const bool alpha = colorPlanes ? spp > colorPlanes : extraCount > 0;

  if (colorPlanes == 0 || !typeKnown || TIFFIsTiled(tif.get())) {
    if (bits == 8 || (bits < 8 && format == SAMPLEFORMAT_UINT)) {
      return ReadTiffAsRgba(tif.get(), width, height, alpha, image, error);
    }
    *error = "TIFF with " + std::to_string(bits) + "-bit samples in this layout is not supported";
    return false;
  }

  if (!ResizeHostImage(image, int32_t(width), int32_t(height), colorPlanes, alpha, type)) {
    *error = "image too large";
    return false;
  }
  if (planar == PLANARCONFIG_CONTIG) {
    bool handled = false;
    if (!ReadStripsInParallel(path, tif.get(), width, height, spp, threads, image, &handled, error)) return false;
    if (handled) {
      ConvertFile16ToHost(image);
      return true;
    }
  }
  const int32_t planes = PlaneCount(*image);
  const size_t bps = size_t(BytesPerSample(type));
  std::vector<uint8_t> line(size_t(TIFFScanlineSize(tif.get())));
  for (uint32_t y = 0; y < height; ++y) {
    uint8_t* out = PixelAddress(*image, 0, int32_t(y));
    if (planar == PLANARCONFIG_CONTIG) {
      if (TIFFReadScanline(tif.get(), line.data(), y, 0) < 0) {
        *error = TiffFailure("damaged TIFF file");
        return false;
      }
      if (spp == uint16_t(planes)) {
        std::memcpy(out, line.data(), size_t(width) * size_t(planes) * bps);
      } else {
        for (uint32_t x = 0; x < width; ++x) {
          std::memcpy(out + size_t(x) * size_t(planes) * bps, line.data() + size_t(x) * spp * bps,
                      size_t(planes) * bps);
        }
      }
    } else {
      for (int32_t s = 0; s < planes; ++s) {
        if (TIFFReadScanline(tif.get(), line.data(), y, uint16_t(s)) < 0) {
          *error = TiffFailure("damaged TIFF file");
          return false;
        }
        for (uint32_t x = 0; x < width; ++x) {
          std::memcpy(out + (size_t(x) * size_t(planes) + size_t(s)) * bps, line.data() + size_t(x) * bps, bps);
        }
      }
    }
  }
  ConvertFile16ToHost(image);
  return true;
}

bool WriteTiff(const std::string& path, const HostImage& image, uint16_t compression, std::string* error,
               int32_t threads) {
  InstallTiffHandlers();
  // The buffer is ours: given none, the C library keeps its own block-sized
  // one whatever size is asked for. It outlives the stream.
  std::unique_ptr<char[]> buffer(new (std::nothrow) char[kTiffWriteBuffer]);
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "w+b"));
  if (!file) {
    *error = FileFailure("cannot create the TIFF file");
    return false;
  }
  if (buffer) std::setvbuf(file.get(), buffer.get(), _IOFBF, kTiffWriteBuffer);
  TiffFile handle{file.get()};
  TiffPtr tif(TIFFClientOpen(path.c_str(), "w", &handle, StdioRead, StdioWrite, StdioSeek, StdioKeepOpen,
                             StdioSize, StdioMap, StdioUnmap));
  if (!tif) {
    *error = TiffFailure("cannot create the TIFF file");
    return false;
  }
  const uint16_t chosen = ChooseCompression(compression, image.meta);
  SetLayoutTags(tif.get(), image, uint32_t(image.height), chosen, 0);
  if (!image.meta.icc.empty())
    TIFFSetField(tif.get(), TIFFTAG_ICCPROFILE, uint32_t(image.meta.icc.size()), image.meta.icc.data());
  if (!image.meta.xmp.empty())
    TIFFSetField(tif.get(), TIFFTAG_XMLPACKET, uint32_t(image.meta.xmp.size()), image.meta.xmp.data());
  SetTiffExifFields(tif.get(), image.meta.exif);
  const uint32_t rowsPerStrip = TIFFDefaultStripSize(tif.get(), 0);
  TIFFSetField(tif.get(), TIFFTAG_ROWSPERSTRIP, rowsPerStrip);

  const size_t lineBytes = size_t(image.width) * size_t(PlaneCount(image)) * size_t(BytesPerSample(image.type));
  const uint32_t height = uint32_t(image.height);
  const uint32_t strips = rowsPerStrip > 0 ? (height + rowsPerStrip - 1) / rowsPerStrip : 1;
  const int32_t n = chosen == COMPRESSION_NONE ? 1 : CodingThreads(threads, strips);
  if (n >= 2) {
    // The strips are coded side by side and written in order as they come.
    std::vector<std::vector<uint8_t>> coded(strips);
    std::vector<std::vector<uint8_t>> lines(static_cast<size_t>(n));
    try {
      for (auto& l : lines) l.resize(lineBytes);
    } catch (const std::bad_alloc&) {
      *error = "out of memory";
      return false;
    }
    const uint32_t perRun = StripsPerRun(strips, rowsPerStrip, n);
    const auto work = [&](uint32_t run, int32_t t, std::string* e) {
      const uint32_t first = run * perRun;
      return CodeStrips(image, chosen, first, std::min(perRun, strips - first), rowsPerStrip, &lines[size_t(t)],
                        &coded[first], e);
    };
    const auto write = [&](uint32_t run, std::string* e) {
      const uint32_t first = run * perRun, end = std::min(strips, first + perRun);
      for (uint32_t s = first; s < end; ++s) {
        if (TIFFWriteRawStrip(tif.get(), s, coded[s].data(), tmsize_t(coded[s].size())) < 0) {
          *e = TiffFailure("cannot write the TIFF file");
          return false;
        }
        std::vector<uint8_t>().swap(coded[s]);
      }
      return true;
    };
    if (!CodeAndWriteInOrder((strips + perRun - 1) / perRun, n, work, write, error)) return false;
  } else {
    std::vector<uint8_t> line(lineBytes);
    for (int32_t y = 0; y < image.height; ++y) {
      FileRow(image, y, line.data());
      if (TIFFWriteScanline(tif.get(), line.data(), uint32_t(y), 0) < 0) {
        *error = TiffFailure("cannot write the TIFF file");
        return false;
      }
    }
  }
  if (!TIFFFlush(tif.get())) {
    *error = TiffFailure("cannot write the TIFF file");
    return false;
  }
  tif.reset();
  if (std::fflush(file.get()) != 0 || std::ferror(file.get()) || std::fclose(file.release()) != 0) {
    *error = FileFailure("cannot write the TIFF file");
    return false;
  }
  return AppendTiffExif(path, image.meta.exif, error);
}

}  // namespace gyhost
