#include "host/host_image.h"

#include <sys/resource.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

namespace gyhost {

namespace {

float SampleAsUnit(const uint8_t* p, SampleType type) {
  switch (type) {
    case SampleType::U8:
      return float(*p) / 255.0f;
    case SampleType::U16: {
      uint16_t v;
      std::memcpy(&v, p, sizeof v);
      return float(v) / float(kHost16Max);
    }
    case SampleType::F32: {
      float v;
      std::memcpy(&v, p, sizeof v);
      return v;
    }
  }
  return 0.0f;
}

}  // namespace

int32_t BytesPerSample(SampleType type) {
  switch (type) {
    case SampleType::U8:
      return 1;
    case SampleType::U16:
      return 2;
    case SampleType::F32:
      return 4;
  }
  return 1;
}

int32_t PlaneCount(const HostImage& image) { return image.colorPlanes + (image.hasAlpha ? 1 : 0); }

size_t PixelBytes(const HostImage& image) { return size_t(PlaneCount(image)) * size_t(BytesPerSample(image.type)); }

size_t RowBytes(const HostImage& image) { return PixelBytes(image) * size_t(image.width); }

bool ResizeHostImage(HostImage* image, int32_t width, int32_t height, int32_t colorPlanes, bool hasAlpha,
                     SampleType type) {
  if (width <= 0 || height <= 0 || width > kMaxImageSide || height > kMaxImageSide) return false;
  if (colorPlanes != 1 && colorPlanes != 3) return false;
  image->width = width;
  image->height = height;
  image->colorPlanes = colorPlanes;
  image->hasAlpha = hasAlpha;
  image->type = type;
  try {
    image->data.clear();
    image->data.shrink_to_fit();
    image->data.resize(RowBytes(*image) * size_t(height));
  } catch (const std::bad_alloc&) {
    image->data.clear();
    return false;
  }
  return true;
}

bool ResizeHostImageZeroed(HostImage* image, int32_t width, int32_t height, int32_t colorPlanes, bool hasAlpha,
                           SampleType type) {
  if (!ResizeHostImage(image, width, height, colorPlanes, hasAlpha, type)) return false;
  std::memset(image->data.data(), 0, image->data.size());
  return true;
}

uint64_t AvailableMemoryBytes() {
  uint64_t available = 0;
  if (std::FILE* f = std::fopen("/proc/meminfo", "r")) {
    char line[256];
    while (std::fgets(line, sizeof line, f)) {
      unsigned long long kb = 0;
      if (std::sscanf(line, "MemAvailable: %llu kB", &kb) == 1) {
        available = uint64_t(kb) * 1024;
        break;
      }
    }
    std::fclose(f);
  }
  if (available == 0) {
    const long pages = sysconf(_SC_AVPHYS_PAGES), size = sysconf(_SC_PAGESIZE);
    if (pages > 0 && size > 0) available = uint64_t(pages) * uint64_t(size);
  }
  rlimit limit{};
  if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
      (available == 0 || uint64_t(limit.rlim_cur) < available)) {
    available = uint64_t(limit.rlim_cur);
  }
  return available;
}

bool CheckImageSize(int64_t width, int64_t height, int32_t planes, int32_t bytesPerSample, std::string* error) {
  const std::string size = std::to_string(width) + "x" + std::to_string(height) + " pixels";
  if (width <= 0 || height <= 0) {
    *error = "image of " + size + " is empty";
    return false;
  }
  if (width > kMaxImageSide || height > kMaxImageSide) {
    *error = "image of " + size + " is larger than " + std::to_string(kMaxImageSide) + " pixels a side";
    return false;
  }
  const uint64_t bytes = uint64_t(width) * uint64_t(height) * uint64_t(planes) * uint64_t(bytesPerSample);
  const uint64_t available = AvailableMemoryBytes();
  // The input and the result are both held while the filter runs.
  if (available != 0 && 2 * bytes > available) {
    char text[200];
    std::snprintf(text, sizeof text, "image of %s needs %.2f GB (twice %.2f GB) but only %.2f GB of memory is available",
                  size.c_str(), 2 * double(bytes) / 1e9, double(bytes) / 1e9, double(available) / 1e9);
    *error = text;
    return false;
  }
  return true;
}

uint8_t* PixelAddress(HostImage& image, int32_t x, int32_t y) {
  return image.data.data() + size_t(y) * RowBytes(image) + size_t(x) * PixelBytes(image);
}

const uint8_t* PixelAddress(const HostImage& image, int32_t x, int32_t y) {
  return image.data.data() + size_t(y) * RowBytes(image) + size_t(x) * PixelBytes(image);
}

int16_t ImageModeOf(const HostImage& image) {
  const bool grey = image.colorPlanes == 1;
  switch (image.type) {
    case SampleType::U8:
      return grey ? 1 : 3;
    case SampleType::U16:
      return grey ? 10 : 11;
    case SampleType::F32:
      return grey ? 17 : 16;
  }
  return 1;
}

int16_t DepthOf(const HostImage& image) { return int16_t(8 * BytesPerSample(image.type)); }

uint16_t File16ToHost(uint16_t v) { return uint16_t((uint32_t(v) * kHost16Max + 32767u) / 65535u); }

uint16_t HostToFile16(uint16_t v) {
  if (v >= kHost16Max) return 65535;
  return uint16_t((uint32_t(v) * 65535u + kHost16Max / 2) / kHost16Max);
}

uint8_t HostToFile8(uint16_t v) {
  if (v >= kHost16Max) return 255;
  return uint8_t((uint32_t(v) * 255u + kHost16Max / 2) / kHost16Max);
}

uint8_t FloatToFile8(float v) {
  if (!(v > 0.0f)) return 0;  // also NaN
  if (v >= 1.0f) return 255;
  return uint8_t(std::lround(v * 255.0f));
}

uint16_t FloatToFile16(float v) {
  if (!(v > 0.0f)) return 0;
  if (v >= 1.0f) return 65535;
  return uint16_t(std::lround(v * 65535.0f));
}

void ConvertFile16ToHost(HostImage* image) {
  if (image->type != SampleType::U16) return;
  const size_t n = image->data.size() / 2;
  uint8_t* p = image->data.data();
  for (size_t i = 0; i < n; ++i, p += 2) {
    uint16_t v;
    std::memcpy(&v, p, sizeof v);
    v = File16ToHost(v);
    std::memcpy(p, &v, sizeof v);
  }
}

void RowToFile8(const HostImage& image, int32_t y, uint8_t* out) {
  const size_t n = size_t(image.width) * size_t(PlaneCount(image));
  const uint8_t* row = PixelAddress(image, 0, y);
  // The file's 8-bit samples are the host's: a row a byte at a time cost a
  // seventh of the time it takes to code a large TIFF.
  if (image.type == SampleType::U8) {
    std::memcpy(out, row, n);
    return;
  }
  const int32_t bps = BytesPerSample(image.type);
  for (size_t i = 0; i < n; ++i) {
    const uint8_t* p = row + i * size_t(bps);
    switch (image.type) {
      case SampleType::U8:
        out[i] = *p;
        break;
      case SampleType::U16: {
        uint16_t v;
        std::memcpy(&v, p, sizeof v);
        out[i] = HostToFile8(v);
        break;
      }
      case SampleType::F32:
        out[i] = FloatToFile8(SampleAsUnit(p, image.type));
        break;
    }
  }
}

void RowToFile16(const HostImage& image, int32_t y, uint16_t* out) {
  const size_t n = size_t(image.width) * size_t(PlaneCount(image));
  const uint8_t* row = PixelAddress(image, 0, y);
  const int32_t bps = BytesPerSample(image.type);
  for (size_t i = 0; i < n; ++i) {
    const uint8_t* p = row + i * size_t(bps);
    switch (image.type) {
      case SampleType::U8:
        out[i] = uint16_t(*p * 257u);
        break;
      case SampleType::U16: {
        uint16_t v;
        std::memcpy(&v, p, sizeof v);
        out[i] = HostToFile16(v);
        break;
      }
      case SampleType::F32:
        out[i] = FloatToFile16(SampleAsUnit(p, image.type));
        break;
    }
  }
}

void RowToFloat(const HostImage& image, int32_t y, float* out) {
  const size_t n = size_t(image.width) * size_t(PlaneCount(image));
  const uint8_t* row = PixelAddress(image, 0, y);
  const int32_t bps = BytesPerSample(image.type);
  for (size_t i = 0; i < n; ++i) out[i] = SampleAsUnit(row + i * size_t(bps), image.type);
}

}  // namespace gyhost
