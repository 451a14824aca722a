// The result's PNG or JPEG file coded while the plug-in still renders.
// Those formats code their rows one after another on one thread, which
// after the render held a 4096x2048 run up by a tenth of a second; here
// the rows are coded as the filter's final pass hands them back, in order.
// Anything else (a row written again once coded, a row never written whole
// in its turn, other metadata at the end) drops the stream, and the file is
// coded from the finished picture as before: the bytes are the same either
// way.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "host/host_image.h"
#include "host/io/image_io.h"

namespace gyhost {

class StreamedOutput {
 public:
  // `meta` is what the file will carry, as far as can be told before the
  // filter runs; Finish checks it.
  StreamedOutput(ImageFormat format, ImageMetadata meta, const WriteOptions& options);
  ~StreamedOutput();
  StreamedOutput(const StreamedOutput&) = delete;
  StreamedOutput& operator=(const StreamedOutput&) = delete;

  // Starts coding `picture`, whose rows the filter is about to write; it
  // must keep its size and place until Finish or Drop.
  void Begin(const HostImage* picture);
  // Before the filter's rows [top, bottom) x [left, right) are written into
  // the picture: a row the coder may already read stops the stream first.
  void Writing(int32_t top, int32_t bottom, int32_t left, int32_t right);
  // After they were written: the whole rows before them go to the coder.
  void Wrote(int32_t top, int32_t bottom, int32_t left, int32_t right);
  // Stops the coding and waits for the coder to let go of the picture.
  void Drop();
  // Waits for the coder; true with the whole file in `bytes` when every row
  // came once, in order, and `meta` is what the file was begun with.
  bool Finish(const ImageMetadata& meta, std::vector<uint8_t>* bytes);

 private:
  static bool RowReady(void* self, int32_t y);
  void Release(int32_t rows);
  void Code();

  ImageFormat format_;
  ImageMetadata meta_;
  WriteOptions options_;
  const HostImage* picture_ = nullptr;
  std::thread coder_;
  bool live_ = false;  // the main thread's view: the coder runs and the stream holds
  int32_t written_ = 0;            // the leading rows written whole at least once
  std::atomic<int32_t> ready_{0};  // rows the coder may read
  std::atomic<bool> stop_{false};
  std::atomic<uint32_t> signal_{0};  // bumped at every change the coder waits on
  bool coded_ = false;               // the coder's answer, read after the join
  std::vector<uint8_t> bytes_;
};

}  // namespace gyhost
