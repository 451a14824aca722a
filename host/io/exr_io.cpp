#include "host/io/exr_io.h"

#include <ImfChannelList.h>
#include <ImfFrameBuffer.h>
#include <ImfHeader.h>
#include <ImfInputFile.h>
#include <ImfOutputFile.h>
#include <ImfStringAttribute.h>

#include <exception>
#include <vector>

namespace gyhost {

namespace {

constexpr const char* kRgbNames[3] = {"R", "G", "B"};

// OpenEXR has no standard attributes for these; each travels as a string
// attribute holding the bytes as they are.
struct MetaAttribute {
  const char* name;
  std::vector<uint8_t> ImageMetadata::*field;
};
constexpr MetaAttribute kMetaAttributes[] = {
    {"iccProfile", &ImageMetadata::icc},
    {"exif", &ImageMetadata::exif},
    {"xmp", &ImageMetadata::xmp},
};

void ReadExrMetadata(const Imf::Header& header, ImageMetadata* meta) {
  for (const MetaAttribute& a : kMetaAttributes) {
    if (const auto* attr = header.findTypedAttribute<Imf::StringAttribute>(a.name)) {
      const std::string& v = attr->value();
      (meta->*a.field).assign(v.begin(), v.end());
    }
  }
}

void WriteExrMetadata(const ImageMetadata& meta, Imf::Header* header) {
  for (const MetaAttribute& a : kMetaAttributes) {
    const std::vector<uint8_t>& bytes = meta.*a.field;
    if (!bytes.empty()) header->insert(a.name, Imf::StringAttribute(std::string(bytes.begin(), bytes.end())));
  }
}

bool ReadExrOrThrow(const std::string& path, HostImage* image, std::string* error) {
  Imf::InputFile file(path.c_str());
  const Imf::Header& header = file.header();
  const Imath::Box2i window = header.dataWindow();
  const int64_t width = int64_t(window.max.x) - window.min.x + 1;
  const int64_t height = int64_t(window.max.y) - window.min.y + 1;
  const Imf::ChannelList& channels = header.channels();
  const bool rgb = channels.findChannel("R") && channels.findChannel("G") && channels.findChannel("B");
  const bool grey = !rgb && channels.findChannel("Y");
  if (!rgb && !grey) {
    *error = "OpenEXR file has neither R, G, B nor Y channels";
    return false;
  }
  const bool alpha = channels.findChannel("A") != nullptr;
  if (!CheckImageSize(width, height, (rgb ? 3 : 1) + (alpha ? 1 : 0), 4, error)) return false;
  if (!ResizeHostImageZeroed(image, int32_t(width), int32_t(height), rgb ? 3 : 1, alpha, SampleType::F32)) {
    *error = "out of memory for an image of " + std::to_string(width) + "x" + std::to_string(height) + " pixels";
    return false;
  }
  ReadExrMetadata(header, &image->meta);
  const size_t xStride = PixelBytes(*image);
  const size_t yStride = RowBytes(*image);
  auto* base = reinterpret_cast<float*>(image->data.data());
  Imf::FrameBuffer frame;
  const int32_t colors = image->colorPlanes;
  for (int32_t c = 0; c < colors; ++c) {
    frame.insert(rgb ? kRgbNames[c] : "Y", Imf::Slice::Make(Imf::FLOAT, base + c, window, xStride, yStride));
  }
  if (alpha) frame.insert("A", Imf::Slice::Make(Imf::FLOAT, base + colors, window, xStride, yStride));
  file.setFrameBuffer(frame);
  file.readPixels(window.min.y, window.max.y);
  return true;
}

bool WriteExrOrThrow(const std::string& path, const HostImage& image) {
  Imf::Header header(image.width, image.height);
  header.compression() = Imf::ZIP_COMPRESSION;
  WriteExrMetadata(image.meta, &header);
  const int32_t colors = image.colorPlanes;
  for (int32_t c = 0; c < colors; ++c)
    header.channels().insert(colors == 3 ? kRgbNames[c] : "Y", Imf::Channel(Imf::FLOAT));
  if (image.hasAlpha) header.channels().insert("A", Imf::Channel(Imf::FLOAT));

  const int32_t planes = PlaneCount(image);
  std::vector<float> pixels(size_t(image.width) * size_t(image.height) * size_t(planes));
  for (int32_t y = 0; y < image.height; ++y) RowToFloat(image, y, pixels.data() + size_t(y) * image.width * planes);

  const size_t xStride = sizeof(float) * size_t(planes);
  const size_t yStride = xStride * size_t(image.width);
  Imf::FrameBuffer frame;
  for (int32_t c = 0; c < colors; ++c) {
    frame.insert(colors == 3 ? kRgbNames[c] : "Y",
                 Imf::Slice(Imf::FLOAT, reinterpret_cast<char*>(pixels.data() + c), xStride, yStride));
  }
  if (image.hasAlpha) {
    frame.insert("A", Imf::Slice(Imf::FLOAT, reinterpret_cast<char*>(pixels.data() + colors), xStride, yStride));
  }
  Imf::OutputFile file(path.c_str(), header);
  file.setFrameBuffer(frame);
  file.writePixels(image.height);
  return true;
}

}  // namespace

bool ReadExr(const std::string& path, HostImage* image, std::string* error) {
  try {
    return ReadExrOrThrow(path, image, error);
  } catch (const std::exception& e) {
    *error = e.what();
  } catch (...) {
    *error = "damaged OpenEXR file";
  }
  return false;
}

bool WriteExr(const std::string& path, const HostImage& image, std::string* error) {
  try {
    return WriteExrOrThrow(path, image);
  } catch (const std::exception& e) {
    *error = e.what();
  } catch (...) {
    *error = "cannot write the OpenEXR file";
  }
  return false;
}

}  // namespace gyhost
