// PNG files of 8-bit RGB or RGBA pixels made in memory, without a
// compression library (stored deflate blocks, which every reader accepts),
// with optional text chunks.
#pragma once

#include <cstdint>
#include <vector>

// One tEXt chunk: a Latin-1 keyword of 1 to 79 bytes and its text.
struct PNGText {
  const char* keyword;
  const char* text;
};

// `channels` 3 or 4; rows `rowBytes` apart. Empty when the arguments make
// no picture or a keyword is not one PNG allows.
std::vector<uint8_t> EncodePNG(const uint8_t* pixels, int32_t width, int32_t height, int32_t rowBytes,
                               int32_t channels, const PNGText* texts = nullptr, int32_t textCount = 0);
