// MD5 of a byte string, as the desktop's thumbnail store names its files
// by it. Not for anything that needs a secure hash.
#pragma once

#include <cstddef>
#include <cstdint>

void MD5Digest(const void* bytes, size_t length, uint8_t digest[16]);
// The digest as 32 lower-case hex digits and a NUL.
void MD5Hex(const void* bytes, size_t length, char hex[33]);
