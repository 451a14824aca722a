#include "host/jpeg_io.h"

#include <csetjmp>
#include <cstring>
#include <vector>

// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

namespace gyhost {

namespace {

constexpr int kJpegQuality = 95;

struct JpegError {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void OnJpegError(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<JpegError*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  std::longjmp(err->jump, 1);
}

void OnJpegMessage(j_common_ptr, int) {}  // warnings are not the user's concern

struct JpegReadJob {
  jpeg_decompress_struct cinfo;
  JpegError err;
};

bool ReadJpegInto(std::FILE* file, JpegReadJob* job, HostImage* image) {
  if (setjmp(job->err.jump)) return false;
  jpeg_create_decompress(&job->cinfo);
  jpeg_stdio_src(&job->cinfo, file);
  jpeg_read_header(&job->cinfo, TRUE);
  const J_COLOR_SPACE space = job->cinfo.jpeg_color_space;
  if (space == JCS_CMYK || space == JCS_YCCK) {
    std::snprintf(job->err.message, sizeof job->err.message, "CMYK JPEG files are not supported");
    return false;
  }
  job->cinfo.out_color_space = space == JCS_GRAYSCALE ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_start_decompress(&job->cinfo);
  const int32_t planes = job->cinfo.output_components;
  if (planes != 1 && planes != 3) {
    std::snprintf(job->err.message, sizeof job->err.message, "JPEG with %d components is not supported", planes);
    return false;
  }
  if (!ResizeHostImage(image, int32_t(job->cinfo.output_width), int32_t(job->cinfo.output_height), planes, false,
                       SampleType::U8)) {
    std::snprintf(job->err.message, sizeof job->err.message, "image of %ux%u pixels is too large",
                  unsigned(job->cinfo.output_width), unsigned(job->cinfo.output_height));
    return false;
  }
  while (job->cinfo.output_scanline < job->cinfo.output_height) {
    JSAMPROW row = PixelAddress(*image, 0, int32_t(job->cinfo.output_scanline));
    jpeg_read_scanlines(&job->cinfo, &row, 1);
  }
  jpeg_finish_decompress(&job->cinfo);
  return true;
}

struct JpegWriteJob {
  jpeg_compress_struct cinfo;
  JpegError err;
  std::vector<uint8_t> fileRow;  // all planes, 8-bit
  std::vector<uint8_t> row;      // colour planes only
};

bool WriteJpegFrom(std::FILE* file, JpegWriteJob* job, const HostImage& image) {
  if (setjmp(job->err.jump)) return false;
  jpeg_create_compress(&job->cinfo);
  jpeg_stdio_dest(&job->cinfo, file);
  job->cinfo.image_width = JDIMENSION(image.width);
  job->cinfo.image_height = JDIMENSION(image.height);
  job->cinfo.input_components = image.colorPlanes;
  job->cinfo.in_color_space = image.colorPlanes == 3 ? JCS_RGB : JCS_GRAYSCALE;
  jpeg_set_defaults(&job->cinfo);
  jpeg_set_quality(&job->cinfo, kJpegQuality, TRUE);
  jpeg_start_compress(&job->cinfo, TRUE);
  const int32_t planes = PlaneCount(image);
  for (int32_t y = 0; y < image.height; ++y) {
    RowToFile8(image, y, job->fileRow.data());
    for (int32_t x = 0; x < image.width; ++x) {
      for (int32_t c = 0; c < image.colorPlanes; ++c) {
        job->row[size_t(x) * size_t(image.colorPlanes) + size_t(c)] =
            job->fileRow[size_t(x) * size_t(planes) + size_t(c)];
      }
    }
    JSAMPROW row = job->row.data();
    jpeg_write_scanlines(&job->cinfo, &row, 1);
  }
  jpeg_finish_compress(&job->cinfo);
  return true;
}

}  // namespace

bool ReadJpeg(std::FILE* file, HostImage* image, std::string* error) {
  JpegReadJob job{};
  job.cinfo.err = jpeg_std_error(&job.err.mgr);
  job.err.mgr.error_exit = OnJpegError;
  job.err.mgr.emit_message = OnJpegMessage;
  const bool ok = ReadJpegInto(file, &job, image);
  jpeg_destroy_decompress(&job.cinfo);
  if (!ok) *error = job.err.message[0] ? job.err.message : "damaged JPEG file";
  return ok;
}

bool WriteJpeg(std::FILE* file, const HostImage& image, std::string* error) {
  JpegWriteJob job{};
  job.fileRow.resize(size_t(image.width) * size_t(PlaneCount(image)));
  job.row.resize(size_t(image.width) * size_t(image.colorPlanes));
  job.cinfo.err = jpeg_std_error(&job.err.mgr);
  job.err.mgr.error_exit = OnJpegError;
  job.err.mgr.emit_message = OnJpegMessage;
  const bool ok = WriteJpegFrom(file, &job, image);
  jpeg_destroy_compress(&job.cinfo);
  if (!ok) *error = job.err.message[0] ? job.err.message : "cannot write JPEG";
  return ok;
}

}  // namespace gyhost
