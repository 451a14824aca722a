// Driving the plug-in through one invocation: the filter record, the
// selector sequence, the rectangle requests answered by advanceState or
// between continue calls, and the faults a test may ask the host to play.
#pragma once

#include <cstdint>

#include "host/descriptor.h"
#include "host/host_image.h"
#include "host/plugin_loader.h"
#include "platform/plugin_api.h"

namespace gyhost {

class StreamedOutput;

constexpr FourCC kDefaultHostSig = MakeFourCC("GYRL");

struct HostFaults {
  bool refuseBufferAllocate = false;
  bool refuseBufferLock = false;
  int16_t bufferSuiteVersion = kCurrentBufferProcsVersion;
  int16_t bufferSuiteCount = kCurrentBufferProcsCount;
  int16_t handleSuiteVersion = kCurrentHandleProcsVersion;
  int16_t handleSuiteCount = kCurrentHandleProcsCount;
  bool noAdvanceState = false;
  bool noDisplayPixels = false;
  int64_t abortAfterPolls = -1;  // -1: never
  bool multichannel = false;     // report image mode 7
  FourCC hostSig = kDefaultHostSig;
  OSErr16 descriptorCloseError = 0;  // every reader's close answers this
  bool writeSuiteGaps = false;       // the write suite lacks putFloatProc
};

struct InvocationSetup {
  const HostImage* original = nullptr;
  const HostImage* mask = nullptr;     // grey 8-bit, same size; null: no mask
  // The canvas: the original resampled to the result's size, which the
  // plug-in was told of. The plug-in reads the original at its own size, then
  // names the canvas as its filter rectangle and renders the canvas's rows;
  // the result is the canvas's size. Null: the result is the original's size.
  const HostImage* canvas = nullptr;
  bool dialog = false;                 // send the parameters selector; playInfo 1
  const Descriptor* replay = nullptr;  // null: no descriptor handed to the plug-in
  bool quiet = false;
  HostFaults faults;
  int32_t threads = 0;  // threads that copy the picture at the start; 0: one per core
  // Codes the result's file while the rows come back; null: none.
  StreamedOutput* stream = nullptr;
};

// A loaded plug-in as a host keeps it between invocations.
struct PluginInstance {
  PluginModule module;
  DataWord data = 0;            // the plug-in's own word, never touched by the host
  Handle parameters = nullptr;  // the settings handle, kept by the host
};

struct InvocationOutcome {
  int16_t result = 0;
  int16_t selector = 0;         // the selector whose call (or whose rectangles) failed
  bool deliveryFailed = false;  // the host could not serve the requested rectangles
  bool recorded = false;        // finish left a descriptor
  Descriptor descriptor;
  int32_t forgottenTokens = 0;  // descriptor readers or writers left open
  bool rectsEmpty = true;       // the plug-in asked for nothing more when it returned
};

// Resets the buffer and handle suites' bookkeeping and installs the buffer faults.
void BeginHostSession(const HostFaults& faults);

// Runs parameters (with setup.dialog), prepare, start, continue and finish,
// stopping at the first non-zero result. `destination` receives the filtered
// image; it is meaningful only when the result is 0.
void RunInvocation(PluginInstance* plugin, const InvocationSetup& setup, HostImage* destination,
                   InvocationOutcome* outcome);

struct SelectorProbe {
  bool resultWritten = false;
  int16_t result = 0;
  bool dataWordChanged = false;
  bool parametersChanged = false;
};

// Calls one selector alone with a fully set-up record and reports what it touched.
SelectorProbe ProbeSelector(PluginInstance* plugin, const InvocationSetup& setup, int16_t selector);

// Gives back what the host keeps for the plug-in between invocations.
void EndPluginSession(PluginInstance* plugin);

}  // namespace gyhost
