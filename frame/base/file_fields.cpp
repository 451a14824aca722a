#include "frame/base/file_fields.h"

#include <bit>
#include <cstring>

#include "frame/base/file_layer.h"
#include "platform/files.h"

namespace {

int32_t WriteBytes(const uint8_t* bytes, uint32_t count, int16_t refNum) {
  return FSWriteFork(refNum, count, bytes, nullptr);
}

void PutBig32(uint32_t v, uint8_t* b) {
  b[0] = uint8_t(v >> 24);
  b[1] = uint8_t(v >> 16);
  b[2] = uint8_t(v >> 8);
  b[3] = uint8_t(v);
}

void PutLittle32(uint32_t v, uint8_t* b) {
  b[0] = uint8_t(v);
  b[1] = uint8_t(v >> 8);
  b[2] = uint8_t(v >> 16);
  b[3] = uint8_t(v >> 24);
}

uint32_t GetBig32(const uint8_t* b) {
  return (uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | uint32_t(b[3]);
}

int32_t Flush(TatWriteBuffer* buffer) {
  const int32_t e = buffer->count > 0 ? WriteBytes(buffer->bytes, uint32_t(buffer->count), buffer->forkRef) : 0;
  buffer->count = 0;
  if (e != 0 && buffer->firstError == 0) buffer->firstError = e;
  return e;
}

}  // namespace

int32_t wrByte(uint8_t value, int16_t refNum) { return WriteBytes(&value, 1, refNum); }

int32_t wrShort(int16_t value, int16_t refNum) {
  const uint8_t b[2] = {uint8_t(uint16_t(value) >> 8), uint8_t(value)};
  return WriteBytes(b, 2, refNum);
}

int32_t wrSInt32(int32_t value, int16_t refNum) {
  uint8_t b[4];
  PutBig32(uint32_t(value), b);
  return WriteBytes(b, 4, refNum);
}

int32_t wrIEEEFloatSingle(float value, int16_t refNum) {
  uint8_t b[4];
  PutBig32(std::bit_cast<uint32_t>(value), b);
  return WriteBytes(b, 4, refNum);
}

int32_t wrSInt32_little_endian(int32_t value, int16_t refNum) {
  uint8_t b[4];
  PutLittle32(uint32_t(value), b);
  return WriteBytes(b, 4, refNum);
}

int32_t wrIEEEFloatSingle_little_endian(float value, int16_t refNum) {
  uint8_t b[4];
  PutLittle32(std::bit_cast<uint32_t>(value), b);
  return WriteBytes(b, 4, refNum);
}

int32_t wrPadBytes(int16_t count, int16_t refNum) {
  if (count <= 0) return 0;
  uint8_t zeros[256] = {};
  for (int32_t left = count; left > 0;) {
    const int32_t n = left < 256 ? left : 256;
    if (const int32_t e = WriteBytes(zeros, uint32_t(n), refNum)) return e;
    left -= n;
  }
  return 0;
}

int32_t wrCStringWithoutNull(const char* s, int16_t refNum) {
  if (!s) return kNullStringArgument;
  return WriteBytes(reinterpret_cast<const uint8_t*>(s), uint32_t(std::strlen(s)), refNum);
}

int32_t wrBlock(const void* bytes, int32_t count, int16_t refNum) {
  if (count <= 0) return 0;
  return WriteBytes(static_cast<const uint8_t*>(bytes), uint32_t(count), refNum);
}

int32_t NewRdSInt32(int32_t* out, int16_t refNum) {
  uint8_t b[4];
  const int32_t e = FSReadFork(refNum, 4, b, nullptr);
  if (e == 0 && out) *out = int32_t(GetBig32(b));
  return e;
}

int32_t rdIEEEFloatSingle(float* out, int16_t refNum) {
  uint8_t b[4];
  const int32_t e = FSReadFork(refNum, 4, b, nullptr);
  if (e == 0 && out) *out = std::bit_cast<float>(GetBig32(b));
  return e;
}

int32_t RdByte(uint8_t* out, int16_t refNum) {
  uint8_t b = 0;
  const int32_t e = FSReadFork(refNum, 1, &b, nullptr);
  if (e == 0 && out) *out = b;
  return e;
}

int32_t RdBlock(void* bytes, int32_t count, int16_t refNum) {
  if (count <= 0) return 0;
  if (!bytes) return kBadParameter;
  return FSReadFork(refNum, uint32_t(count), bytes, nullptr);
}

int32_t IgnoreBytes(int32_t count, int16_t refNum) {
  uint8_t scratch[256];
  for (int32_t left = count; left > 0;) {
    const int32_t n = left < 256 ? left : 256;
    if (const int32_t e = FSReadFork(refNum, uint32_t(n), scratch, nullptr)) return e;
    left -= n;
  }
  return 0;
}

int16_t make_SInt16_bigendian(int16_t value) { return int16_t(__builtin_bswap16(uint16_t(value))); }

int32_t make_native_SInt32_bigendian(int32_t value) { return int32_t(__builtin_bswap32(uint32_t(value))); }

void TatStart(TatWriteBuffer* buffer, int16_t refNum) {
  std::memset(buffer, 0, sizeof *buffer);
  buffer->forkRef = refNum;
}

int32_t TatWr1Byte(uint8_t value, TatWriteBuffer* buffer) {
  buffer->bytes[buffer->count++] = value;
  if (buffer->count >= kTatBufferBytes) return Flush(buffer);
  return buffer->count;
}

int32_t TatWrShort(int16_t value, TatWriteBuffer* buffer) {
  uint8_t b[2];
  std::memcpy(b, &value, 2);
  TatWr1Byte(b[0], buffer);
  return TatWr1Byte(b[1], buffer);
}

int32_t TatWrSint32(int32_t value, TatWriteBuffer* buffer) {
  uint8_t b[4];
  std::memcpy(b, &value, 4);
  TatWr1Byte(b[0], buffer);
  TatWr1Byte(b[1], buffer);
  TatWr1Byte(b[2], buffer);
  return TatWr1Byte(b[3], buffer);
}

int32_t TatWrFinish(TatWriteBuffer* buffer) {
  Flush(buffer);
  return buffer->firstError;
}
