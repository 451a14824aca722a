// An in-process host for the render driver's suites: an 8-bit image and an
// optional selection mask in memory; advanceState that delivers the
// requested in, out and mask rectangles, reduced by the input rate as a
// sampling host does (nearest pixel), and writes back what the plug-in put
// in outData; a buffer suite that counts what is outstanding; abortProc,
// progressProc and displayPixels that log their calls. It drives PluginMain
// selector by selector, or opens an invocation the way the start selector
// does before its dialog, for passes that run inside the dialog.
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

struct DriverHost {
  DriverHost(int width, int height, int planes);
  ~DriverHost();
  DriverHost(const DriverHost&) = delete;
  DriverHost& operator=(const DriverHost&) = delete;

  int16_t Call(int16_t selector);
  // Prepare, start, and continue until the rectangles come back empty.
  int16_t RunInvocation();
  // The settings record; the prepare selector creates it.
  TParameters* Settings() const;
  Globals* globals() const;

  // Prepare, then what start does before its dialog: the per-invocation
  // blocks and set-up, without the final pass.
  Globals* OpenInvocation();
  // The end of an invocation: shutdown and empty rectangles.
  void CloseInvocation();
  // The dialog's preview at this zoom-out into a preview area of `area`
  // (window coordinates), run mode 1: the proxy rectangle is requested.
  void SetUpPreview(const Rect& area, int32_t scale);

  bool RectsEmpty() const;
  int64_t OutstandingBuffers() const { return int64_t(buffers.size()); }
  uint8_t Sample(int x, int y, int plane) const { return image[(size_t(y) * width + x) * planes + plane]; }
  uint8_t OutputSample(int x, int y, int plane) const { return output[(size_t(y) * width + x) * planes + plane]; }

  FilterRecord record{};
  BufferProcs bufferProcs{};
  HandleProcs handleProcs{};
  DataWord data = 0;
  int width, height, planes;
  std::vector<uint8_t> image;   // the original, row by row
  std::vector<uint8_t> output;  // what the plug-in wrote through outData at rate 1
  std::vector<uint8_t> mask;    // empty: no selection
  std::vector<uint8_t> inBuffer, outBuffer, maskBuffer;
  Rect deliveredOut{0, 0, 0, 0};
  // While the dialog's preview is up, outData is the host's proxy buffer,
  // never written back into the image.
  bool previewing = false;

  int advanceCalls = 0;
  int continueCalls = 0;
  int abortAfterPolls = -1;  // -1: never
  int abortPolls = 0;
  std::vector<ProgressCall> progress;
  std::vector<DisplayCall> displays;
  std::map<BufferID, std::vector<uint8_t>> buffers;
  BufferID nextBufferId = 1;
  std::string preferences;  // this host's folder for the plug-in's files

 private:
  void Deliver();
  void CommitOut();
  static DriverHost* current;
  static OSErr16 AdvanceThunk();
  static uint8_t AbortThunk();
  static void ProgressThunk(int32_t done, int32_t total);
  static OSErr16 DisplayThunk(const PSPixelMap* map, const VRect* band, int32_t row, int32_t column, void*);
  static OSErr16 AllocateThunk(int32_t size, BufferID* id);
  static void* LockThunk(BufferID id, uint8_t);
  static void UnlockThunk(BufferID) {}
  static void FreeThunk(BufferID id);
  static int32_t SpaceThunk() { return 1 << 30; }
};
