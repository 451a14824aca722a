// The preview blocks of settings files: the JPEG block that every file since
// version 40 carries, the uncompressed block of versions 22 to 39, and the
// JFIF writer that the JPEG block and the JPEG export share.
#pragma once

#include <cstdint>

#include "dialog/frame_services.h"

struct FSRef;
struct Globals;
struct PyramidDescriptor;
struct TIPTCThing;
struct TEXIFThing;

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

