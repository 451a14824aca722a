// The host's in-memory image: interleaved samples, colour planes first and
// the alpha plane behind them, in the representation the plug-in interface
// uses (8-bit 0..255, 16-bit 0..32768, float nominally 0..1).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace gyhost {

enum class SampleType : uint8_t { U8, U16, F32 };

// Leaves new samples unwritten: a decoder fills every one, and zeroing a
// large image first costs a pass over memory (and commits pages a damaged
// file would never use).
template <typename T>
struct UninitializedAllocator : std::allocator<T> {
  template <typename U>
  struct rebind {
    using other = UninitializedAllocator<U>;
  };
  UninitializedAllocator() = default;
  template <typename U>
  UninitializedAllocator(const UninitializedAllocator<U>&) noexcept {}
  template <typename U>
  void construct(U* p) noexcept {
    ::new (static_cast<void*>(p)) U;
  }
  template <typename U, typename... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
};

using SampleBytes = std::vector<uint8_t, UninitializedAllocator<uint8_t>>;

// What an image editor keeps with a document across a filter: the colour
// profile, EXIF (the TIFF-structured block, without the JPEG "Exif" prefix)
// and XMP (the packet text), and how a TIFF input was compressed.
struct ImageMetadata {
  std::vector<uint8_t> icc;
  std::vector<uint8_t> exif;
  std::vector<uint8_t> xmp;
  uint16_t tiffCompression = 0;  // 0: the input was not a TIFF
};

struct HostImage {
  int32_t width = 0;
  int32_t height = 0;
  int32_t colorPlanes = 0;  // 1 grey, 3 RGB
  bool hasAlpha = false;
  SampleType type = SampleType::U8;
  SampleBytes data;  // rows packed without padding
  ImageMetadata meta;
};

// The full scale of a 16-bit host sample.
constexpr uint16_t kHost16Max = 32768;

// The largest side a host rectangle (signed 16-bit) can describe.
constexpr int32_t kMaxImageSide = 32767;

int32_t BytesPerSample(SampleType type);
int32_t PlaneCount(const HostImage& image);
size_t PixelBytes(const HostImage& image);
size_t RowBytes(const HostImage& image);

// Allocates the samples, unwritten (callers fill every one); false when the
// size is unusable or memory runs out.
bool ResizeHostImage(HostImage* image, int32_t width, int32_t height, int32_t colorPlanes, bool hasAlpha,
                     SampleType type);
// The same with zeroed samples.
bool ResizeHostImageZeroed(HostImage* image, int32_t width, int32_t height, int32_t colorPlanes, bool hasAlpha,
                           SampleType type);

// Before a decoder allocates: false with a message naming the size and the
// limit when a side is beyond what a host rectangle holds, or the image (held
// twice: the input and the result) is beyond the memory this machine has
// available.
bool CheckImageSize(int64_t width, int64_t height, int32_t planes, int32_t bytesPerSample, std::string* error);
// Memory available to this process in bytes (available RAM, or the address
// space limit when it is lower); 0 when unknown.
uint64_t AvailableMemoryBytes();

uint8_t* PixelAddress(HostImage& image, int32_t x, int32_t y);
const uint8_t* PixelAddress(const HostImage& image, int32_t x, int32_t y);

// Image mode and depth as the filter interface reports them.
int16_t ImageModeOf(const HostImage& image);
int16_t DepthOf(const HostImage& image);

// Conversions between file samples (16-bit files use 0..65535) and host samples.
uint16_t File16ToHost(uint16_t v);
uint16_t HostToFile16(uint16_t v);  // host values above full scale clamp
uint8_t HostToFile8(uint16_t v);
uint8_t FloatToFile8(float v);
uint16_t FloatToFile16(float v);

// A 16-bit image just read from a file holds 0..65535; bring it to host scale.
void ConvertFile16ToHost(HostImage* image);

// One row of the image as file samples of the given width in bits (8 or 16)
// or as floats; `out` holds width x planes values.
void RowToFile8(const HostImage& image, int32_t y, uint8_t* out);
void RowToFile16(const HostImage& image, int32_t y, uint16_t* out);
void RowToFloat(const HostImage& image, int32_t y, float* out);

}  // namespace gyhost
