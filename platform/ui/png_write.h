// PNG files of 8-bit RGB or RGBA pixels, written without a compression
// library (stored deflate blocks, which every reader accepts).
#pragma once

#include <cstdint>

// `channels` 3 or 4; rows `rowBytes` apart. False when the file cannot be
// written or the arguments make no picture.
bool UiWritePNG(const char* path, const uint8_t* pixels, int32_t width, int32_t height, int32_t rowBytes,
                int32_t channels);
