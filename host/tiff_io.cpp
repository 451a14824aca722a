#include "host/tiff_io.h"

#include <tiffio.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

namespace gyhost {

namespace {

// libtiff reports through process-wide handlers; the last message is kept so
// that a failure can be explained. The host reads and writes on one thread.
char g_tiffMessage[512];

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

}  // namespace

bool ReadTiff(const std::string& path, HostImage* image, std::string* error) {
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

bool WriteTiff(const std::string& path, const HostImage& image, uint16_t compression, std::string* error) {
  InstallTiffHandlers();
  TiffPtr tif(TIFFOpen(path.c_str(), "w"));
  if (!tif) {
    *error = TiffFailure("cannot create the TIFF file");
    return false;
  }
  const int32_t planes = PlaneCount(image);
  const uint16_t bits = uint16_t(DepthOf(image));
  TIFFSetField(tif.get(), TIFFTAG_IMAGEWIDTH, uint32_t(image.width));
  TIFFSetField(tif.get(), TIFFTAG_IMAGELENGTH, uint32_t(image.height));
  TIFFSetField(tif.get(), TIFFTAG_SAMPLESPERPIXEL, uint16_t(planes));
  TIFFSetField(tif.get(), TIFFTAG_BITSPERSAMPLE, bits);
  TIFFSetField(tif.get(), TIFFTAG_SAMPLEFORMAT,
               uint16_t(image.type == SampleType::F32 ? SAMPLEFORMAT_IEEEFP : SAMPLEFORMAT_UINT));
  TIFFSetField(tif.get(), TIFFTAG_PHOTOMETRIC,
               uint16_t(image.colorPlanes == 3 ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK));
  TIFFSetField(tif.get(), TIFFTAG_PLANARCONFIG, uint16_t(PLANARCONFIG_CONTIG));
  TIFFSetField(tif.get(), TIFFTAG_ORIENTATION, uint16_t(ORIENTATION_TOPLEFT));
  const uint16_t chosen = ChooseCompression(compression, image.meta);
  TIFFSetField(tif.get(), TIFFTAG_COMPRESSION, chosen);
  // Differences of neighbours compress far better than the samples.
  if (chosen == COMPRESSION_LZW || chosen == COMPRESSION_ADOBE_DEFLATE)
    TIFFSetField(tif.get(), TIFFTAG_PREDICTOR,
                 uint16_t(image.type == SampleType::F32 ? PREDICTOR_FLOATINGPOINT : PREDICTOR_HORIZONTAL));
  // The fast end of zlib, as for PNG: a large Deflate TIFF at level 6 takes
  // several seconds to write.
  if (chosen == COMPRESSION_ADOBE_DEFLATE) TIFFSetField(tif.get(), TIFFTAG_ZIPQUALITY, 1);
  if (!image.meta.icc.empty())
    TIFFSetField(tif.get(), TIFFTAG_ICCPROFILE, uint32_t(image.meta.icc.size()), image.meta.icc.data());
  if (!image.meta.xmp.empty())
    TIFFSetField(tif.get(), TIFFTAG_XMLPACKET, uint32_t(image.meta.xmp.size()), image.meta.xmp.data());
  if (image.hasAlpha) {
    const uint16_t extra[1] = {EXTRASAMPLE_UNASSALPHA};
    TIFFSetField(tif.get(), TIFFTAG_EXTRASAMPLES, uint16_t(1), extra);
  }
  TIFFSetField(tif.get(), TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tif.get(), 0));

  const size_t samples = size_t(image.width) * size_t(planes);
  std::vector<uint8_t> line(samples * size_t(BytesPerSample(image.type)));
  for (int32_t y = 0; y < image.height; ++y) {
    switch (image.type) {
      case SampleType::U8:
        RowToFile8(image, y, line.data());
        break;
      case SampleType::U16:
        RowToFile16(image, y, reinterpret_cast<uint16_t*>(line.data()));
        break;
      case SampleType::F32:
        RowToFloat(image, y, reinterpret_cast<float*>(line.data()));
        break;
    }
    if (TIFFWriteScanline(tif.get(), line.data(), uint32_t(y), 0) < 0) {
      *error = TiffFailure("cannot write the TIFF file");
      return false;
    }
  }
  if (!TIFFFlush(tif.get())) {
    *error = TiffFailure("cannot write the TIFF file");
    return false;
  }
  return true;
}

}  // namespace gyhost
