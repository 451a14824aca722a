#include "platform/ui/png_write.h"

#include <cstdio>
#include <vector>

#include "platform/png_bytes.h"

bool UiWritePNG(const char* path, const uint8_t* pixels, int32_t width, int32_t height, int32_t rowBytes,
                int32_t channels) {
  if (!path) return false;
  const std::vector<uint8_t> file = EncodePNG(pixels, width, height, rowBytes, channels);
  if (file.empty()) return false;
  std::FILE* f = std::fopen(path, "wb");
  if (!f) return false;
  const bool written = std::fwrite(file.data(), 1, file.size(), f) == file.size();
  return std::fclose(f) == 0 && written;
}
