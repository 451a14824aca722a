// export/jpeg/: the in-memory JPEG coder and the JPEG result files.
// A JPEG result file: the current result rendered into an 8-bit canvas and
// coded with our own tables at quality 80, with the EXIF block (APP1), the
// host's colour profile (APP2) and the IPTC block (APP13).
#pragma once

#include <cstdint>

struct FSRef;
struct Globals;
struct PyramidDescriptor;

// Written whole under a temporary name and put in place only then. 0, the
// first failure, -99 without a canvas, or kUserCancelled.
int16_t ReallyWriteJPEGFile(Globals* globals, const FSRef* file, uint8_t* cancelled);
// Codes the canvas into the open fork with the task's keywords (-1 for a
// gallery image); with closeFork the fork is cut at its mark and closed.
// 0 or the first failure.
int32_t TagAndWritePyr(Globals* globals, const PyramidDescriptor* canvas, int16_t fork, int32_t exportKind,
                       uint8_t closeFork);
