// An in-process host that drives the plug-in's entry selector by selector:
// an image of 8, 16 or 32 bits and an optional 8-bit selection mask in
// memory; advanceState that delivers the requested in, out and mask
// rectangles (edges replicated, reduced by the input rate as a sampling host
// does, nearest pixel) and takes back what the plug-in wrote in outData; a
// buffer suite that counts what is outstanding and can refuse; an abortProc
// that can be armed after a number of polls; progressProc and displayPixels
// that log their calls. It runs whole invocations, or opens one the way the
// start selector does before its dialog, for passes and exports that run
// inside the dialog.
//
// The suites' own hosts (tests/export, tests/frame/driver, tests/frame) are this
// host with their image, callbacks and habits set in their constructors.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/plugin_api.h"

struct Globals;
struct TParameters;

struct ProgressCall {
  int32_t done, total;
};

struct DisplayCall {
  VRect band;
  int32_t destRow, destColumn;
};

struct PluginHost {
  // `depth` 8, 16 or 32 (floats). The image is a byte pattern (i * 7 + 3)
  // and the output starts as its copy. With a `preferencesPrefix` the
  // plug-in's cached settings and memory-dot files go to a fresh folder of
  // this host's own (removed with it), so settings one test leaves never
  // reach the next.
  PluginHost(int width, int height, int planes, int depth = 8, const char* preferencesPrefix = nullptr);
  ~PluginHost();
  PluginHost(const PluginHost&) = delete;
  PluginHost& operator=(const PluginHost&) = delete;

  int16_t Call(int16_t selector);
  // Start, then continue until the rectangles come back empty (the host's
  // part after prepare; without advanceState the host delivers each row).
  int16_t StartAndContinue();
  // [Parameters,] prepare, start and continue.
  int16_t RunWholeInvocation(bool withParametersSelector = false);
  void Finish() { Call(kSelectorFinish); }
  // What start does before its dialog: the per-invocation blocks and
  // set-up, without the final pass (prepare must have run).
  Globals* OpenInvocationAfterPrepare();
  // The end of an invocation: shutdown and empty rectangles.
  void CloseInvocation();
  // The dialog's preview at this zoom-out into a preview area of `area`
  // (window coordinates), run mode 1: the proxy rectangle is requested.
  void SetUpPreview(const Rect& area, int32_t scale);
  // The host's colour profile for the image, handed over as a host does.
  void SetIccProfile(const std::vector<uint8_t>& bytes);

  // The settings record; the first selector creates it.
  TParameters* Settings() const;
  Globals* globals() const;
  bool RectsEmpty() const;
  int64_t OutstandingBuffers() const { return int64_t(buffers.size()); }

  // A sample of `plane` (the image, the output or a buffer laid out like
  // them) in the host's scale: 0..255 or 0..32768; floats for 32 bits.
  uint32_t Sample(const std::vector<uint8_t>& samples, int x, int y, int p) const;
  float FloatSample(const std::vector<uint8_t>& samples, int x, int y, int p) const;
  void SetSample(std::vector<uint8_t>* samples, int x, int y, int p, uint32_t v) const;

  FilterRecord record{};
  BufferProcs bufferProcs{};
  HandleProcs handleProcs{};
  DataWord data = 0;
  int width, height, planes, depth, bytesPerSample;
  std::vector<uint8_t> image;   // the original, row by row, never written
  std::vector<uint8_t> output;  // what the plug-in wrote through outData at rate 1
  std::vector<uint8_t> mask;    // empty: no selection
  std::vector<uint8_t> inBuffer, outBuffer, maskBuffer;
  Rect deliveredOut{0, 0, 0, 0};
  // While the dialog's preview is up, outData is the host's proxy buffer,
  // never written back into the image.
  bool previewing = false;
  // The out buffer is handed over blank rather than holding the output so far.
  bool blankOutBuffers = false;
  // false: advanceState answers 0 and hands over no buffers.
  bool deliverData = true;

  int advanceCalls = 0;
  int continueCalls = 0;
  // advanceState answers `advanceError` from call `advanceErrorAtCall` on
  // (1-based; -1 never), delivering nothing.
  int16_t advanceError = 0;
  int advanceErrorAtCall = -1;
  int abortAfterPolls = -1;  // -1: never
  int abortPolls = 0;
  std::vector<ProgressCall> progress;
  std::vector<DisplayCall> displays;
  std::map<BufferID, std::vector<uint8_t>> buffers;
  BufferID nextBufferId = 1;
  bool refuseAllocate = false;
  bool refuseLock = false;
  std::string preferences;  // this host's folder for the plug-in's files

  // The callbacks, for hosts that offer them (progressProc and
  // displayPixels are not in the record unless a suite puts them there).
  static OSErr16 AdvanceThunk();
  static uint8_t AbortThunk();
  static void ProgressThunk(int32_t done, int32_t total);
  static OSErr16 DisplayThunk(const PSPixelMap* map, const VRect* band, int32_t row, int32_t column, void*);

  void Deliver();
  void CommitOut();

 private:
  static PluginHost* current;
  static OSErr16 AllocateThunk(int32_t size, BufferID* id);
  static void* LockThunk(BufferID id, uint8_t);
  static void UnlockThunk(BufferID) {}
  static void FreeThunk(BufferID id);
  static int32_t SpaceThunk() { return 1 << 30; }
};
