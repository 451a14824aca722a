#include "frame/settings/settings_file_preview.h"

#include <algorithm>

#include "export/jpeg/jpeg_coder.h"
#include "export/preset_preview.h"
#include "frame/base/file_fields.h"
#include "frame/globals.h"
#include "frame/base/host_suites.h"
#include "frame/base/result_codes.h"
#include "frame/settings/settings_file.h"
#include "frame/settings/settings_file_reader.h"
#include "pyramid/pyramid_descriptor.h"
#include "pyramid/pyramid_levels.h"
#include "pyramid/pyramid_pixels.h"

namespace {

constexpr int32_t kMinimumJpegSide = 16;
constexpr int32_t kBytesPerWorkPixel = 6;

int32_t ClampSide(int32_t v) { return std::clamp(v, 0, kSettingsPreviewSide); }

bool PreviewHasTiles(const Globals* globals) {
  return globals->previewPyramid.tileTable && PyramidHasLevel(&globals->previewPyramid, 0);
}

// A temporary picture with the preview's memory procedures.
bool AllocateLike(PyramidDescriptor* temp, Globals* globals, int32_t width, int32_t height) {
  InitPyramidProcs_from_another_pyr(temp, &globals->previewPyramid);
  return TryToAllocatePyramid_new(temp, width, height, PyramidDataKind_Packed8, 0);
}

int32_t FirstOf(int32_t a, int32_t b) { return a != 0 ? a : b; }

// The picture read from a file becomes the preview: scaled to the preview's
// size when it differs, then the preview's levels are built. Only a picture
// larger than the preview is read from its own coarser levels, so only then
// are they worth building.
void PutIntoPreview(Globals* globals, PyramidDescriptor* picture) {
  const PyramidDescriptor& preview = globals->previewPyramid;
  if (picture->levelWidth[0] > preview.levelWidth[0] || picture->levelHeight[0] > preview.levelHeight[0])
    paint_mipmap_of_pyramid(picture);
  CopyPyramidIntoPreview(globals, picture);
}

}  // namespace

int32_t WritePyrToJFIF(const PyramidDescriptor* pyramid, int16_t refNum, uint8_t withHeader, int16_t quality,
                       uint32_t iccLength, const uint8_t* iccData, TIPTCThing* iptc, TEXIFThing* exif) {
  if (!pyramid) return kJfifNoPyramid;
  if (!pyramid->tileTable || !PyramidHasLevel(pyramid, 0)) return kJfifNoTiles;
  const int32_t width = std::max(kMinimumJpegSide, pyramid->levelWidth[0]);
  const int32_t height = std::max(kMinimumJpegSide, pyramid->levelHeight[0]);
  // The stream carries the profile and the metadata blocks besides the picture.
  const uint64_t workBytes = uint64_t(width) * uint64_t(height) * kBytesPerWorkPixel + uint64_t(iccLength) + 4 * 65536;
  BufferProcs* procs = pyramid->bufferProcs;
  BufferID id = 0;
  void* work = workBytes <= UINT32_MAX ? RobustNewPtr(workBytes, &id, procs) : nullptr;
  uint32_t length = 0;
  uint32_t coded = kJpegFailed;
  if (work) {
    const Rect area{0, 0, int16_t(pyramid->levelHeight[0]), int16_t(pyramid->levelWidth[0])};
    coded = CompressJPEG(pyramid, &area, static_cast<uint8_t*>(work), uint32_t(workBytes), quality, 0, &length,
                         iccLength, iccData, iptc, exif);
  }
  int32_t e;
  if (coded != kJpegOK) {
    e = withHeader ? wrSInt32(0, refNum) : (work ? kJfifCodingFailed : int32_t(kOutOfMemory));
  } else {
    e = 0;
    if (withHeader) {
      e = FirstOf(e, wrSInt32(1, refNum));
      e = FirstOf(e, wrSInt32(width, refNum));
      e = FirstOf(e, wrSInt32(height, refNum));
      e = FirstOf(e, wrSInt32(int32_t(length), refNum));
    }
    e = FirstOf(e, wrBlock(work, int32_t(length), refNum));
  }
  if (work) RobustDisposePtr(&work, &id, procs);
  return e;
}

int32_t Write_a_JPEG_preview(Globals* globals, int16_t refNum, uint8_t withHeader, int32_t width, int32_t height,
                             int16_t quality, TIPTCThing* iptc, TEXIFThing* exif) {
  if (!globals || !PreviewHasTiles(globals)) return withHeader ? wrSInt32(0, refNum) : int32_t(kJfifNoTiles);
  PyramidDescriptor canvas{};
  if (!AllocateLike(&canvas, globals, width, height)) return withHeader ? wrSInt32(0, refNum) : int32_t(kOutOfMemory);
  CopyPreviewIntoPyramid(globals, &canvas);
  const int32_t e = WritePyrToJFIF(&canvas, refNum, withHeader, quality, 0, nullptr, iptc, exif);
  DisposePyramidData(&canvas);
  return e;
}

int32_t Read_a_JPEG_preview(Globals* globals, int16_t refNum, uint8_t* previewRead, int32_t) {
  *previewRead = 0;
  globals->previewWidth = globals->previewHeight = 0;
  int32_t flag = 0, width = 0, height = 0, length = 0;
  if (const int32_t e = NewRdSInt32(&flag, refNum)) return e;
  if (flag == 0) return 0;
  int32_t e = NewRdSInt32(&width, refNum);
  e = FirstOf(e, NewRdSInt32(&height, refNum));
  e = FirstOf(e, NewRdSInt32(&length, refNum));
  if (e != 0) return e;
  if (length < 0) return kSettingsFileDamaged;
  BufferProcs* procs = HostBuffers(globals);
  BufferID id = 0;
  void* data = nullptr;
  // Flags of 2 and above mark data of another kind; a negative flag is an
  // older writer's way of saying 1.
  if (flag < 2 && PreviewHasTiles(globals) && length <= kSettingsPreviewMaxBytes)
    data = RobustNewPtr(uint64_t(kSettingsPreviewMaxBytes), &id, procs);
  if (!data) return IgnoreBytes(length, refNum);
  e = RdBlock(data, length, refNum);
  const int32_t w = ClampSide(width), h = ClampSide(height);
  PyramidDescriptor temp{};
  if (e == 0 && AllocateLike(&temp, globals, w, h)) {
    const Rect area{0, 0, int16_t(h), int16_t(w)};
    if (DecompressJPEG(&temp, &area, static_cast<const uint8_t*>(data), uint32_t(length)) == kJpegOK) {
      PutIntoPreview(globals, &temp);
      globals->previewWidth = w;
      globals->previewHeight = h;
      *previewRead = 1;
    }
    DisposePyramidData(&temp);
  }
  RobustDisposePtr(&data, &id, procs);
  return e;
}

int32_t Read_an_uncompressed_preview(Globals* globals, int16_t refNum, uint8_t* previewRead, int32_t) {
  *previewRead = 0;
  globals->previewWidth = globals->previewHeight = 0;
  int32_t flag = 0, width = 0, height = 0;
  if (const int32_t e = NewRdSInt32(&flag, refNum)) return e;
  if (flag == 0) return 0;
  int32_t e = NewRdSInt32(&width, refNum);
  e = FirstOf(e, NewRdSInt32(&height, refNum));
  if (e != 0) return e;
  if (width < 0 || height < 0) return kSettingsFileDamaged;
  // The block's size is what its header says, whatever part of it we keep.
  // (Up to 3 x (2^31)^2 bytes: unsigned 64-bit holds it; a file never does.)
  const uint64_t bytes = uint64_t(width) * uint64_t(height) * 3;
  PyramidDescriptor temp{};
  const bool fits = width <= kSettingsPreviewSide && height <= kSettingsPreviewSide;
  if (!fits || !PreviewHasTiles(globals) || !AllocateLike(&temp, globals, width, height)) {
    for (uint64_t left = bytes; left > 0;) {
      const int32_t n = int32_t(std::min<uint64_t>(left, INT32_MAX));
      if (const int32_t skipped = IgnoreBytes(n, refNum)) return skipped;
      left -= n;
    }
    return 0;
  }
  uint8_t row[kSettingsPreviewSide * 3];
  for (int32_t y = 0; y < height && e == 0; ++y) {
    e = RdBlock(row, width * 3, refNum);
    for (int32_t x = 0; x < width && e == 0; ++x)
      set_pyramid_sample_point4(x, y, &temp, 0, row[3 * x], row[3 * x + 1], row[3 * x + 2], 255);
  }
  // A picture read whole covers every pixel of the preview; the blank one
  // is left only where the block could not be read.
  if (e == 0) {
    PutIntoPreview(globals, &temp);
    globals->previewWidth = width;
    globals->previewHeight = height;
    *previewRead = 1;
  } else {
    Build_blank_preview(globals);
  }
  DisposePyramidData(&temp);
  return e;
}

bool LoadPresetPreviewIntoPyr(const FSRef* file, PyramidDescriptor* canvas, Globals* globals, int32_t size) {
  if (!file || !canvas || !globals) return false;
  Build_blank_preview(globals);
  uint8_t previewRead = 0;
  ReadSettingsFileSwitchably(globals, file, 0, SettingsRead_PreviewOnly, &previewRead);
  if (!previewRead || !TryToAllocateCanvas_new(canvas, size, size, PyramidDataKind_Packed8, 0)) return false;
  CopyPreviewIntoPyramid(globals, canvas);
  return true;
}
