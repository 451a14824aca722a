// An in-process host for the export writers with the real renderer: an RGB
// image of 8 or 16 bits in memory, advanceState that delivers the requested
// rectangles (edges replicated) and takes back what the plug-in wrote, a
// buffer suite that counts what is outstanding, and an abort that can be
// armed after a number of polls. It runs whole invocations (the in-place
// result) or opens one as the start selector does before its dialog, for
// exports.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/plugin_api.h"

struct Globals;
struct TParameters;

struct ExportHost {
  // depth 8, 16 or 32 (floats); planes 3 (RGB) or 4 (RGB and transparency). The image
  // is a smooth panorama that wraps around horizontally.
  ExportHost(int width, int height, int depth = 8, int planes = 3);
  ~ExportHost();
  ExportHost(const ExportHost&) = delete;
  ExportHost& operator=(const ExportHost&) = delete;

  // The host's colour profile for the image, handed over as a host does.
  void SetIccProfile(const std::vector<uint8_t>& bytes);

  int16_t Call(int16_t selector);
  // Prepare with settings applied by `configure` (after the record exists),
  // start and continue: the in-place result lands in `output`.
  int16_t RunInvocation();
  Globals* OpenInvocation();
  void CloseInvocation();
  TParameters* Settings() const;
  Globals* globals() const;

  // A sample of a 32-bit image.
  float FloatSample(const std::vector<uint8_t>& plane, int x, int y, int p) const;
  // Sample in the host's scale (0..255 or 0..32768).
  uint32_t Sample(const std::vector<uint8_t>& plane, int x, int y, int p) const;
  void SetSample(std::vector<uint8_t>* plane, int x, int y, int p, uint32_t v) const;

  FilterRecord record{};
  BufferProcs bufferProcs{};
  HandleProcs handleProcs{};
  DataWord data = 0;
  int width, height, depth, planes, bytesPerSample;
  std::vector<uint8_t> image, output;
  std::vector<uint8_t> inBuffer, outBuffer;
  Rect deliveredOut{0, 0, 0, 0};
  int abortAfterPolls = -1;  // -1: never
  bool deliverData = true;   // false: advanceState answers 0 and hands over no buffers
  int abortPolls = 0;
  std::map<BufferID, std::vector<uint8_t>> buffers;
  BufferID nextBufferId = 1;
  std::string preferences;

 private:
  void Deliver();
  void CommitOut();
  static ExportHost* current;
  static OSErr16 AdvanceThunk();
  static uint8_t AbortThunk();
  static OSErr16 AllocateThunk(int32_t size, BufferID* id);
  static void* LockThunk(BufferID id, uint8_t);
  static void UnlockThunk(BufferID) {}
  static void FreeThunk(BufferID id);
  static int32_t SpaceThunk() { return 1 << 30; }
};
