#include "host/io/jpeg_io.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
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

// A warning while reading (level -1) means damaged data: libjpeg fills what
// it could not decode with grey and goes on, so the picture would be wrong
// while the run succeeds. Reading stops with the library's message instead.
// Trace messages (level 0 and above) are not the user's concern.
void OnJpegMessage(j_common_ptr cinfo, int level) {
  if (level >= 0) return;
  auto* err = reinterpret_cast<JpegError*>(cinfo->err);
  if (!cinfo->is_decompressor) return;
  (*cinfo->err->format_message)(cinfo, err->message);
  std::longjmp(err->jump, 1);
}

constexpr int kExifMarker = JPEG_APP0 + 1;
constexpr char kExifPrefix[] = "Exif\0";  // with the string's own NUL: "Exif\0\0"
constexpr size_t kExifPrefixSize = 6;
constexpr char kXmpPrefix[] = "http://ns.adobe.com/xap/1.0/";  // followed by a NUL
constexpr size_t kXmpPrefixSize = sizeof kXmpPrefix;          // counts the NUL
// A JPEG segment holds at most 65533 bytes of data.
constexpr size_t kMaxMarkerData = 65533;

void ReadJpegMetadata(jpeg_decompress_struct* cinfo, ImageMetadata* meta) {
  for (jpeg_saved_marker_ptr m = cinfo->marker_list; m; m = m->next) {
    if (m->marker != kExifMarker) continue;
    if (m->data_length > kExifPrefixSize && std::memcmp(m->data, kExifPrefix, kExifPrefixSize) == 0 &&
        meta->exif.empty()) {
      meta->exif.assign(m->data + kExifPrefixSize, m->data + m->data_length);
    } else if (m->data_length > kXmpPrefixSize && std::memcmp(m->data, kXmpPrefix, kXmpPrefixSize) == 0 &&
               meta->xmp.empty()) {
      meta->xmp.assign(m->data + kXmpPrefixSize, m->data + m->data_length);
    }
  }
  JOCTET* icc = nullptr;
  unsigned int iccLength = 0;
  if (jpeg_read_icc_profile(cinfo, &icc, &iccLength) && icc) {
    meta->icc.assign(icc, icc + iccLength);
    std::free(icc);
  }
}

void WriteJpegMarker(jpeg_compress_struct* cinfo, const char* prefix, size_t prefixSize,
                     const std::vector<uint8_t>& body) {
  if (body.empty() || prefixSize + body.size() > kMaxMarkerData) return;
  std::vector<uint8_t> data(prefix, prefix + prefixSize);
  data.insert(data.end(), body.begin(), body.end());
  jpeg_write_marker(cinfo, kExifMarker, data.data(), unsigned(data.size()));
}

void WriteJpegMetadata(jpeg_compress_struct* cinfo, const ImageMetadata& meta) {
  WriteJpegMarker(cinfo, kExifPrefix, kExifPrefixSize, meta.exif);
  WriteJpegMarker(cinfo, kXmpPrefix, kXmpPrefixSize, meta.xmp);
  if (!meta.icc.empty()) jpeg_write_icc_profile(cinfo, meta.icc.data(), unsigned(meta.icc.size()));
}

struct JpegReadJob {
  jpeg_decompress_struct cinfo;
  JpegError err;
};

bool ReadJpegInto(std::FILE* file, JpegReadJob* job, HostImage* image) {
  if (setjmp(job->err.jump)) return false;
  jpeg_create_decompress(&job->cinfo);
  jpeg_stdio_src(&job->cinfo, file);
  jpeg_save_markers(&job->cinfo, kExifMarker, 0xFFFF);
  jpeg_save_markers(&job->cinfo, JPEG_APP0 + 2, 0xFFFF);  // the ICC profile's chunks
  jpeg_read_header(&job->cinfo, TRUE);
  {
    std::string sizeError;
    const int planes = job->cinfo.num_components == 1 ? 1 : 3;
    if (!CheckImageSize(job->cinfo.image_width, job->cinfo.image_height, planes, 1, &sizeError)) {
      std::snprintf(job->err.message, sizeof job->err.message, "%s", sizeError.c_str());
      return false;
    }
  }
  ReadJpegMetadata(&job->cinfo, &image->meta);
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
    std::snprintf(job->err.message, sizeof job->err.message, "out of memory for an image of %ux%u pixels",
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

bool WriteJpegFrom(std::FILE* file, JpegWriteJob* job, const HostImage& image, const ImageMetadata& meta,
                   const RowGate& gate) {
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
  WriteJpegMetadata(&job->cinfo, meta);
  const int32_t planes = PlaneCount(image);
  for (int32_t y = 0; y < image.height; ++y) {
    if (!PassRow(gate, y)) return false;
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
  return WriteJpeg(file, image, image.meta, RowGate{}, error);
}

bool WriteJpeg(std::FILE* file, const HostImage& image, const ImageMetadata& meta, const RowGate& gate,
               std::string* error) {
  JpegWriteJob job{};
  job.fileRow.resize(size_t(image.width) * size_t(PlaneCount(image)));
  job.row.resize(size_t(image.width) * size_t(image.colorPlanes));
  job.cinfo.err = jpeg_std_error(&job.err.mgr);
  job.err.mgr.error_exit = OnJpegError;
  job.err.mgr.emit_message = OnJpegMessage;
  const bool ok = WriteJpegFrom(file, &job, image, meta, gate);
  jpeg_destroy_compress(&job.cinfo);
  if (!ok) *error = job.err.message[0] ? job.err.message : "cannot write JPEG";
  return ok;
}

}  // namespace gyhost
