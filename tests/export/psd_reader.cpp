#include "psd_reader.h"

#include <cstdio>

namespace {

struct Cursor {
  const std::vector<uint8_t>& b;
  size_t at = 0;
  bool bad = false;
  bool Need(size_t n) {
    if (at + n > b.size()) bad = true;
    return !bad;
  }
  uint32_t U(int n) {
    if (!Need(size_t(n))) return 0;
    uint32_t v = 0;
    for (int k = 0; k < n; ++k) v = (v << 8) | b[at++];
    return v;
  }
  std::string S(size_t n) {
    if (!Need(n)) return "";
    std::string s(b.begin() + long(at), b.begin() + long(at + n));
    at += n;
    return s;
  }
  std::vector<uint8_t> Bytes(size_t n) {
    if (!Need(n)) return {};
    std::vector<uint8_t> v(b.begin() + long(at), b.begin() + long(at + n));
    at += n;
    return v;
  }
};

std::string ReadLayerInfo(Cursor& c, PsdFile* out, size_t bytesPerSample) {
  const uint32_t length = c.U(4);
  const size_t start = c.at, end = start + length;
  const int16_t count = int16_t(c.U(2));
  const int n = count < 0 ? -count : count;
  for (int i = 0; i < n; ++i) {
    PsdLayer L;
    L.top = int32_t(c.U(4));
    L.left = int32_t(c.U(4));
    L.bottom = int32_t(c.U(4));
    L.right = int32_t(c.U(4));
    const uint16_t ch = uint16_t(c.U(2));
    for (int k = 0; k < ch; ++k) {
      const int16_t id = int16_t(c.U(2));
      L.channels.push_back({id, c.U(4)});
    }
    if (c.S(4) != "8BIM") return "layer record signature";
    if (c.S(4) != "norm") return "blend mode";
    L.opacity = uint8_t(c.U(1));
    c.U(1);
    L.flags = uint8_t(c.U(1));
    c.U(1);
    const uint32_t extra = c.U(4);
    const size_t extraEnd = c.at + extra;
    const uint32_t mask = c.U(4);
    c.at += mask;
    const uint32_t ranges = c.U(4);
    c.at += ranges;
    const uint8_t nameLength = uint8_t(c.U(1));
    L.name = c.S(nameLength);
    if (c.at > extraEnd) return "layer name runs past the extra data";
    c.at = extraEnd;
    out->layers.push_back(L);
  }
  for (PsdLayer& L : out->layers)
    for (auto& [id, len] : L.channels) {
      if (c.U(2) != 0) return "channel compression";
      L.data.push_back(c.Bytes(len - 2));
      (void)id;
    }
  (void)bytesPerSample;
  if (c.bad) return "layer info truncated";
  if (c.at > end || end - c.at > 1) return "layer info length disagrees with its content";
  c.at = end;
  return "";
}

}  // namespace

const PsdResource* FindResource(const PsdFile& f, uint16_t id) {
  for (const PsdResource& r : f.resources)
    if (r.id == id) return &r;
  return nullptr;
}

std::string ReadPsd(const std::vector<uint8_t>& bytes, PsdFile* out) {
  Cursor c{bytes};
  if (c.S(4) != "8BPS" || c.U(2) != 1) return "signature";
  c.at += 6;
  out->channels = uint16_t(c.U(2));
  out->height = c.U(4);
  out->width = c.U(4);
  out->depth = uint16_t(c.U(2));
  out->mode = uint16_t(c.U(2));
  out->colourModeData = c.Bytes(c.U(4));
  const uint32_t resourcesLength = c.U(4);
  const size_t resourcesEnd = c.at + resourcesLength;
  while (c.at < resourcesEnd && !c.bad) {
    if (c.S(4) != "8BIM") return "resource signature";
    PsdResource r;
    r.id = uint16_t(c.U(2));
    const uint8_t nameLength = uint8_t(c.U(1));
    c.at += nameLength + ((nameLength + 1) & 1);
    const uint32_t n = c.U(4);
    r.data = c.Bytes(n);
    if (n & 1) c.at += 1;
    out->resources.push_back(r);
  }
  if (c.at != resourcesEnd) return "resources length disagrees with its blocks";
  out->layerSectionLength = c.U(4);
  const size_t layersEnd = c.at + out->layerSectionLength;
  const size_t bps = out->depth / 8;
  if (out->layerSectionLength == 8) {
    if (c.U(4) != 0 || c.U(4) != 0) return "empty layer info and mask expected";
  } else if (out->layerSectionLength > 8) {
    if (out->depth == 8) {
      if (std::string e = ReadLayerInfo(c, out, bps); !e.empty()) return e;
      if (c.U(4) != 0) return "global mask";
    } else {
      if (c.U(4) != 0 || c.U(4) != 0) return "empty layer info and mask expected";
      if (c.S(4) != "8BIM") return "Mt signature";
      c.S(4);
      c.U(4);
      if (c.S(4) != "8BIM") return "Lr signature";
      out->layerBlockKey = c.S(4);
      const size_t before = c.at;
      if (std::string e = ReadLayerInfo(c, out, bps); !e.empty()) return e;
      while ((c.at - before) % 4) ++c.at;
      if (out->depth == 32) {
        if (c.S(8) != "8BIMLMsk") return "LMsk";
        c.at += c.U(4);
        if (c.S(8) != "8BIMPat3") return "Pat3";
        c.U(4);
      }
    }
  }
  if (c.bad) return "layer section truncated";
  if (c.at != layersEnd) return "layer section length disagrees with its content";
  if (c.U(2) != 0) return "composite compression";
  const size_t plane = size_t(out->width) * out->height * bps;
  for (int k = 0; k < out->channels; ++k) out->composite.push_back(c.Bytes(plane));
  if (c.bad) return "composite truncated";
  if (c.at != bytes.size()) return "bytes after the composite";
  return "";
}
