#include "export/jpeg/jpeg_coder.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include "export/metadata/exif.h"
#include "export/metadata/iptc.h"
#include "export/jpeg/jpeg_tables.h"
#include "pyramid/pyramid_descriptor.h"
#include "pyramid/pyramid_pixels.h"
#include "pyramid/pyramid_reads.h"

namespace {

constexpr int32_t kMinimumSide = 16;
// A marker segment's data: 65535 less its two length bytes.
constexpr uint32_t kMaxMarkerBytes = 65533;
constexpr size_t kWorkBytes = 4096;
// Enough for any picture a pyramid can hold at baseline; a progressive
// stream that would need more is refused rather than buffered.
constexpr long kDecoderMemoryLimit = 64L << 20;

struct CoderError {
  jpeg_error_mgr pub;
  jmp_buf jump;
};

[[noreturn]] void LeaveCoder(j_common_ptr c) { std::longjmp(reinterpret_cast<CoderError*>(c->err)->jump, 1); }
void IgnoreMessage(j_common_ptr, int) {}
void IgnoreOutput(j_common_ptr) {}

void InstallErrorHandler(CoderError* err) {
  jpeg_std_error(&err->pub);
  err->pub.error_exit = LeaveCoder;
  err->pub.emit_message = IgnoreMessage;
  err->pub.output_message = IgnoreOutput;
}

// The library fills a work block; each full block, and at the end the
// partial one, is appended to the caller's buffer when it fits there.
struct BoundedDestination {
  jpeg_destination_mgr pub;
  uint8_t* buffer;
  size_t capacity;
  size_t used;
  JOCTET work[kWorkBytes];
};

void AppendWork(j_compress_ptr c, size_t n) {
  BoundedDestination* d = reinterpret_cast<BoundedDestination*>(c->dest);
  if (n > d->capacity - d->used) ERREXIT(c, JERR_BUFFER_SIZE);
  std::memcpy(d->buffer + d->used, d->work, n);
  d->used += n;
  d->pub.next_output_byte = d->work;
  d->pub.free_in_buffer = kWorkBytes;
}

void InitDestination(j_compress_ptr c) {
  BoundedDestination* d = reinterpret_cast<BoundedDestination*>(c->dest);
  d->used = 0;
  d->pub.next_output_byte = d->work;
  d->pub.free_in_buffer = kWorkBytes;
}

boolean EmptyDestination(j_compress_ptr c) {
  AppendWork(c, kWorkBytes);
  return TRUE;
}

void TermDestination(j_compress_ptr c) {
  BoundedDestination* d = reinterpret_cast<BoundedDestination*>(c->dest);
  AppendWork(c, kWorkBytes - d->pub.free_in_buffer);
}

// The data is handed over whole; asking for more, or skipping past its end,
// is a damaged stream.
void InitSource(j_decompress_ptr) {}
boolean FillSource(j_decompress_ptr c) {
  ERREXIT(c, JERR_INPUT_EOF);
  return FALSE;
}
void SkipSource(j_decompress_ptr c, long n) {
  if (n <= 0) return;
  if (size_t(n) > c->src->bytes_in_buffer) ERREXIT(c, JERR_INPUT_EOF);
  c->src->next_input_byte += n;
  c->src->bytes_in_buffer -= size_t(n);
}
void TermSource(j_decompress_ptr) {}

struct CompressJob {
  const PyramidDescriptor* source;
  int32_t width, height;
  uint8_t* buffer;
  uint32_t bufferSize;
  int32_t quality;
  bool libraryScaling;
  const uint8_t* iccData;
  uint32_t iccLength;
  const TEXIFThing* exif;  // null, or a built "Exif" block
  const TIPTCThing* iptc;  // null, or a built "Photoshop 3.0" block
  uint32_t length;  // out
};

uint8_t UnitToByte(float v) {
  if (!(v > 0.0f)) return 0;  // also NaN
  if (v >= 1.0f) return 255;
  return uint8_t(v * 255.0f);
}

void CompressBody(jpeg_compress_struct* c, BoundedDestination* d, CompressJob* job) {
  d->buffer = job->buffer;
  d->capacity = job->bufferSize;
  d->pub.init_destination = InitDestination;
  d->pub.empty_output_buffer = EmptyDestination;
  d->pub.term_destination = TermDestination;
  c->dest = &d->pub;
  c->image_width = JDIMENSION(job->width);
  c->image_height = JDIMENSION(job->height);
  c->input_components = 3;
  c->in_color_space = JCS_RGB;
  jpeg_set_defaults(c);
  if (job->libraryScaling) {
    jpeg_set_quality(c, job->quality, FALSE);
  } else {
    const int tenth = job->quality / 10;
    c->comp_info[0].h_samp_factor = hvsample0[tenth].horizontal;
    c->comp_info[0].v_samp_factor = hvsample0[tenth].vertical;
    for (int k = 1; k < 3; ++k) c->comp_info[k].h_samp_factor = c->comp_info[k].v_samp_factor = 1;
    c->optimize_coding = TRUE;
    jpeg_add_quant_table(c, 0, qtable0[tenth], 100, FALSE);
    jpeg_add_quant_table(c, 1, qtable1[tenth], 100, FALSE);
  }
  jpeg_start_compress(c, TRUE);
  jpeg_write_marker(c, JPEG_COM, reinterpret_cast<const JOCTET*>(kJpegComment), sizeof kJpegComment);
  if (job->exif) jpeg_write_marker(c, JPEG_APP0 + 1, job->exif->buffer, job->exif->length);
  if (job->iccData && job->iccLength > 0) jpeg_write_icc_profile(c, job->iccData, job->iccLength);
  if (job->iptc) jpeg_write_marker(c, JPEG_APP0 + 13, job->iptc->buffer, job->iptc->length);

  const PyramidDescriptor* p = job->source;
  const int32_t lastX = p->levelWidth[0] - 1, lastY = p->levelHeight[0] - 1;
  JSAMPARRAY row = (*c->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(c), JPOOL_IMAGE,
                                           JDIMENSION(job->width * 3), 1);
  for (int32_t y = 0; y < job->height; ++y) {
    JSAMPLE* out = row[0];
    for (int32_t x = 0; x < job->width; ++x, out += 3) {
      float colour[4];
      get_intcoord_unitary_color(x < lastX ? x : lastX, y < lastY ? y : lastY, p, 0, colour);
      out[0] = UnitToByte(colour[0]);
      out[1] = UnitToByte(colour[1]);
      out[2] = UnitToByte(colour[2]);
    }
    jpeg_write_scanlines(c, row, 1);
  }
  jpeg_finish_compress(c);
  job->length = uint32_t(d->used);
}

bool RunCompress(CompressJob* job) {
  jpeg_compress_struct c{};
  CoderError err{};
  BoundedDestination d{};
  InstallErrorHandler(&err);
  c.err = &err.pub;
  if (setjmp(err.jump)) {
    jpeg_destroy_compress(&c);
    return false;
  }
  jpeg_create_compress(&c);
  CompressBody(&c, &d, job);
  jpeg_destroy_compress(&c);
  return true;
}

struct DecompressJob {
  PyramidDescriptor* target;
  int32_t width, height;  // what may be stored
  const uint8_t* data;
  uint32_t length;
};

void StoreRow(PyramidDescriptor* p, int32_t y, const JSAMPLE* row, int components, int32_t width) {
  const bool grey = components == 1;
  for (int32_t x = 0; x < width; ++x, row += components) {
    const int32_t r = row[0], g = grey ? r : row[1], b = grey ? r : row[2];
    if (p->dataKind == PyramidDataKind_Packed8)
      set_pyramid_sample_point4(x, y, p, 0, r, g, b, 255);
    else
      set_pyramid_sample_point1(x, y, p, 0, grey ? r : (77 * r + 150 * g + 28 * b) >> 8);
  }
}

void DecompressBody(jpeg_decompress_struct* c, jpeg_source_mgr* s, DecompressJob* job) {
  c->mem->max_memory_to_use = kDecoderMemoryLimit;
  s->init_source = InitSource;
  s->fill_input_buffer = FillSource;
  s->skip_input_data = SkipSource;
  s->resync_to_restart = jpeg_resync_to_restart;
  s->term_source = TermSource;
  s->next_input_byte = job->data;
  s->bytes_in_buffer = job->length;
  c->src = s;
  if (jpeg_read_header(c, TRUE) != JPEG_HEADER_OK) ERREXIT(c, JERR_NO_IMAGE);
  if (c->image_width > JDIMENSION(kPyramidMaxSide) || c->image_height > JDIMENSION(kPyramidMaxSide))
    ERREXIT(c, JERR_IMAGE_TOO_BIG);
  c->out_color_space = c->num_components == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_start_decompress(c);
  const int components = c->output_components;
  if (components != 1 && components != 3) ERREXIT(c, JERR_BAD_J_COLORSPACE);
  JSAMPARRAY row = (*c->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(c), JPOOL_IMAGE,
                                           c->output_width * JDIMENSION(components), 1);
  const int32_t width = job->width < int32_t(c->output_width) ? job->width : int32_t(c->output_width);
  const int32_t height = job->height < int32_t(c->output_height) ? job->height : int32_t(c->output_height);
  // Rows below what can be stored are not decoded at all.
  for (int32_t y = 0; y < height; ++y) {
    if (jpeg_read_scanlines(c, row, 1) != 1) ERREXIT(c, JERR_INPUT_EOF);
    StoreRow(job->target, y, row[0], components, width);
  }
  if (height == int32_t(c->output_height))
    jpeg_finish_decompress(c);
  else
    jpeg_abort_decompress(c);
}

bool RunDecompress(DecompressJob* job) {
  jpeg_decompress_struct c{};
  CoderError err{};
  jpeg_source_mgr s{};
  InstallErrorHandler(&err);
  c.err = &err.pub;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&c);
    return false;
  }
  jpeg_create_decompress(&c);
  DecompressBody(&c, &s, job);
  jpeg_destroy_decompress(&c);
  return true;
}

int32_t RectWidth(const Rect* r) { return int32_t(r->right) - r->left; }
int32_t RectHeight(const Rect* r) { return int32_t(r->bottom) - r->top; }

}  // namespace

uint32_t CompressJPEG(const PyramidDescriptor* source, const Rect* area, uint8_t* buffer, uint32_t bufferSize,
                      int16_t quality, uint8_t useLibraryScaling, uint32_t* sizeOut, uint32_t iccLength,
                      const uint8_t* iccData, TIPTCThing* iptc, TEXIFThing* exif) {
  if (sizeOut) *sizeOut = 0;
  if (!source || !source->tileTable || !PyramidHasLevel(source, 0) || !area || !buffer) return kJpegFailed;
  CompressJob job{};
  job.source = source;
  job.width = RectWidth(area) > kMinimumSide ? RectWidth(area) : kMinimumSide;
  job.height = RectHeight(area) > kMinimumSide ? RectHeight(area) : kMinimumSide;
  job.buffer = buffer;
  job.bufferSize = bufferSize;
  job.quality = quality < 0 ? 0 : quality > 99 ? 99 : quality;
  job.libraryScaling = useLibraryScaling == 1;
  job.iccData = iccData;
  job.iccLength = iccData ? iccLength : 0;
  // Each block is built here unless the caller built it already (then this
  // does nothing); one too large for a marker segment is left out.
  build_EXIF_resource(exif, 1, 0);
  build_IPTC_resource(iptc, 1, 0);
  if (exif && exif->buffer && exif->length > 0 && exif->length <= kMaxMarkerBytes) job.exif = exif;
  if (iptc && iptc->buffer && iptc->length > 0 && iptc->length <= kMaxMarkerBytes) job.iptc = iptc;
  if (!RunCompress(&job)) return kJpegFailed;
  if (sizeOut) *sizeOut = job.length;
  return kJpegOK;
}

uint32_t DecompressJPEG(PyramidDescriptor* target, const Rect* area, const uint8_t* data, uint32_t length) {
  if (!target || !target->tileTable || !PyramidHasLevel(target, 0) || !area || !data) return kJpegFailed;
  if (target->dataKind != PyramidDataKind_Packed8 && target->dataKind != PyramidDataKind_Byte) return kJpegFailed;
  DecompressJob job{};
  job.target = target;
  job.width = RectWidth(area) < target->levelWidth[0] ? RectWidth(area) : target->levelWidth[0];
  job.height = RectHeight(area) < target->levelHeight[0] ? RectHeight(area) : target->levelHeight[0];
  if (job.width < 0) job.width = 0;
  if (job.height < 0) job.height = 0;
  job.data = data;
  job.length = length;
  return RunDecompress(&job) ? kJpegOK : kJpegFailed;
}
