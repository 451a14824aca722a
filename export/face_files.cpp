#include "export/face_files.h"

#include <ImfChannelList.h>
#include <ImfFrameBuffer.h>
#include <ImfHeader.h>
#include <ImfIO.h>
#include <ImfOutputFile.h>
#include <jpeglib.h>
#include <png.h>
#include <tiffio.h>

#include <algorithm>
#include <cctype>
#include <csetjmp>
#include <cstring>
#include <string>

#include "platform/files.h"
#include "pyramid/pyramid_descriptor.h"

namespace {

constexpr int kJpegQuality = 95;
constexpr int32_t kFull16 = 32768;  // the canvas's unit of 16-bit components

struct ExtensionRow {
  const char* extension;
  FaceFileFormat format;
};
constexpr ExtensionRow kExtensions[] = {
    {".psd", FaceFile_PSD},   {".png", FaceFile_PNG},   {".tif", FaceFile_TIFF}, {".tiff", FaceFile_TIFF},
    {".jpg", FaceFile_JPEG},  {".jpeg", FaceFile_JPEG}, {".exr", FaceFile_EXR},
};

// The canvas's depth as the file keeps it.
enum class Depth { Eight, Sixteen, Float };

Depth DepthOf(const PyramidDescriptor* c) {
  if (c->dataKind == PyramidDataKind_FourFloat) return Depth::Float;
  return c->dataKind == PyramidDataKind_Four16 ? Depth::Sixteen : Depth::Eight;
}

// One row of RGBA as the writers take it: bytes, 16-bit values (0..65535)
// or floats (1 = full), whatever the canvas holds.
void ReadRow(const PyramidDescriptor* c, int32_t y, uint8_t* bytes, uint16_t* words, float* floats) {
  const int32_t width = c->levelWidth[0];
  for (int32_t x0 = 0; x0 < width; x0 += kPyramidTileSize) {
    const int32_t x1 = std::min(width, x0 + kPyramidTileSize);
    const uint8_t* px = PyramidPixelAddress(c, 0, x0, y);
    for (int32_t x = x0; x < x1; ++x, px += c->bytesPerPixel) {
      for (int32_t k = 0; k < 4; ++k) {
        float f = 0.0f;
        if (c->dataKind == PyramidDataKind_FourFloat) {
          std::memcpy(&f, px + 4 * k, 4);
        } else if (c->dataKind == PyramidDataKind_Four16) {
          uint16_t v;
          std::memcpy(&v, px + 2 * k, 2);
          f = float(v) / float(kFull16);
          if (words) words[4 * x + k] = v >= kFull16 ? 65535 : uint16_t(2 * v);
        } else {
          uint32_t v;
          std::memcpy(&v, px, 4);
          const uint8_t b = uint8_t(v >> (24 - 8 * k));
          f = float(b) / 255.0f;
          if (bytes) bytes[4 * x + k] = b;
        }
        const float clamped = std::clamp(f, 0.0f, 1.0f);
        if (bytes && c->dataKind != PyramidDataKind_Packed8) bytes[4 * x + k] = uint8_t(clamped * 255.0f + 0.5f);
        if (words && c->dataKind != PyramidDataKind_Four16) words[4 * x + k] = uint16_t(clamped * 65535.0f + 0.5f);
        if (floats) floats[4 * x + k] = f;
      }
    }
  }
}

// --- PNG ---------------------------------------------------------------

void PngAppend(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

bool EncodePng(const PyramidDescriptor* c, std::vector<uint8_t>* out) {
  const int32_t w = c->levelWidth[0], h = c->levelHeight[0];
  const bool wide = DepthOf(c) != Depth::Eight;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  std::vector<uint8_t> row(size_t(w) * 4 * (wide ? 2 : 1));
  std::vector<uint16_t> words(wide ? size_t(w) * 4 : 0);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, out, PngAppend, nullptr);
  png_set_IHDR(png, info, png_uint_32(w), png_uint_32(h), wide ? 16 : 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int32_t y = 0; y < h; ++y) {
    if (wide) {
      ReadRow(c, y, nullptr, words.data(), nullptr);
      for (size_t i = 0; i < words.size(); ++i) {  // PNG samples are big-endian
        row[2 * i] = uint8_t(words[i] >> 8);
        row[2 * i + 1] = uint8_t(words[i]);
      }
    } else {
      ReadRow(c, y, row.data(), nullptr, nullptr);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return true;
}

// --- TIFF --------------------------------------------------------------

struct MemoryFile {
  std::vector<uint8_t>* bytes;
  toff_t at;
};

tsize_t TiffRead(thandle_t h, tdata_t data, tsize_t n) {
  auto* f = static_cast<MemoryFile*>(h);
  const toff_t end = std::min<toff_t>(f->bytes->size(), f->at + toff_t(n));
  const tsize_t got = f->at < end ? tsize_t(end - f->at) : 0;
  if (got > 0) std::memcpy(data, f->bytes->data() + f->at, size_t(got));
  f->at += toff_t(got);
  return got;
}

tsize_t TiffWrite(thandle_t h, tdata_t data, tsize_t n) {
  auto* f = static_cast<MemoryFile*>(h);
  if (f->at + toff_t(n) > f->bytes->size()) f->bytes->resize(size_t(f->at + toff_t(n)));
  std::memcpy(f->bytes->data() + f->at, data, size_t(n));
  f->at += toff_t(n);
  return n;
}

toff_t TiffSeek(thandle_t h, toff_t off, int whence) {
  auto* f = static_cast<MemoryFile*>(h);
  const toff_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? f->at : toff_t(f->bytes->size());
  f->at = base + off;
  return f->at;
}

int TiffClose(thandle_t) { return 0; }
toff_t TiffSize(thandle_t h) { return toff_t(static_cast<MemoryFile*>(h)->bytes->size()); }
int TiffMap(thandle_t, tdata_t*, toff_t*) { return 0; }
void TiffUnmap(thandle_t, tdata_t, toff_t) {}

bool EncodeTiff(const PyramidDescriptor* c, std::vector<uint8_t>* out) {
  const int32_t w = c->levelWidth[0], h = c->levelHeight[0];
  const Depth depth = DepthOf(c);
  MemoryFile file{out, 0};
  TIFF* tif = TIFFClientOpen("face", "w", &file, TiffRead, TiffWrite, TiffSeek, TiffClose, TiffSize, TiffMap, TiffUnmap);
  if (!tif) return false;
  const uint16_t bits = depth == Depth::Eight ? 8 : depth == Depth::Sixteen ? 16 : 32;
  const uint16_t extra = EXTRASAMPLE_UNASSALPHA;
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, uint32_t(w));
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, uint32_t(h));
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 4);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, bits);
  TIFFSetField(tif, TIFFTAG_SAMPLEFORMAT, depth == Depth::Float ? SAMPLEFORMAT_IEEEFP : SAMPLEFORMAT_UINT);
  TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, &extra);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
  TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE);
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tif, 0));
  std::vector<uint8_t> bytes(depth == Depth::Eight ? size_t(w) * 4 : 0);
  std::vector<uint16_t> words(depth == Depth::Sixteen ? size_t(w) * 4 : 0);
  std::vector<float> floats(depth == Depth::Float ? size_t(w) * 4 : 0);
  bool ok = true;
  for (int32_t y = 0; y < h && ok; ++y) {
    ReadRow(c, y, bytes.empty() ? nullptr : bytes.data(), words.empty() ? nullptr : words.data(),
            floats.empty() ? nullptr : floats.data());
    void* row = depth == Depth::Eight ? static_cast<void*>(bytes.data())
                : depth == Depth::Sixteen ? static_cast<void*>(words.data())
                                          : static_cast<void*>(floats.data());
    ok = TIFFWriteScanline(tif, row, uint32_t(y), 0) == 1;
  }
  TIFFClose(tif);
  if (!ok) out->clear();
  return ok;
}

// --- JPEG --------------------------------------------------------------

struct JpegFailure {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

void JpegFailed(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegFailure*>(info->err)->jump, 1); }

// JPEG keeps no transparency: the faces of a cube are opaque anyway.
bool EncodeJpeg(const PyramidDescriptor* c, std::vector<uint8_t>* out) {
  const int32_t w = c->levelWidth[0], h = c->levelHeight[0];
  jpeg_compress_struct info{};
  JpegFailure failure{};
  info.err = jpeg_std_error(&failure.manager);
  failure.manager.error_exit = JpegFailed;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  std::vector<uint8_t> rgba(size_t(w) * 4), rgb(size_t(w) * 3);
  if (setjmp(failure.jump)) {
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return false;
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = JDIMENSION(w);
  info.image_height = JDIMENSION(h);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, kJpegQuality, TRUE);
  jpeg_start_compress(&info, TRUE);
  for (int32_t y = 0; y < h; ++y) {
    ReadRow(c, y, rgba.data(), nullptr, nullptr);
    for (int32_t x = 0; x < w; ++x) std::memcpy(&rgb[size_t(x) * 3], &rgba[size_t(x) * 4], 3);
    JSAMPROW row = rgb.data();
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  out->assign(buffer, buffer + size);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return true;
}

// --- OpenEXR -----------------------------------------------------------

class MemoryStream : public Imf::OStream {
 public:
  explicit MemoryStream(std::vector<uint8_t>* bytes) : Imf::OStream("face"), bytes_(bytes) {}
  void write(const char c[], int n) override {
    if (at_ + uint64_t(n) > bytes_->size()) bytes_->resize(size_t(at_ + uint64_t(n)));
    std::memcpy(bytes_->data() + at_, c, size_t(n));
    at_ += uint64_t(n);
  }
  uint64_t tellp() override { return at_; }
  void seekp(uint64_t pos) override { at_ = pos; }

 private:
  std::vector<uint8_t>* bytes_;
  uint64_t at_ = 0;
};

// Float channels at every depth; colour premultiplied by transparency, as
// the format keeps it.
bool EncodeExr(const PyramidDescriptor* c, std::vector<uint8_t>* out) {
  const int32_t w = c->levelWidth[0], h = c->levelHeight[0];
  std::vector<float> pixels(size_t(w) * size_t(h) * 4);
  for (int32_t y = 0; y < h; ++y) {
    float* row = pixels.data() + size_t(y) * size_t(w) * 4;
    ReadRow(c, y, nullptr, nullptr, row);
    for (int32_t x = 0; x < w; ++x)
      for (int32_t k = 0; k < 3; ++k) row[4 * x + k] *= row[4 * x + 3];
  }
  try {
    Imf::Header header(w, h);
    header.compression() = Imf::ZIP_COMPRESSION;
    static const char* const kNames[4] = {"R", "G", "B", "A"};
    for (const char* name : kNames) header.channels().insert(name, Imf::Channel(Imf::FLOAT));
    Imf::FrameBuffer frame;
    const size_t xStride = 4 * sizeof(float), yStride = xStride * size_t(w);
    for (int32_t k = 0; k < 4; ++k)
      frame.insert(kNames[k], Imf::Slice(Imf::FLOAT, reinterpret_cast<char*>(pixels.data() + k), xStride, yStride));
    MemoryStream stream(out);
    Imf::OutputFile file(stream, header);
    file.setFrameBuffer(frame);
    file.writePixels(h);
  } catch (...) {
    // No exception leaves the plug-in: a failed coding is a failed write.
    out->clear();
    return false;
  }
  return true;
}

}  // namespace

FaceFileFormat FaceFileFormatOf(const FSRef* file) {
  if (!file) return FaceFile_Unknown;
  const char* slash = std::strrchr(file->path, '/');
  const char* dot = std::strrchr(slash ? slash + 1 : file->path, '.');
  if (!dot) return FaceFile_Unknown;
  std::string extension(dot);
  for (char& ch : extension) ch = char(std::tolower(static_cast<unsigned char>(ch)));
  for (const ExtensionRow& row : kExtensions)
    if (extension == row.extension) return row.format;
  return FaceFile_Unknown;
}

const char* FaceFileExtensions() { return ".psd, .png, .tif, .tiff, .jpg, .jpeg or .exr"; }

bool EncodeFaceImage(const PyramidDescriptor* canvas, FaceFileFormat format, std::vector<uint8_t>* out) {
  if (!canvas || !out || canvas->levelWidth[0] < 1 || canvas->levelHeight[0] < 1) return false;
  out->clear();
  switch (format) {
    case FaceFile_PNG: return EncodePng(canvas, out);
    case FaceFile_TIFF: return EncodeTiff(canvas, out);
    case FaceFile_JPEG: return EncodeJpeg(canvas, out);
    case FaceFile_EXR: return EncodeExr(canvas, out);
    default: return false;
  }
}
