// export/psd/: the layered documents that every image export is written as.
// The one entry through which every image export is written: a layered
// document (format 2) or a single JPEG file (format 5) of what the export
// kind in the settings asks for, with a progress window and Cancel. A file
// is put in place only when it was written whole: a failed or cancelled
// export leaves an existing file as it was and nothing partial behind.
#pragma once

#include <cstdint>

struct FSRef;
struct Globals;
struct PSDdoc;

constexpr int32_t kImageFormatPSD = 2;
constexpr int32_t kImageFormatJPEG = 5;
// The canvas of the document could not be had.
constexpr int16_t kCanvasRefused = -99;
// The document's layers would not fit the format's 32-bit lengths.
constexpr int16_t kDocumentTooLarge = -98;
// Faces one file each under a name whose extension names no format.
constexpr int16_t kFaceFormatUnknown = -97;
// Why the last kDocumentTooLarge (the size needed and the limit) or
// kFaceFormatUnknown (the formats there are).
const char* ExportRefusalText();

// Clears the cancel flag, then writes. 0, the first failure, kCanvasRefused,
// kDocumentTooLarge, kFaceFormatUnknown,
// kUserCancelled (with *cancelled 1), or the format number itself for a
// format that does not exist (nothing written).
int16_t WriteImageFile(Globals* globals, const FSRef* file, uint8_t* cancelled, int32_t format);
int16_t WriteImageFile_Mac(Globals* globals, const FSRef* file, uint8_t* cancelled, int32_t format);
// One document, or one per layer (the cube's faces, named by their tags
// beside the chosen name, each in the format of its extension: .psd as a
// document, .png, .tif, .jpg or .exr as an image; a file of the chosen name
// itself is left alone).
int16_t ReallyWritePSDFile(Globals* globals, const FSRef* file, uint8_t* cancelled);
