#include "host/streamed_output.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <system_error>

#include "host/io/jpeg_io.h"
#include "host/io/png_io.h"
#include "host/io/row_gate.h"

namespace gyhost {

namespace {

bool SameMetadata(const ImageMetadata& a, const ImageMetadata& b) {
  return a.icc == b.icc && a.exif == b.exif && a.xmp == b.xmp;
}

}  // namespace

StreamedOutput::StreamedOutput(ImageFormat format, ImageMetadata meta, const WriteOptions& options)
    : format_(format), meta_(std::move(meta)), options_(options) {}

StreamedOutput::~StreamedOutput() { Drop(); }

void StreamedOutput::Begin(const HostImage* picture) {
  Drop();
  if (format_ != ImageFormat::Png && format_ != ImageFormat::Jpeg) return;
  picture_ = picture;
  ready_.store(0);
  written_ = 0;
  stop_.store(false);
  coded_ = false;
  bytes_.clear();
  try {
    coder_ = std::thread([this] { Code(); });
  } catch (const std::system_error&) {
    return;  // no stream: the file is coded at the end
  }
  live_ = true;
}

bool StreamedOutput::RowReady(void* self, int32_t y) {
  auto* s = static_cast<StreamedOutput*>(self);
  for (;;) {
    const uint32_t seen = s->signal_.load(std::memory_order_acquire);
    if (s->stop_.load(std::memory_order_acquire)) return false;
    if (y < s->ready_.load(std::memory_order_acquire)) return true;
    s->signal_.wait(seen, std::memory_order_acquire);
  }
}

void StreamedOutput::Code() {
  char* buffer = nullptr;
  size_t size = 0;
  std::FILE* file = open_memstream(&buffer, &size);
  if (!file) return;
  const RowGate gate{RowReady, this};
  std::string error;
  bool ok = format_ == ImageFormat::Png ? WritePng(file, *picture_, meta_, options_.pngLevel, gate, &error)
                                        : WriteJpeg(file, *picture_, meta_, gate, &error);
  ok = std::fflush(file) == 0 && !std::ferror(file) && ok;
  ok = std::fclose(file) == 0 && ok;
  if (ok && !stop_.load()) {
    try {
      bytes_.assign(buffer, buffer + size);
      coded_ = true;
    } catch (const std::bad_alloc&) {
      bytes_.clear();
    }
  }
  std::free(buffer);
}

void StreamedOutput::Writing(int32_t top, int32_t bottom, int32_t, int32_t) {
  if (live_ && top < ready_.load(std::memory_order_relaxed) && bottom > top) Drop();
}

void StreamedOutput::Wrote(int32_t top, int32_t bottom, int32_t left, int32_t right) {
  if (!live_ || bottom <= top || right <= left) return;
  // Part of a row, or rows out of turn, leave the stream where it is: a row
  // not yet coded may be written again, and one never written whole in its
  // turn stops the stream at the end.
  if (left != 0 || right != picture_->width || top > written_) return;
  written_ = std::max(written_, std::min(bottom, picture_->height));
  // The rows before this write's first are the coder's: the filter hands a
  // row back more than once while it starts its last pass, and only moving
  // on to the next says that a row is done.
  if (top > ready_.load(std::memory_order_relaxed)) Release(top);
}

void StreamedOutput::Release(int32_t rows) {
  ready_.store(rows, std::memory_order_release);
  signal_.fetch_add(1, std::memory_order_release);
  signal_.notify_all();
}

void StreamedOutput::Drop() {
  if (!coder_.joinable()) return;
  stop_.store(true, std::memory_order_release);
  signal_.fetch_add(1, std::memory_order_release);
  signal_.notify_all();
  coder_.join();
  live_ = false;
  coded_ = false;
  bytes_.clear();
}

bool StreamedOutput::Finish(const ImageMetadata& meta, std::vector<uint8_t>* bytes) {
  if (!live_ || !picture_ || written_ != picture_->height || !SameMetadata(meta, meta_)) {
    Drop();
    return false;
  }
  Release(picture_->height);
  coder_.join();
  live_ = false;
  if (!coded_) return false;
  *bytes = std::move(bytes_);
  bytes_.clear();
  coded_ = false;
  return true;
}

}  // namespace gyhost
