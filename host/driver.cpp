#include "host/driver.h"
#include "host/dialog/dialog_host.h"

#include "host/callbacks.h"
#include "host/descriptor_suite.h"
#include "host/parallel_parts.h"
#include "host/regions.h"
#include "host/streamed_output.h"
#include "host/suites.h"
#include "platform/memory.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace gyhost {

namespace {

// The picture the plug-in writes into starts as a copy of the original,
// copied as blocks: the sample vector's own copy goes through its allocator
// one byte at a time. A large picture is copied on several threads, each
// block's fresh pages faulted in by its own thread, so the copy does not
// hold up the start of the run by itself.
void CopyPicture(const HostImage& from, HostImage* to, int32_t threads) {
  to->width = from.width;
  to->height = from.height;
  to->colorPlanes = from.colorPlanes;
  to->hasAlpha = from.hasAlpha;
  to->type = from.type;
  to->meta = from.meta;
  to->data.resize(from.data.size());
  const size_t size = from.data.size();
  if (size == 0) return;
  constexpr size_t kBlockBytes = size_t(4) << 20;
  const size_t cores = ThreadsFor(threads);
  const size_t n = std::min({cores, size_t(8), (size + kBlockBytes - 1) / kBlockBytes});
  const uint8_t* in = from.data.data();
  uint8_t* out = to->data.data();
  RunSpans(size, n, [&](size_t begin, size_t end) { std::memcpy(out + begin, in + begin, end - begin); });
}

constexpr Fixed16 kResolution72 = 72 << 16;
constexpr int16_t kResultSentinel = 0x7A7A;  // a value no plug-in answers

struct ActiveInvocation {
  FilterRecord record{};
  BufferProcs bufferProcs{};
  HandleProcs handleProcs{};
  ReadDescriptorProcs readProcs{};
  WriteDescriptorProcs writeProcs{};
  PIDescriptorParameters descriptorParameters{};
  const HostImage* original = nullptr;
  const HostImage* mask = nullptr;
  const HostImage* canvas = nullptr;
  HostImage* destination = nullptr;
  StreamedOutput* stream = nullptr;
  RegionBuffer in, out, maskBuffer;
  bool outValid = false;  // `out` holds what the plug-in may have written
};

// advanceState carries no context; this is the invocation it serves.
ActiveInvocation* g_active = nullptr;

bool AllRectsEmpty(const FilterRecord& r) {
  return RectIsEmpty(r.inRect) && RectIsEmpty(r.outRect) && RectIsEmpty(r.maskRect);
}

void ForgetBuffers(ActiveInvocation* a) {
  a->outValid = false;
  a->record.inData = a->record.outData = a->record.maskData = nullptr;
  a->record.inRowBytes = a->record.outRowBytes = a->record.maskRowBytes = 0;
}

// Puts what the plug-in wrote into outData into the destination image.
void CommitOutput(ActiveInvocation* a) {
  if (!a->outValid) return;
  VRect t{};
  const bool writes = a->stream && CommitTarget(a->out, *a->destination, &t);
  if (writes) a->stream->Writing(t.top, t.bottom, t.left, t.right);
  CommitRegion(a->out, a->destination);
  if (writes) a->stream->Wrote(t.top, t.bottom, t.left, t.right);
}

// Delivers inData, outData and maskData for the rectangles in the record.
// Every request is filled afresh: outData must show the destination as it is
// now, with fresh padding, whatever the plug-in left in the old buffer.
int16_t DeliverRequested(ActiveInvocation* a) {
  FilterRecord& r = a->record;
  RegionRequest in;
  in.rect = r.inRect;
  in.loPlane = r.inLoPlane;
  in.hiPlane = r.inHiPlane;
  in.rate = r.samplingSupport ? r.inputRate : kUnitRate;
  in.padding = r.inputPadding;
  RegionRequest out;
  out.rect = r.outRect;
  out.loPlane = r.outLoPlane;
  out.hiPlane = r.outHiPlane;
  out.padding = r.outputPadding;
  const bool wantMask = a->mask && r.haveMask;
  RegionRequest mask;
  mask.rect = r.maskRect;
  mask.rate = r.samplingSupport ? r.maskRate : kUnitRate;
  mask.padding = r.maskPadding;

  // Once the plug-in works on the canvas, its input rows are the canvas's:
  // the unfiltered picture at the result's size.
  const bool onCanvas = a->canvas && r.filterRect.top == 0 && r.filterRect.left == 0 &&
                        r.filterRect.right == a->canvas->width && r.filterRect.bottom == a->canvas->height;
  // The input is only read: the image's own rows serve, uncopied, where
  // they can (the whole image passes through here tile by tile while the
  // plug-in's workers wait for each one).
  int16_t err = LendOrDeliverRegion(onCanvas ? *a->canvas : *a->original, in, &a->in);
  if (err == 0) err = DeliverRegion(*a->destination, out, &a->out);
  if (err == 0 && wantMask) err = DeliverRegion(*a->mask, mask, &a->maskBuffer);
  if (err != 0) {
    ForgetBuffers(a);
    return err;
  }
  a->outValid = true;
  r.inData = RegionData(&a->in);
  r.inRowBytes = a->in.rowBytes;
  r.outData = RegionData(&a->out);
  r.outRowBytes = a->out.rowBytes;
  r.maskData = wantMask ? RegionData(&a->maskBuffer) : nullptr;
  r.maskRowBytes = wantMask ? a->maskBuffer.rowBytes : 0;
  return 0;
}

OSErr16 HostAdvanceState() {
  ActiveInvocation* a = g_active;
  if (!a) return kRequestBadParameter;
  CommitOutput(a);
  return DeliverRequested(a);
}

void SetLayerPlanes(FilterRecord* r, const HostImage& image) {
  const int16_t colors = int16_t(image.colorPlanes);
  if (image.hasAlpha) {
    // Editable transparency: the alpha sample sits right behind the colour samples.
    r->filterCase = kFilterCaseEditableTransparencyNoSelection;
    r->inLayerPlanes = r->outLayerPlanes = r->absLayerPlanes = colors;
    r->inTransparencyMask = r->outTransparencyMask = r->absTransparencyMask = 1;
    r->inNonLayerPlanes = r->outNonLayerPlanes = r->absNonLayerPlanes = 0;
  } else {
    r->filterCase = kFilterCaseFlatImageNoSelection;
    r->inLayerPlanes = r->outLayerPlanes = r->absLayerPlanes = 0;
    r->inTransparencyMask = r->outTransparencyMask = r->absTransparencyMask = 0;
    r->inNonLayerPlanes = r->outNonLayerPlanes = r->absNonLayerPlanes = colors;
  }
}

void SetUpRecord(ActiveInvocation* a, PluginInstance* plugin, const InvocationSetup& setup) {
  const HostImage& image = *setup.original;
  const HostFaults& f = setup.faults;

  a->bufferProcs = MakeBufferProcs();
  a->bufferProcs.bufferProcsVersion = f.bufferSuiteVersion;
  a->bufferProcs.numBufferProcs = f.bufferSuiteCount;
  a->handleProcs = MakeHandleProcs();
  a->handleProcs.handleProcsVersion = f.handleSuiteVersion;
  a->handleProcs.numHandleProcs = f.handleSuiteCount;
  a->readProcs = MakeReadDescriptorProcs();
  a->writeProcs = MakeWriteDescriptorProcs();
  if (f.writeSuiteGaps) a->writeProcs.putFloatProc = nullptr;
  SetCloseReadFault(f.descriptorCloseError);

  a->descriptorParameters.descriptorParametersVersion = 0;
  a->descriptorParameters.playInfo = setup.dialog ? kPlayInfoDialogDisplay : 0;
  a->descriptorParameters.recordInfo = 0;
  a->descriptorParameters.descriptor = setup.replay ? DescriptorToHandle(*setup.replay) : nullptr;
  a->descriptorParameters.readDescriptorProcs = &a->readProcs;
  a->descriptorParameters.writeDescriptorProcs = &a->writeProcs;

  FilterRecord& r = a->record;
  r = FilterRecord{};
  r.abortProc = HostAbortProc;
  r.progressProc = HostProgressProc;
  r.parameters = plugin->parameters;
  r.imageSizeV = int16_t(image.height);
  r.imageSizeH = int16_t(image.width);
  r.planes = int16_t(PlaneCount(image));
  r.filterRect = Rect{0, 0, int16_t(image.height), int16_t(image.width)};
  r.background = RGBColorPI{0xFFFF, 0xFFFF, 0xFFFF};
  r.foreground = RGBColorPI{0, 0, 0};
  r.maxSpace = int32_t(kHostBufferSpace > INT32_MAX ? INT32_MAX : kHostBufferSpace);
  r.haveMask = setup.mask ? 1 : 0;
  r.imageMode = f.multichannel ? int16_t(kImageModeMultichannel) : ImageModeOf(image);
  r.depth = DepthOf(image);
  r.imageHRes = r.imageVRes = kResolution72;
  r.hostSig = f.hostSig;
  r.bufferProcs = &a->bufferProcs;
  r.handleProcs = &a->handleProcs;
  r.displayPixels = f.noDisplayPixels ? nullptr : HostDisplayPixels;
  r.platformData = HostDialogPort();
  r.advanceState = f.noAdvanceState ? nullptr : HostAdvanceState;
  r.samplingSupport = 1;
  r.inputRate = r.maskRate = kUnitRate;
  r.inputPadding = r.outputPadding = r.maskPadding = -1;
  SetLayerPlanes(&r, image);
  r.descriptorParameters = &a->descriptorParameters;
  // The document's colour profile, as a host hands it to filters that write
  // files of their own.
  r.canUseICCProfiles = 1;
  if (!image.meta.icc.empty()) {
    r.iCCprofileData = NewHandle(int64_t(image.meta.icc.size()));
    if (r.iCCprofileData) {
      std::memcpy(*r.iCCprofileData, image.meta.icc.data(), image.meta.icc.size());
      r.iCCprofileSize = int32_t(image.meta.icc.size());
    }
  }

  a->original = setup.original;
  a->mask = setup.mask;
  a->canvas = setup.canvas;

  CallbackConfig callbacks;
  callbacks.abortAfterPolls = f.abortAfterPolls;
  callbacks.quiet = setup.quiet;
  ResetCallbacks(callbacks);
}

int16_t Call(PluginInstance* plugin, ActiveInvocation* a, int16_t selector) {
  int16_t result = 0;
  plugin->module.entry(selector, &a->record, &plugin->data, &result);
  plugin->parameters = a->record.parameters;
  return result;
}

// The descriptor handle belongs to the host again once the invocation ends.
void TakeBackDescriptor(ActiveInvocation* a, bool keep, InvocationOutcome* outcome) {
  Handle h = a->descriptorParameters.descriptor;
  a->descriptorParameters.descriptor = nullptr;
  if (!h) return;
  if (keep) outcome->recorded = DescriptorFromHandle(h, &outcome->descriptor);
  DisposeHandle(h);
}

void ReleaseProfile(ActiveInvocation* a) {
  if (a->record.iCCprofileData) DisposeHandle(a->record.iCCprofileData);
  a->record.iCCprofileData = nullptr;
  a->record.iCCprofileSize = 0;
}

}  // namespace

void BeginHostSession(const HostFaults& faults) {
  BufferSuiteConfig config;
  config.refuseAllocate = faults.refuseBufferAllocate;
  config.refuseLock = faults.refuseBufferLock;
  ResetBufferSuite(config);
  ResetHandleSuite();
}

void RunInvocation(PluginInstance* plugin, const InvocationSetup& setup, HostImage* destination,
                   InvocationOutcome* outcome) {
  *outcome = InvocationOutcome{};
  CopyPicture(setup.canvas ? *setup.canvas : *setup.original, destination, setup.threads);
  ActiveInvocation a;
  SetUpRecord(&a, plugin, setup);
  a.destination = destination;
  a.stream = setup.stream;
  if (a.stream) a.stream->Begin(destination);
  g_active = &a;

  int16_t selector = kSelectorParameters;
  int16_t result = 0;
  if (setup.dialog) result = Call(plugin, &a, selector);
  if (result == 0) result = Call(plugin, &a, selector = kSelectorPrepare);
  if (result == 0) result = Call(plugin, &a, selector = kSelectorStart);
  // After start and after every continue: take what was written, and while
  // the plug-in still asks for rectangles, serve them and continue.
  while (result == 0) {
    CommitOutput(&a);
    if (AllRectsEmpty(a.record)) break;
    result = DeliverRequested(&a);
    if (result != 0) {
      outcome->deliveryFailed = true;
      break;
    }
    result = Call(plugin, &a, selector = kSelectorContinue);
  }
  if (result == 0) result = Call(plugin, &a, selector = kSelectorFinish);

  outcome->result = result;
  outcome->selector = selector;
  outcome->rectsEmpty = AllRectsEmpty(a.record);
  TakeBackDescriptor(&a, result == 0, outcome);
  ReleaseProfile(&a);
  ForgetBuffers(&a);
  g_active = nullptr;
  FinishProgressLine();
  outcome->forgottenTokens = CloseForgottenDescriptorTokens();
}

SelectorProbe ProbeSelector(PluginInstance* plugin, const InvocationSetup& setup, int16_t selector) {
  HostImage destination;
  CopyPicture(*setup.original, &destination, setup.threads);
  ActiveInvocation a;
  SetUpRecord(&a, plugin, setup);
  a.destination = &destination;
  g_active = &a;

  const DataWord dataBefore = plugin->data;
  const Handle parametersBefore = plugin->parameters;
  int16_t result = kResultSentinel;
  plugin->module.entry(selector, &a.record, &plugin->data, &result);
  plugin->parameters = a.record.parameters;

  SelectorProbe probe;
  probe.resultWritten = result != kResultSentinel;
  probe.result = result;
  probe.dataWordChanged = plugin->data != dataBefore;
  probe.parametersChanged = plugin->parameters != parametersBefore;
  InvocationOutcome ignored;
  TakeBackDescriptor(&a, false, &ignored);
  ReleaseProfile(&a);
  ForgetBuffers(&a);
  g_active = nullptr;
  FinishProgressLine();
  CloseForgottenDescriptorTokens();
  return probe;
}

void EndPluginSession(PluginInstance* plugin) {
  if (plugin->parameters) DisposeHandle(plugin->parameters);
  plugin->parameters = nullptr;
}

}  // namespace gyhost
