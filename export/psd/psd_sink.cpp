#include "export/psd/psd_sink.h"

namespace {

void Note(PsdSink* s, int32_t e) {
  if (e != 0 && s->error == 0) s->error = e;
}

}  // namespace

PsdSink PsdSinkFor(int16_t fork, uint8_t sizeOnly) {
  PsdSink s{};
  s.fork = fork;
  s.sizeOnly = sizeOnly;
  return s;
}

void PsdPutBytes(PsdSink* s, const void* bytes, int64_t n) {
  s->count += n;
  if (s->sizeOnly || s->error || n <= 0) return;
  Note(s, wrBlock(bytes, int32_t(n), s->fork));
}

void PsdPut8(PsdSink* s, uint8_t v) { PsdPutBytes(s, &v, 1); }

void PsdPut16(PsdSink* s, uint16_t v) {
  const uint8_t b[2] = {uint8_t(v >> 8), uint8_t(v)};
  PsdPutBytes(s, b, 2);
}

void PsdPut32(PsdSink* s, uint32_t v) {
  const uint8_t b[4] = {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
  PsdPutBytes(s, b, 4);
}

void PsdPutZeros(PsdSink* s, int64_t n) {
  static const uint8_t zeros[64] = {};
  while (n > 0) {
    const int64_t k = n < 64 ? n : 64;
    PsdPutBytes(s, zeros, k);
    n -= k;
  }
}

void PsdPlaneBegin(PsdSink* s) {
  if (s->sizeOnly) return;
  TatStart(&s->tat, s->fork);
  s->tatOpen = 1;
}

void PsdPlaneEnd(PsdSink* s, int64_t n) {
  s->count += n;
  if (!s->tatOpen) return;
  Note(s, TatWrFinish(&s->tat));
  s->tatOpen = 0;
}
