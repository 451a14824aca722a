// Field readers and writers of the plug-in's own files, one field at a time
// at the fork's mark: big-endian for our files, little-endian for the binary
// model files, and a 400-byte buffered writer for bulk channel data.
//
// A read that delivers less than its field leaves the target unchanged and
// answers the end-of-file code; callers reading field after field may go on
// and test once at the end.
#pragma once

#include <cstdint>

int32_t wrByte(uint8_t value, int16_t refNum);
int32_t wrShort(int16_t value, int16_t refNum);
int32_t wrSInt32(int32_t value, int16_t refNum);
int32_t wrIEEEFloatSingle(float value, int16_t refNum);
int32_t wrSInt32_little_endian(int32_t value, int16_t refNum);
int32_t wrIEEEFloatSingle_little_endian(float value, int16_t refNum);
// count zero bytes (nothing for count <= 0); the first failure, else 0.
int32_t wrPadBytes(int16_t count, int16_t refNum);
// The characters without the NUL; kNullStringArgument for a null string.
int32_t wrCStringWithoutNull(const char* s, int16_t refNum);
int32_t wrBlock(const void* bytes, int32_t count, int16_t refNum);

int32_t NewRdSInt32(int32_t* out, int16_t refNum);
int32_t rdIEEEFloatSingle(float* out, int16_t refNum);
int32_t RdByte(uint8_t* out, int16_t refNum);
// Reads exactly count bytes; a short read leaves what it got in the buffer.
int32_t RdBlock(void* bytes, int32_t count, int16_t refNum);
// Skips count bytes by reading them; stops at the first failed read and
// answers it (0 for count <= 0).
int32_t IgnoreBytes(int32_t count, int16_t refNum);

int16_t make_SInt16_bigendian(int16_t value);
int32_t make_native_SInt32_bigendian(int32_t value);

constexpr int32_t kTatBufferBytes = 400;

struct TatWriteBuffer {
  uint8_t bytes[kTatBufferBytes];
  int32_t count;  // pending bytes, 0..399 between calls
  int16_t forkRef;
  // The first failed flush, kept so that TatWrFinish can report it even when
  // the caller never looks at the appends' answers.
  int32_t firstError;
};

void TatStart(TatWriteBuffer* buffer, int16_t refNum);
// Each append answers the write's result when it flushed, else the new count.
int32_t TatWr1Byte(uint8_t value, TatWriteBuffer* buffer);
// The value's bytes in memory order (low byte first on this target).
int32_t TatWrShort(int16_t value, TatWriteBuffer* buffer);
int32_t TatWrSint32(int32_t value, TatWriteBuffer* buffer);
// Writes what is pending; the first failure of any flush, else 0.
int32_t TatWrFinish(TatWriteBuffer* buffer);
