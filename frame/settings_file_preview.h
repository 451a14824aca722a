// The preview blocks of settings files: the JPEG block that every file since
// version 40 carries, the uncompressed block of versions 22 to 39, and the
// JFIF writer that the JPEG block and the JPEG export share.
#pragma once

#include <cstdint>

struct FSRef;
struct Globals;
struct PyramidDescriptor;
struct TIPTCThing;
struct TEXIFThing;

// Results of WritePyrToJFIF besides 0 and write failures.
constexpr int32_t kJfifNoPyramid = 1;
constexpr int32_t kJfifNoTiles = 2;
constexpr int32_t kJfifCodingFailed = 6;

// Codes level 0 of the pyramid into the open fork, with the preview block's
// words (flag, width, height, length) first when withHeader is 1. With the
// header a picture that cannot be coded (no memory, a coder fault) becomes
// the single flag 0, so the file stays readable; without it that is an
// error.
int32_t WritePyrToJFIF(const PyramidDescriptor* pyramid, int16_t refNum, uint8_t withHeader, int16_t quality,
                       uint32_t iccLength, const uint8_t* iccData, TIPTCThing* iptc, TEXIFThing* exif);
// The preset preview at width x height through WritePyrToJFIF, or the
// single flag 0 when there is no preview or no canvas for it.
int32_t Write_a_JPEG_preview(Globals* globals, int16_t refNum, uint8_t withHeader, int32_t width, int32_t height,
                             int16_t quality, TIPTCThing* iptc, TEXIFThing* exif);

// Each reads one block at the fork's mark into Globals.previewPyramid (when
// it can be stored) and leaves the mark after the block. previewRead is 1
// only when a picture was decoded and copied. 0, a read failure, or
// kSettingsFileDamaged for a block whose stored size is negative.
int32_t Read_a_JPEG_preview(Globals* globals, int16_t refNum, uint8_t* previewRead, int32_t mode);
int32_t Read_an_uncompressed_preview(Globals* globals, int16_t refNum, uint8_t* previewRead, int32_t mode);

// Blank preview, then the file's preview (mode 1), copied into a size x size
// canvas of kind 3 when one was read; true when the canvas holds it.
bool LoadPresetPreviewIntoPyr(const FSRef* file, PyramidDescriptor* canvas, Globals* globals, int32_t size);
