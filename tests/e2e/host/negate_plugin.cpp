// A small filter plug-in for testing the host: it writes full scale minus
// the input (255 - v, 32768 - v, 1 - v), keeps alpha, and goes through the
// host services the real plug-in relies on: its own data handle, the
// settings handle, a scratch block from the buffer suite, row-by-row
// requests with or without advanceState, abort polling, progress, and the
// descriptor suite ('Pass' true copies the input unchanged; 'Intr' N sends
// the process SIGINT, as a user's Ctrl-C, once row N is done).
#include <csignal>
#include <cstdio>
#include <cstring>

#include "platform/memory.h"
#include "platform/plugin_api.h"

namespace {

constexpr FourCC kKeyPass = MakeFourCC("Pass");
constexpr FourCC kKeyInterrupt = MakeFourCC("Intr");
constexpr FourCC kKeyVersion = MakeFourCC("Vers");
constexpr FourCC kKeyRows = MakeFourCC("Rows");
constexpr FourCC kKeyGain = MakeFourCC("Gain");
constexpr FourCC kKeyMode = MakeFourCC("Mode");
constexpr FourCC kModeType = MakeFourCC("NGty");
constexpr FourCC kModeNegate = MakeFourCC("NG01");
constexpr int32_t kStateMagic = 0x4E454754;

struct NegateState {
  int32_t magic;
  int32_t row;
  int32_t width, height;
  uint8_t* scratch;  // one row of output, assembled before it is copied out
  BufferID scratchId;
  bool pass;
  int32_t interruptRow;  // -1: never
};

struct NegateSettings {
  int32_t invocations;
};

bool BufferSuiteUsable(const BufferProcs* p) {
  return p && p->bufferProcsVersion == kCurrentBufferProcsVersion && p->numBufferProcs >= 5 && p->allocateProc &&
         p->lockProc && p->unlockProc && p->freeProc && p->spaceProc;
}

bool HandleSuiteUsable(const HandleProcs* p) {
  return p && p->handleProcsVersion == kCurrentHandleProcsVersion && p->numHandleProcs >= 8 && p->newProc &&
         p->disposeProc;
}

int32_t BytesPerSample(const FilterRecord* r) { return r->depth == 32 ? 4 : (r->depth == 16 ? 2 : 1); }

void EmptyRects(FilterRecord* r) { r->inRect = r->outRect = r->maskRect = Rect{0, 0, 0, 0}; }

void AskForRow(FilterRecord* r, int32_t row) {
  const Rect& f = r->filterRect;
  r->inRect = r->outRect = Rect{int16_t(f.top + row), f.left, int16_t(f.top + row + 1), f.right};
  r->maskRect = Rect{f.top, f.left, f.top, f.left};
  r->inLoPlane = r->outLoPlane = 0;
  r->inHiPlane = r->outHiPlane = int16_t(r->planes - 1);
  r->inputRate = r->maskRate = 0x10000;
  r->inputPadding = r->outputPadding = r->maskPadding = -1;
}

void FreeScratch(FilterRecord* r, NegateState* s) {
  if (!s->scratch) return;
  if (s->scratchId != 0) {
    r->bufferProcs->unlockProc(s->scratchId);
    r->bufferProcs->freeProc(s->scratchId);
  } else {
    DisposePtr(s->scratch);
  }
  s->scratch = nullptr;
  s->scratchId = 0;
}

void* AllocateScratch(FilterRecord* r, int32_t size, BufferID* id) {
  *id = 0;
  if (BufferSuiteUsable(r->bufferProcs) && r->bufferProcs->allocateProc(size, id) == 0) {
    if (void* p = r->bufferProcs->lockProc(*id, 1)) return p;
    r->bufferProcs->freeProc(*id);
    *id = 0;
  }
  return NewPtr(size);
}

void ReadDescriptor(FilterRecord* r, NegateState* s) {
  PIDescriptorParameters* d = r->descriptorParameters;
  if (!d || !d->descriptor || !d->readDescriptorProcs) return;
  const DescriptorKeyID keys[] = {kKeyPass, kKeyInterrupt, 0};
  ReadDescriptorProcs* p = d->readDescriptorProcs;
  PIReadDescriptor token = p->openReadDescriptorProc(d->descriptor, keys);
  if (token) {
    DescriptorKeyID key;
    DescType type;
    int32_t flags;
    while (p->getKeyProc(token, &key, &type, &flags)) {
      uint8_t v = 0;
      if (key == kKeyPass && p->getBooleanProc(token, &v) == 0) s->pass = v != 0;
      if (key == kKeyInterrupt) p->getIntegerProc(token, &s->interruptRow);
    }
    p->closeReadDescriptorProc(token);  // -1715 (a key missing) is fine
  }
  if (HandleSuiteUsable(r->handleProcs)) {
    r->handleProcs->disposeProc(d->descriptor);
  } else {
    DisposeHandle(d->descriptor);
  }
  d->descriptor = nullptr;
}

OSErr16 WriteDescriptor(FilterRecord* r, const NegateState* s) {
  PIDescriptorParameters* d = r->descriptorParameters;
  if (!d || !d->writeDescriptorProcs) return 0;
  WriteDescriptorProcs* p = d->writeDescriptorProcs;
  PIWriteDescriptor token = p->openWriteDescriptorProc();
  if (!token) return 0;
  const double gain = 1.0;
  p->putIntegerProc(token, kKeyVersion, 1);
  p->putBooleanProc(token, kKeyPass, s->pass ? 1 : 0);
  p->putIntegerProc(token, kKeyRows, s->height);
  p->putFloatProc(token, kKeyGain, &gain);
  p->putEnumeratedProc(token, kKeyMode, kModeType, kModeNegate);
  if (d->descriptor) DisposeHandle(d->descriptor);
  d->descriptor = nullptr;
  return p->closeWriteDescriptorProc(token, &d->descriptor);
}

void NegateRow(const FilterRecord* r, const NegateState* s) {
  const int32_t planes = r->inHiPlane - r->inLoPlane + 1;
  const bool transparency = (r->filterCase == 4 || r->filterCase == 5) && r->inTransparencyMask > 0;
  const int32_t alpha = transparency ? r->inLayerPlanes : -1;
  const int32_t n = s->width * planes;
  const int32_t bps = BytesPerSample(r);
  for (int32_t i = 0; i < n; ++i) {
    const bool keep = s->pass || (i % planes) == alpha;
    const uint8_t* in = static_cast<const uint8_t*>(r->inData) + i * bps;
    uint8_t* out = s->scratch + i * bps;
    if (r->depth == 32) {
      float v;
      std::memcpy(&v, in, 4);
      if (!keep) v = 1.0f - v;
      std::memcpy(out, &v, 4);
    } else if (r->depth == 16) {
      uint16_t v;
      std::memcpy(&v, in, 2);
      if (!keep) v = uint16_t(v >= 32768 ? 0 : 32768 - v);
      std::memcpy(out, &v, 2);
    } else {
      *out = keep ? *in : uint8_t(255 - *in);
    }
  }
  std::memcpy(r->outData, s->scratch, size_t(n) * size_t(bps));
}

int16_t Start(FilterRecord* r, NegateState* s) {
  if (r->imageMode == kImageModeMultichannel) {
    EmptyRects(r);
    return 1;
  }
  // Says what colour profile the host handed over, so that tests see it.
  if (r->canUseICCProfiles && r->iCCprofileData && r->iCCprofileSize > 0) {
    const auto* p = reinterpret_cast<const uint8_t*>(*r->iCCprofileData);
    std::fprintf(stderr, "negate: profile of %d bytes, class %c%c%c%c\n", int(r->iCCprofileSize), p[12], p[13], p[14],
                 p[15]);
  }
  s->row = 0;
  s->pass = false;
  s->interruptRow = -1;
  s->width = r->filterRect.right - r->filterRect.left;
  s->height = r->filterRect.bottom - r->filterRect.top;
  ReadDescriptor(r, s);
  s->scratch = static_cast<uint8_t*>(AllocateScratch(r, s->width * r->planes * BytesPerSample(r), &s->scratchId));
  if (!s->scratch) {
    EmptyRects(r);
    return -108;
  }
  AskForRow(r, 0);
  if (!r->advanceState) return 0;
  const OSErr16 err = r->advanceState();
  if (err != 0) {
    FreeScratch(r, s);
    EmptyRects(r);
  }
  return err;
}

int16_t Continue(FilterRecord* r, NegateState* s) {
  for (;;) {
    if (!r->inData || !r->outData) {
      FreeScratch(r, s);
      EmptyRects(r);
      return -108;
    }
    NegateRow(r, s);
    if (s->row == s->interruptRow) std::raise(SIGINT);
    if (r->abortProc && r->abortProc()) {
      FreeScratch(r, s);
      EmptyRects(r);
      return -128;
    }
    ++s->row;
    if (r->progressProc) r->progressProc(s->row, s->height);
    if (s->row >= s->height) {
      FreeScratch(r, s);
      EmptyRects(r);
      return 0;
    }
    AskForRow(r, s->row);
    if (!r->advanceState) return 0;
    const OSErr16 err = r->advanceState();
    if (err != 0) {
      FreeScratch(r, s);
      EmptyRects(r);
      return err;
    }
  }
}

// The settings handle: made once, kept by the host, counted per invocation.
bool EnsureSettings(FilterRecord* r) {
  if (!r->parameters) {
    r->parameters = HandleSuiteUsable(r->handleProcs) ? r->handleProcs->newProc(sizeof(NegateSettings))
                                                      : NewHandle(sizeof(NegateSettings));
    if (!r->parameters) return false;
    std::memset(*r->parameters, 0, sizeof(NegateSettings));
  }
  return true;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) void PluginMain(int16_t selector, FilterRecord* r, DataWord* data,
                                                                  int16_t* result) {
  if (selector == kSelectorAbout) return;
  if (*data == 0) {
    Handle h = NewHandleClear(sizeof(NegateState));
    if (!h) {
      *result = -108;
      return;
    }
    reinterpret_cast<NegateState*>(*h)->magic = kStateMagic;
    *data = reinterpret_cast<DataWord>(h);
  }
  auto* s = reinterpret_cast<NegateState*>(*reinterpret_cast<Handle>(*data));
  if (!EnsureSettings(r)) {
    *result = -108;
    return;
  }
  switch (selector) {
    case kSelectorParameters:
      *result = 0;
      break;
    case kSelectorPrepare:
      r->bufferSpace = 0;
      reinterpret_cast<NegateSettings*>(*r->parameters)->invocations += 1;
      *result = 0;
      break;
    case kSelectorStart:
      *result = Start(r, s);
      break;
    case kSelectorContinue:
      *result = Continue(r, s);
      break;
    case kSelectorFinish:
      *result = WriteDescriptor(r, s);
      break;
    default:
      *result = -30100;
      break;
  }
}

// The platform's configuration hook also serves the dialog front end; this
// test plug-in has none, so it answers that no such key is its concern.
__attribute__((weak)) bool UiConfigure(const char*, int64_t) { return false; }
