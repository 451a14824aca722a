// Where the layered-document writers put their bytes: every writer runs
// twice over the same code, once only counting (the size of each length
// field) and once writing big-endian fields into the open fork, so the two
// passes cannot disagree. Bulk pixel planes go through the 400-byte buffered
// writer.
#pragma once

#include <cstdint>

#include "frame/base/file_fields.h"

struct PsdSink {
  int16_t fork;
  uint8_t sizeOnly;
  int64_t count;  // bytes counted (or written) so far
  int32_t error;  // the first failed write; later writes are skipped
  TatWriteBuffer tat;
  uint8_t tatOpen;
};

PsdSink PsdSinkFor(int16_t fork, uint8_t sizeOnly);
void PsdPut8(PsdSink* s, uint8_t v);
void PsdPut16(PsdSink* s, uint16_t v);
void PsdPut32(PsdSink* s, uint32_t v);
void PsdPutBytes(PsdSink* s, const void* bytes, int64_t n);
void PsdPutZeros(PsdSink* s, int64_t n);
// Pixel planes: a counted run of n bytes whose values the caller sends
// through PsdPlaneByte while the sink writes (nothing is sent in the size
// pass, where the run is only counted).
void PsdPlaneBegin(PsdSink* s);
inline void PsdPlaneByte(PsdSink* s, uint8_t v) { TatWr1Byte(v, &s->tat); }
void PsdPlaneEnd(PsdSink* s, int64_t n);
