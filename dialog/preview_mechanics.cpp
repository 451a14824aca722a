#include "dialog/preview_mechanics.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <cstring>

#include "dialog/custom_hooks.h"
#include "dialog/dialog_controls.h"
#include "dialog/dialog_services.h"
#include "frame/globals.h"  // the dialog works on the whole invocation: its settings, storage and windows
#include "frame/base/host_rects.h"
#include "frame/pass_rects.h"  // the preview's rectangles and mask are those of the frame's current pass
#include "frame/base/host_suites.h"
#include "dialog/frame_services.h"
#include "frame/base/rects.h"
#include "platform/preview_surface.h"
#include "platform/ui/event_loop.h"
#include "platform/ui/host_port.h"
#include "platform/ui/services.h"
#include "platform/ui/window.h"
#include "pyramid/pyramid_pixels.h"

namespace {

int32_t Width(const Rect& r) { return int32_t(r.right) - r.left; }
int32_t Height(const Rect& r) { return int32_t(r.bottom) - r.top; }

ProxyPress g_press;

bool Editable(const FilterRecord* fr) {
  return (fr->filterCase == 4 || fr->filterCase == 5) && fr->outTransparencyMask != 0;
}

}  // namespace

void PreviewMechanicsSetup(void* window, Globals* g) {
  TParameters* p = Params(g);
  FilterRecord* fr = g->filterRecord;
  if (!p || !fr) return;
  GetVarezItemRect(window, 18, &g->previewItemRect);
  InitMemoryDots(g, window);
  p->zoomersDirty = 0;
  int32_t scale = 1;
  if (uses_previews(fr)) {
    p->previewOffsetH = p->previewOffsetV = 0;
    DetermineBiggestProxyRect(&fr->filterRect, &g->previewItemRect, &g->proxyRect);
    CalcDefaultProxyScaleFactor(&fr->filterRect, &g->previewItemRect, &scale, &g->defaultPreviewScale, fr);
    p->previewOffsetH = p->previewOffsetV = 0;
    SetUpFilterRecordForProxy(g, scale);
      g->maxPreviewScale = p->previewScale;
    p->zoomersDirty = 1;
  } else {
    DetermineBiggestProxyRect(&fr->filterRect, &g->previewItemRect, &g->proxyRect);
    CalcDefaultProxyScaleFactor(&fr->filterRect, &g->previewItemRect, &scale, &g->defaultPreviewScale, fr);
    SetUpFilterRecordForProxy(g, 1);
    CalcTemporaryDimensions(g, &fr->filterRect, 1);
    p->previewScale = 1;
    g->maxPreviewScale = 1;
    p->zoomersDirty = 0;
  }
  UiShowWindow(UiWindowFromRef(window));
  ZorSetArrowCursor();
}

void ClampProxyOffsets(Globals* g, int32_t scale) {
  TParameters* p = Params(g);
  if (!p || !g->filterRecord) return;
  p->previewOffsetH = std::max(p->previewOffsetH, 0);
  p->previewOffsetV = std::max(p->previewOffsetV, 0);
  Rect f = g->filterRecord->filterRect;
  ScaleRect_zor(&f, 1, scale);
  const int32_t maxH = std::max((Width(f) - Width(g->proxyRect)) * scale, 0);
  const int32_t maxV = std::max((Height(f) - Height(g->proxyRect)) * scale, 0);
  p->previewOffsetH = std::min(p->previewOffsetH, maxH);
  p->previewOffsetV = std::min(p->previewOffsetV, maxV);
}

void PreserveProxyCentering(Globals* g, int32_t oldScale, int32_t newScale) {
  TParameters* p = Params(g);
  const FilterRecord* fr = g ? g->filterRecord : nullptr;
  if (!p || !fr) return;
  const int32_t c2h = (int32_t(fr->inRect.left) + fr->inRect.right) * oldScale;
  const int32_t c2v = (int32_t(fr->inRect.top) + fr->inRect.bottom) * oldScale;
  const int32_t qw = Width(g->proxyRect) * newScale, qh = Height(g->proxyRect) * newScale;
  // Q = the proxy area at the origin, scaled, then centred on the old centre.
  const int32_t qLeft = c2h / 2 - qw / 2;
  const int32_t qTop = c2v / 2 - qh / 2;
  p->previewOffsetH = qLeft - fr->filterRect.left;
  p->previewOffsetV = qTop - fr->filterRect.top;
  ClampProxyOffsets(g, newScale);
}

void DuplicateSource(Globals* g) {
  const FilterRecord* fr = g ? g->filterRecord : nullptr;
  if (!fr) return;
  g->maskBandTop = g->inputBandTop = g->firstRow;
  g->maskBandBottom = g->inputBandBottom = g->lastRow;
  const int32_t rows = Height(fr->inRect);
  for (int32_t r = 0; r < rows; ++r) {
    g->drawingRow = r;
    DuplicateSource1Line(g);
  }
}

void DuplicateSource1Line(Globals* g) {
  const TParameters* p = Params(g);
  const FilterRecord* fr = g->filterRecord;
  if (!p || p->runMode != RunMode_Preview || !fr->inData || !fr->outData) return;
  const int32_t r = g->drawingRow;
  const int32_t mode = fr->imageMode;
  const bool wide = (mode == kImageModeGray16 || mode == kImageModeRGB48) && fr->depth == 16;
  const bool floats = !wide && (mode == kImageModeRGB96 || mode == kImageModeGray32 || fr->depth == 32);
  const int32_t inPlanes = int32_t(fr->inHiPlane) - fr->inLoPlane + 1;
  const int32_t outPlanes = fr->planes;
  const bool editable = Editable(fr);
  const int32_t channels = (mode == kImageModeRGB || mode == kImageModeRGB48 || mode == kImageModeRGB96) ? 3 : 1;
  const int32_t width = WidthOfCurrentOutput(g);
  for (int32_t x = 0; x < width; ++x) {
    const int32_t light = ((x ^ r) & 8) == 0;
    const int32_t m = fetchMaskTruly_Always8(x, r, g);
    if (wide || floats) {
      const int32_t unit = wide ? 2 : 4;
      const uint8_t* in = static_cast<const uint8_t*>(fr->inData) + int64_t(fr->inRowBytes / unit) * r * unit;
      uint8_t* out = static_cast<uint8_t*>(fr->outData) + int64_t(fr->outRowBytes / unit) * r * unit;
      const uint8_t* src = in + int64_t(x) * inPlanes * unit;
      uint8_t* dst = out + int64_t(x) * outPlanes * unit;
      if (wide) {
        uint16_t s[3], alpha = 32768;
        for (int k = 0; k < 3; ++k) std::memcpy(&s[k], src + (inPlanes < 3 ? 0 : k) * 2, 2);
        if (editable) std::memcpy(&alpha, src + fr->inLayerPlanes * 2, 2);
        const int32_t mm = editable ? (m * alpha) >> 15 : m;
        const int32_t checker = light ? 32640 : 26112;
        for (int k = 0; k < channels; ++k) {
          const auto v = uint16_t(((255 - mm) * checker + s[k] * mm) >> 8);
          std::memcpy(dst + k * 2, &v, 2);
        }
        if (editable) {
          const uint16_t full = 32768;
          std::memcpy(dst + fr->outLayerPlanes * 2, &full, 2);
        }
      } else {
        float s[3], alpha = 1.0f;
        for (int k = 0; k < 3; ++k) std::memcpy(&s[k], src + (inPlanes < 3 ? 0 : k) * 4, 4);
        if (editable) std::memcpy(&alpha, src + fr->inLayerPlanes * 4, 4);
        float f = float(m) * 0.003921568627451f;
        if (editable) f *= alpha;
        const float checker = light ? 1.0f : 0.8f;
        for (int k = 0; k < channels; ++k) {
          const float v = s[k] * f + checker * (1 - f);
          std::memcpy(dst + k * 4, &v, 4);
        }
        if (editable) std::memcpy(dst + fr->outLayerPlanes * 4, &f, 4);
      }
      continue;
    }
    const uint8_t* src = static_cast<const uint8_t*>(fr->inData) + int64_t(fr->inRowBytes) * r + int64_t(x) * inPlanes;
    uint8_t* dst = static_cast<uint8_t*>(fr->outData) + int64_t(fr->outRowBytes) * r + int64_t(x) * outPlanes;
    const int32_t alpha = editable ? src[fr->inLayerPlanes] : 255;
    int32_t mm = m > 127 ? m + 1 : m;
    if (editable) {
      mm = (mm * alpha) >> 8;
      dst[fr->outLayerPlanes] = 255;
    }
    const int32_t checker = light ? 255 : 204;
    uint8_t s[3];
    for (int k = 0; k < 3; ++k) s[k] = src[inPlanes < 3 ? 0 : k];
    for (int k = 0; k < channels; ++k) dst[k] = uint8_t(((256 - mm) * checker + s[k] * mm) >> 8);
  }
}

void FindProxyDisplayCorner(void* window, int16_t item, int32_t* dx, int32_t* dy, Globals* g) {
  *dx = *dy = 0;
  Rect b{};
  if (!GetVarezItemRect(window, item, &b) || !g || !g->filterRecord) return;
  const Rect& o = g->filterRecord->outRect;
  if (Height(b) > Height(o)) *dy = (Height(b) - Height(o)) / 2;
  if (Width(b) > Width(o)) *dx = (Width(b) - Width(o)) / 2;
}

void NoReallyHandleProxyClick(int32_t dx, int32_t dy, const UiPoint* where, uint8_t flag, Globals* g) {
  TParameters* p = Params(g);
  if (!p || !where) return;
  const auto x = int32_t((where->x - float(dx)) * float(p->previewScale) + float(p->previewOffsetH));
  const auto y = int32_t((where->y - float(dy)) * float(p->previewScale) + float(p->previewOffsetV));
  // Only the press is recorded; the drag fields have no reader.
  if (flag != 0) return;
  const int32_t w = Width(g->savedFilterRect), h = Height(g->savedFilterRect);
  g_press = ProxyPress{x, y, w ? float(x) / float(w) : 0.0f, h ? float(y) / float(h) : 0.0f};
}

void HandleClickInVarezProxy(void* window, int16_t item, Globals* g, const UiPoint* where, uint8_t flag) {
  if (!g) return;
  int32_t dx, dy;
  FindProxyDisplayCorner(window, item, &dx, &dy, g);
  NoReallyHandleProxyClick(dx, dy, where, flag, g);
}

const ProxyPress* LastProxyPress() { return &g_press; }

void ZorSetArrowCursor() { UiSetThemeCursor(kUiCursorArrow); }

int32_t LaunchURLCString(const char* url) {
  if (!url) return 0;
  return UiLaunchURL(url);
}

int32_t LaunchFileInBrowser(const char* path) { return UiLaunchURL(path); }

void SendUserToTWHomePage() {
  if (LaunchURLCString(kHomePageURL) == 0) return;
  char message[160];
  std::snprintf(message, sizeof message, "You can still get info by visiting %s .", kHomePageHost);
  ShowOSAlertoid("Web browser couldn't be opened.", message);
}
