// A file of one rendered face (of a cube map) in the format its name says:
// a name ending in .png, .tif/.tiff, .jpg/.jpeg or .exr gets the canvas in
// that format, at the canvas's depth where the format has it (16-bit PNG and
// TIFF, float TIFF and EXR); .psd is the layered writer's. The plug-in
// codes these itself: it may not lean on the host's image writers.
#pragma once

#include <cstdint>
#include <vector>

struct FSRef;
struct PyramidDescriptor;

enum FaceFileFormat : int32_t {
  FaceFile_Unknown = 0,
  FaceFile_PSD,
  FaceFile_PNG,
  FaceFile_TIFF,
  FaceFile_JPEG,
  FaceFile_EXR,
};

// By the extension of the file's name, in any case.
FaceFileFormat FaceFileFormatOf(const FSRef* file);
// The extensions a face file may have, for messages.
const char* FaceFileExtensions();

// Level 0 of the canvas (8-bit packed, four 16-bit or four float
// components) coded whole into `out`; true, or false when the library
// failed (nothing in `out` then).
bool EncodeFaceImage(const PyramidDescriptor* canvas, FaceFileFormat format, std::vector<uint8_t>* out);
