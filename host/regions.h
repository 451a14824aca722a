// Delivery of the pixel rectangles a plug-in asks for: clipped to the image,
// padded outside it, planes interleaved per pixel, optionally sampled at a
// reduced rate; and the way back for rectangles the plug-in wrote.
#pragma once

#include <cstdint>
#include <vector>

#include "host/host_image.h"
#include "platform/plugin_api.h"

namespace gyhost {

// Answers to a request the host cannot serve.
constexpr int16_t kRequestBadParameter = -50;
constexpr int16_t kRequestTooLarge = -108;

// One buffer may hold at most this many bytes; row sizes must fit int32.
constexpr int64_t kMaxRegionBytes = int64_t(1) << 31;

constexpr Fixed16 kUnitRate = 0x10000;

struct RegionRequest {
  Rect rect{};  // in pixels of the image sampled at `rate`
  int16_t loPlane = 0;
  int16_t hiPlane = 0;
  Fixed16 rate = kUnitRate;  // 16.16; 2.0 delivers every second pixel
  int16_t padding = -1;      // -1 replicates the edge, 0..255 fills with that level
};

struct RegionBuffer {
  RegionRequest request;  // what the buffer holds
  SampleBytes bytes;      // every byte is written on delivery: not cleared first
  // Rows lent from the source image instead of `bytes` (see
  // LendOrDeliverRegion); null when the buffer holds its own copy.
  const uint8_t* lent = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  int32_t rowBytes = 0;
};

bool RectIsEmpty(const Rect& r);

// Fills `buffer` with the requested samples of `source`. Returns 0, or
// kRequestBadParameter for planes outside the image, or kRequestTooLarge.
// An empty rectangle gives an empty buffer (data pointer null).
int16_t DeliverRegion(const HostImage& source, const RegionRequest& request, RegionBuffer* buffer);

// For rectangles the plug-in only reads: a request for whole pixels at full
// rate that lies inside `source` is answered with the source's own rows
// (rowBytes the source's), without a copy; anything else is delivered as
// DeliverRegion does. The lent rows stay valid while `source` is unchanged.
int16_t LendOrDeliverRegion(const HostImage& source, const RegionRequest& request, RegionBuffer* buffer);

// The buffer's data pointer as the filter record carries it (null when empty).
void* RegionData(RegionBuffer* buffer);

// Copies the part of a full-rate buffer that lies inside `dest` back into it,
// only the buffer's planes. Buffers at another rate are not written back.
void CommitRegion(const RegionBuffer& buffer, HostImage* dest);

// The pixels of `dest` that CommitRegion would write; false when none.
bool CommitTarget(const RegionBuffer& buffer, const HostImage& dest, VRect* target);

}  // namespace gyhost
