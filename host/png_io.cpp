#include "host/png_io.h"

#include <png.h>
#include <zlib.h>

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

void ReadPngMetadata(png_structp png, png_infop info, ImageMetadata* meta) {
  png_charp name = nullptr;
  int compression = 0;
  png_bytep profile = nullptr;
  png_uint_32 length = 0;
  if (png_get_iCCP(png, info, &name, &compression, &profile, &length) && profile && length > 0)
    meta->icc.assign(profile, profile + length);
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

void WritePngProfileAndExif(png_structp png, png_infop info, const ImageMetadata& meta) {
  if (!meta.icc.empty())
    png_set_iCCP(png, info, "ICC profile", PNG_COMPRESSION_TYPE_BASE, meta.icc.data(), png_uint_32(meta.icc.size()));
  if (!meta.exif.empty())
    png_set_eXIf_1(png, info, png_uint_32(meta.exif.size()), const_cast<png_bytep>(meta.exif.data()));
}

struct PngWriteJob {
  png_structp png = nullptr;
  png_infop info = nullptr;
  std::vector<uint8_t> row;
  std::vector<uint8_t> xmp;  // NUL-terminated copy for libpng
  png_text xmpText{};
};

bool WritePngFrom(std::FILE* file, PngWriteJob* job, const HostImage& image, int level) {
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
  WritePngProfileAndExif(job->png, job->info, image.meta);
  if (!image.meta.xmp.empty()) {
    // libpng reads the text up to its NUL.
    job->xmp.assign(image.meta.xmp.begin(), image.meta.xmp.end());
    job->xmp.push_back(0);
    job->xmpText.compression = PNG_ITXT_COMPRESSION_NONE;
    job->xmpText.key = const_cast<png_charp>(kXmpKeyword);
    job->xmpText.text = reinterpret_cast<png_charp>(job->xmp.data());
    job->xmpText.itxt_length = image.meta.xmp.size();
    job->xmpText.lang = const_cast<png_charp>("");
    job->xmpText.lang_key = const_cast<png_charp>("");
    png_set_text(job->png, job->info, &job->xmpText, 1);
  }
  png_write_info(job->png, job->info);
  if (sixteen && std::endian::native == std::endian::little) png_set_swap(job->png);
  const size_t samples = size_t(image.width) * size_t(PlaneCount(image));
  job->row.resize(samples * (sixteen ? 2 : 1));
  for (int32_t y = 0; y < image.height; ++y) {
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
  PngErrorState err{};
  PngWriteJob job;
  job.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &err, OnPngError, OnPngWarning);
  if (job.png) job.info = png_create_info_struct(job.png);
  if (!job.png || !job.info) {
    png_destroy_write_struct(job.png ? &job.png : nullptr, nullptr);
    *error = "out of memory";
    return false;
  }
  const bool ok = WritePngFrom(file, &job, image, level > 9 ? -1 : level);
  png_destroy_write_struct(&job.png, &job.info);
  if (!ok) *error = err.message[0] ? err.message : "cannot write PNG";
  return ok;
}

}  // namespace gyhost
