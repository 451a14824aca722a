#include "host/regions.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace gyhost {

namespace {

// Full-resolution coordinate of a reduced one: floor(v x rate).
int64_t SampledCoordinate(int32_t v, Fixed16 rate) { return (int64_t(v) * int64_t(rate)) >> 16; }

// The padding level written in the image's sample type.
void MakeFillSample(int16_t padding, SampleType type, uint8_t* out) {
  const int32_t level = padding < 0 ? 0 : std::min<int32_t>(padding, 255);
  switch (type) {
    case SampleType::U8:
      out[0] = uint8_t(level);
      break;
    case SampleType::U16: {
      const uint16_t v = uint16_t((level * int32_t(kHost16Max) + 127) / 255);
      std::memcpy(out, &v, sizeof v);
      break;
    }
    case SampleType::F32: {
      const float v = float(level) / 255.0f;
      std::memcpy(out, &v, sizeof v);
      break;
    }
  }
}

// Source column or row for each position of the request; -1 marks padding.
void MapAxis(int32_t first, int32_t count, Fixed16 rate, int32_t size, bool replicate, std::vector<int32_t>* map) {
  map->resize(size_t(count));
  for (int32_t i = 0; i < count; ++i) {
    int64_t s = SampledCoordinate(first + i, rate);
    if (s < 0 || s >= size) s = replicate ? std::clamp<int64_t>(s, 0, size - 1) : -1;
    (*map)[size_t(i)] = int32_t(s);
  }
}

}  // namespace

bool RectIsEmpty(const Rect& r) { return r.bottom <= r.top || r.right <= r.left; }

void* RegionData(RegionBuffer* buffer) {
  // The filter record's pointer is not const; a lent region is only read.
  if (buffer->lent) return const_cast<uint8_t*>(buffer->lent);
  return buffer->bytes.empty() ? nullptr : buffer->bytes.data();
}

int16_t LendOrDeliverRegion(const HostImage& source, const RegionRequest& request, RegionBuffer* buffer) {
  const Rect& r = request.rect;
  const bool inside = !RectIsEmpty(r) && r.left >= 0 && r.top >= 0 && r.right <= source.width &&
                      r.bottom <= source.height;
  const bool wholePixels = request.loPlane == 0 && request.hiPlane == PlaneCount(source) - 1;
  if (!inside || !wholePixels || request.rate != kUnitRate || RowBytes(source) > size_t(INT32_MAX))
    return DeliverRegion(source, request, buffer);
  buffer->request = request;
  buffer->bytes.clear();
  buffer->lent = PixelAddress(source, r.left, r.top);
  buffer->width = int32_t(r.right) - r.left;
  buffer->height = int32_t(r.bottom) - r.top;
  buffer->rowBytes = int32_t(RowBytes(source));
  return 0;
}

int16_t DeliverRegion(const HostImage& source, const RegionRequest& request, RegionBuffer* buffer) {
  buffer->request = request;
  buffer->lent = nullptr;
  buffer->bytes.clear();
  buffer->width = buffer->height = buffer->rowBytes = 0;
  if (RectIsEmpty(request.rect)) return 0;
  const int32_t planes = PlaneCount(source);
  if (request.loPlane < 0 || request.hiPlane < request.loPlane || request.hiPlane >= planes) {
    return kRequestBadParameter;
  }
  // A rate of zero or below means nothing sensible; treat it as full resolution.
  const Fixed16 rate = request.rate > 0 ? request.rate : kUnitRate;

  const int32_t width = int32_t(request.rect.right) - request.rect.left;
  const int32_t height = int32_t(request.rect.bottom) - request.rect.top;
  const int32_t count = request.hiPlane - request.loPlane + 1;
  const int32_t bps = BytesPerSample(source.type);
  const int64_t rowBytes = int64_t(width) * count * bps;
  if (rowBytes * height > kMaxRegionBytes) return kRequestTooLarge;

  const bool replicate = request.padding == -1;
  std::vector<int32_t> columns, rows;
  try {
    MapAxis(request.rect.left, width, rate, source.width, replicate, &columns);
    MapAxis(request.rect.top, height, rate, source.height, replicate, &rows);
    buffer->bytes.resize(size_t(rowBytes) * size_t(height));
  } catch (const std::bad_alloc&) {
    buffer->bytes.clear();
    return kRequestTooLarge;
  }
  buffer->width = width;
  buffer->height = height;
  buffer->rowBytes = int32_t(rowBytes);

  uint8_t fill[4];
  MakeFillSample(request.padding, source.type, fill);
  const size_t pixelBytes = size_t(count) * size_t(bps);
  const size_t planeOffset = size_t(request.loPlane) * size_t(bps);
  // Whole planes of neighbouring source pixels are copied as one run: the
  // plug-in asks for large tiles of the image many times over.
  const size_t sourcePixelBytes = PixelBytes(source);
  const size_t sourceRowBytes = RowBytes(source);
  const bool wholePixels = planeOffset == 0 && pixelBytes == sourcePixelBytes;
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* out = buffer->bytes.data() + size_t(y) * size_t(rowBytes);
    const int32_t sy = rows[size_t(y)];
    const uint8_t* sourceRow = sy < 0 ? nullptr : source.data.data() + size_t(sy) * sourceRowBytes;
    for (int32_t x = 0; x < width;) {
      const int32_t sx = columns[size_t(x)];
      if (!sourceRow || sx < 0) {
        for (int32_t p = 0; p < count; ++p) std::memcpy(out + size_t(p) * size_t(bps), fill, size_t(bps));
        ++x;
        out += pixelBytes;
        continue;
      }
      int32_t run = 1;
      if (wholePixels)
        while (x + run < width && columns[size_t(x + run)] == sx + run) ++run;
      const uint8_t* in = sourceRow + size_t(sx) * sourcePixelBytes + planeOffset;
      std::memcpy(out, in, size_t(run) * pixelBytes);
      x += run;
      out += size_t(run) * pixelBytes;
    }
  }
  return 0;
}

bool CommitTarget(const RegionBuffer& buffer, const HostImage& dest, VRect* target) {
  const RegionRequest& request = buffer.request;
  if (buffer.bytes.empty() || request.rate != kUnitRate) return false;
  target->left = std::max<int32_t>(request.rect.left, 0);
  target->right = std::min<int32_t>(request.rect.right, dest.width);
  target->top = std::max<int32_t>(request.rect.top, 0);
  target->bottom = std::min<int32_t>(request.rect.bottom, dest.height);
  return target->right > target->left && target->bottom > target->top;
}

void CommitRegion(const RegionBuffer& buffer, HostImage* dest) {
  const RegionRequest& request = buffer.request;
  VRect target{};
  if (!CommitTarget(buffer, *dest, &target)) return;
  const int32_t count = request.hiPlane - request.loPlane + 1;
  const size_t pixelBytes = size_t(count) * size_t(BytesPerSample(dest->type));
  const size_t planeOffset = size_t(request.loPlane) * size_t(BytesPerSample(dest->type));
  const int32_t x0 = target.left, x1 = target.right, y0 = target.top, y1 = target.bottom;
  const size_t destPixelBytes = PixelBytes(*dest);
  const bool wholePixels = planeOffset == 0 && pixelBytes == destPixelBytes;
  for (int32_t y = y0; y < y1; ++y) {
    const uint8_t* in = buffer.bytes.data() + size_t(y - request.rect.top) * size_t(buffer.rowBytes) +
                        size_t(x0 - request.rect.left) * pixelBytes;
    uint8_t* out = PixelAddress(*dest, x0, y) + planeOffset;
    if (wholePixels) {
      std::memcpy(out, in, size_t(x1 - x0) * pixelBytes);
      continue;
    }
    for (int32_t x = x0; x < x1; ++x, in += pixelBytes, out += destPixelBytes) std::memcpy(out, in, pixelBytes);
  }
}

}  // namespace gyhost
