#include "host/io/png_io.h"

#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <bit>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace gyhost {

namespace {

// libpng reports fatal errors through longjmp; the message is kept for the user.
struct PngErrorState {
  char message[256];
};

void OnPngError(png_structp png, png_const_charp message) {
  auto* state = static_cast<PngErrorState*>(png_get_error_ptr(png));
  if (state) std::snprintf(state->message, sizeof state->message, "%s", message ? message : "PNG error");
  png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

// Everything libpng touches between setjmp and a longjmp lives here, so that
// nothing with a destructor is skipped when the jump happens.
struct PngReadJob {
  png_structp png = nullptr;
  png_infop info = nullptr;
  std::vector<png_bytep> rows;
};

constexpr char kXmpKeyword[] = "XML:com.adobe.xmp";
// The profile chunk is carried as raw bytes both ways: libpng checks a
// profile against rules some real files break (a version 4 profile of odd
// length, a header length that disagrees), and would refuse to write it or
// drop it when read; the colour profile is the user's and is kept whole.
constexpr png_byte kIccpChunk[5] = {'i', 'C', 'C', 'P', 0};
constexpr char kIccpName[] = "ICC profile";
constexpr size_t kMaxIccBytes = size_t(64) << 20;

// The profile inside an iCCP chunk's data (name, NUL, method 0, deflated
// bytes); empty when it cannot be inflated.
std::vector<uint8_t> InflateIccp(const png_byte* data, size_t size) {
  const png_byte* nul = static_cast<const png_byte*>(std::memchr(data, 0, std::min<size_t>(size, 80)));
  if (!nul || size_t(nul - data) + 2 > size || nul[1] != 0) return {};
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return {};
  z.next_in = const_cast<Bytef*>(nul + 2);
  z.avail_in = uInt(size - size_t(nul - data) - 2);
  std::vector<uint8_t> out;
  uint8_t buffer[16384];
  int status = Z_OK;
  while (status == Z_OK && out.size() <= kMaxIccBytes) {
    z.next_out = buffer;
    z.avail_out = sizeof buffer;
    status = inflate(&z, Z_NO_FLUSH);
    out.insert(out.end(), buffer, buffer + (sizeof buffer - z.avail_out));
  }
  inflateEnd(&z);
  return status == Z_STREAM_END && out.size() <= kMaxIccBytes ? out : std::vector<uint8_t>{};
}

std::vector<uint8_t> DeflateIccp(const std::vector<uint8_t>& profile) {
  std::vector<uint8_t> chunk(kIccpName, kIccpName + sizeof kIccpName);  // with its NUL
  chunk.push_back(0);                                                    // deflate
  uLongf bound = compressBound(uLong(profile.size()));
  const size_t head = chunk.size();
  chunk.resize(head + bound);
  if (compress2(chunk.data() + head, &bound, profile.data(), uLong(profile.size()), Z_BEST_COMPRESSION) != Z_OK)
    return {};
  chunk.resize(head + bound);
  return chunk;
}

void ReadPngMetadata(png_structp png, png_infop info, ImageMetadata* meta) {
  png_unknown_chunkp chunks = nullptr;
  const int chunkCount = png_get_unknown_chunks(png, info, &chunks);
  for (int i = 0; i < chunkCount && meta->icc.empty(); ++i)
    if (std::memcmp(chunks[i].name, kIccpChunk, 4) == 0 && chunks[i].data)
      meta->icc = InflateIccp(chunks[i].data, chunks[i].size);
  png_bytep exif = nullptr;
  png_uint_32 exifLength = 0;
  if (png_get_eXIf_1(png, info, &exifLength, &exif) && exif && exifLength > 0)
    meta->exif.assign(exif, exif + exifLength);
  png_textp texts = nullptr;
  int count = 0;
  if (png_get_text(png, info, &texts, &count) > 0) {
    for (int i = 0; i < count; ++i) {
      if (std::strcmp(texts[i].key, kXmpKeyword) != 0 || !texts[i].text) continue;
      const size_t n = texts[i].itxt_length ? texts[i].itxt_length : texts[i].text_length;
      meta->xmp.assign(texts[i].text, texts[i].text + n);
    }
  }
}

// Deflate expands at most about 1032 to 1; a file with fewer bytes than the
// claimed pixels need at that rate is damaged or lies about its size, and is
// refused before anything of that size is allocated.
constexpr uint64_t kMaxDeflateRatio = 1100;

bool ReadPngInto(std::FILE* file, uint64_t fileBytes, PngReadJob* job, PngErrorState* err, HostImage* image) {
  if (setjmp(png_jmpbuf(job->png))) return false;
  png_init_io(job->png, file);
  // The size is checked below, with a message that names it; libpng's own
  // limit would only say "Invalid IHDR data".
  png_set_user_limits(job->png, 0x7fffffffL, 0x7fffffffL);
  png_set_keep_unknown_chunks(job->png, PNG_HANDLE_CHUNK_ALWAYS, kIccpChunk, 1);
  png_read_info(job->png, job->info);

  const png_uint_32 width = png_get_image_width(job->png, job->info);
  const png_uint_32 height = png_get_image_height(job->png, job->info);
  {
    const int depth = png_get_bit_depth(job->png, job->info) == 16 ? 2 : 1;
    const int channels = png_get_channels(job->png, job->info) + 1;  // room for an alpha made from tRNS
    std::string sizeError;
    if (!CheckImageSize(width, height, channels < 3 ? 2 : 4, depth, &sizeError)) {
      std::snprintf(err->message, sizeof err->message, "%s", sizeError.c_str());
      return false;
    }
    const uint64_t rawBytes = uint64_t(height) * (1 + uint64_t(png_get_rowbytes(job->png, job->info)));
    if (fileBytes > 0 && fileBytes * kMaxDeflateRatio < rawBytes) {
      std::snprintf(err->message, sizeof err->message,
                    "the file (%llu bytes) is far too short for the %ux%u pixels its header claims; it is damaged",
                    (unsigned long long)fileBytes, unsigned(width), unsigned(height));
      return false;
    }
  }
  ReadPngMetadata(job->png, job->info, &image->meta);
  const int colorType = png_get_color_type(job->png, job->info);
  const int bitDepth = png_get_bit_depth(job->png, job->info);

  if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(job->png);
  if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(job->png);
  const bool hasTrns = png_get_valid(job->png, job->info, PNG_INFO_tRNS) != 0;
  if (hasTrns) png_set_tRNS_to_alpha(job->png);
  if (bitDepth == 16 && std::endian::native == std::endian::little) png_set_swap(job->png);
  png_set_interlace_handling(job->png);
  png_read_update_info(job->png, job->info);

  const int outType = png_get_color_type(job->png, job->info);
  const int outDepth = png_get_bit_depth(job->png, job->info);
  const int32_t colorPlanes = (outType & PNG_COLOR_MASK_COLOR) ? 3 : 1;
  const bool alpha = (outType & PNG_COLOR_MASK_ALPHA) != 0;
  const SampleType type = outDepth == 16 ? SampleType::U16 : SampleType::U8;
  if (!ResizeHostImage(image, int32_t(width), int32_t(height), colorPlanes, alpha, type)) {
    std::snprintf(err->message, sizeof err->message, "out of memory for an image of %ux%u pixels", unsigned(width),
                  unsigned(height));
    return false;
  }
  if (png_get_rowbytes(job->png, job->info) != RowBytes(*image)) {
    std::snprintf(err->message, sizeof err->message, "unexpected PNG row layout");
    return false;
  }
  job->rows.resize(height);
  for (png_uint_32 y = 0; y < height; ++y) job->rows[y] = PixelAddress(*image, 0, int32_t(y));
  png_read_image(job->png, job->rows.data());
  png_read_end(job->png, nullptr);
  if (type == SampleType::U16) ConvertFile16ToHost(image);
  return true;
}

// `iccp` holds the chunk's bytes until the file is written.
void WritePngProfileAndExif(png_structp png, png_infop info, const ImageMetadata& meta, std::vector<uint8_t>* iccp) {
  if (!meta.icc.empty()) *iccp = DeflateIccp(meta.icc);
  if (!iccp->empty()) {
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_ALWAYS, kIccpChunk, 1);
    png_unknown_chunk chunk{};
    std::memcpy(chunk.name, kIccpChunk, 5);
    chunk.data = iccp->data();
    chunk.size = iccp->size();
    chunk.location = PNG_HAVE_IHDR;  // before the image data, as the format asks
    png_set_unknown_chunks(png, info, &chunk, 1);
    png_set_unknown_chunk_location(png, info, 0, PNG_HAVE_IHDR);
  }
  if (!meta.exif.empty())
    png_set_eXIf_1(png, info, png_uint_32(meta.exif.size()), const_cast<png_bytep>(meta.exif.data()));
}

struct PngWriteJob {
  png_structp png = nullptr;
  png_infop info = nullptr;
  std::vector<uint8_t> row;
  std::vector<uint8_t> xmp;  // NUL-terminated copy for libpng
  png_text xmpText{};
  std::vector<uint8_t> iccp;
};

bool WritePngFrom(std::FILE* file, PngWriteJob* job, const HostImage& image, const ImageMetadata& meta, int level,
                  const RowGate& gate) {
  if (setjmp(png_jmpbuf(job->png))) return false;
  const bool sixteen = image.type != SampleType::U8;
  int colorType = image.colorPlanes == 3 ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_GRAY;
  if (image.hasAlpha) colorType |= PNG_COLOR_MASK_ALPHA;
  png_init_io(job->png, file);
  png_set_IHDR(job->png, job->info, png_uint_32(image.width), png_uint_32(image.height), sixteen ? 16 : 8, colorType,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  // zlib's level 6 with libpng's adaptive choice among five filters takes
  // over 12 s for 8192x4096; level 1 with the Up filter under two.
  // The default adds zlib's run-length strategy: as fast again, and on maps
  // (smooth areas, flat void) smaller than level 6.
  png_set_compression_level(job->png, level < 0 ? kDefaultPngLevel : level);
  png_set_filter(job->png, PNG_FILTER_TYPE_BASE, level == 0 ? PNG_FILTER_NONE : PNG_FILTER_UP);
  if (level < 0) png_set_compression_strategy(job->png, Z_RLE);
  WritePngProfileAndExif(job->png, job->info, meta, &job->iccp);
  if (!meta.xmp.empty()) {
    // libpng reads the text up to its NUL.
    job->xmp.assign(meta.xmp.begin(), meta.xmp.end());
    job->xmp.push_back(0);
    job->xmpText.compression = PNG_ITXT_COMPRESSION_NONE;
    job->xmpText.key = const_cast<png_charp>(kXmpKeyword);
    job->xmpText.text = reinterpret_cast<png_charp>(job->xmp.data());
    job->xmpText.itxt_length = meta.xmp.size();
    job->xmpText.lang = const_cast<png_charp>("");
    job->xmpText.lang_key = const_cast<png_charp>("");
    png_set_text(job->png, job->info, &job->xmpText, 1);
  }
  png_write_info(job->png, job->info);
  if (sixteen && std::endian::native == std::endian::little) png_set_swap(job->png);
  const size_t samples = size_t(image.width) * size_t(PlaneCount(image));
  job->row.resize(samples * (sixteen ? 2 : 1));
  for (int32_t y = 0; y < image.height; ++y) {
    if (!PassRow(gate, y)) return false;
    if (sixteen) {
      RowToFile16(image, y, reinterpret_cast<uint16_t*>(job->row.data()));
    } else {
      RowToFile8(image, y, job->row.data());
    }
    png_write_row(job->png, job->row.data());
  }
  png_write_end(job->png, nullptr);
  return true;
}

}  // namespace

bool ReadPng(std::FILE* file, HostImage* image, std::string* error) {
  PngErrorState err{};
  PngReadJob job;
  job.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &err, OnPngError, OnPngWarning);
  if (job.png) job.info = png_create_info_struct(job.png);
  if (!job.png || !job.info) {
    png_destroy_read_struct(job.png ? &job.png : nullptr, nullptr, nullptr);
    *error = "out of memory";
    return false;
  }
  uint64_t fileBytes = 0;
  const long start = std::ftell(file);
  if (start >= 0 && std::fseek(file, 0, SEEK_END) == 0) {
    const long end = std::ftell(file);
    if (end > start) fileBytes = uint64_t(end - start);
    std::fseek(file, start, SEEK_SET);
  }
  const bool ok = ReadPngInto(file, fileBytes, &job, &err, image);
  png_destroy_read_struct(&job.png, &job.info, nullptr);
  if (!ok) *error = err.message[0] ? err.message : "damaged PNG file";
  return ok;
}

bool WritePng(std::FILE* file, const HostImage& image, int level, std::string* error) {
  return WritePng(file, image, image.meta, level, RowGate{}, error);
}

bool WritePng(std::FILE* file, const HostImage& image, const ImageMetadata& meta, int level, const RowGate& gate,
              std::string* error) {
  PngErrorState err{};
  PngWriteJob job;
  job.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &err, OnPngError, OnPngWarning);
  if (job.png) job.info = png_create_info_struct(job.png);
  if (!job.png || !job.info) {
    png_destroy_write_struct(job.png ? &job.png : nullptr, nullptr);
    *error = "out of memory";
    return false;
  }
  const bool ok = WritePngFrom(file, &job, image, meta, level > 9 ? -1 : level, gate);
  png_destroy_write_struct(&job.png, &job.info);
  if (!ok) *error = err.message[0] ? err.message : "cannot write PNG";
  return ok;
}

}  // namespace gyhost
