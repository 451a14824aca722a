// An in-process host for driving PluginMain selector by selector: an 8-bit
// image in memory, a buffer suite that counts what is outstanding, a handle
// suite, and switches to take services away.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "platform/plugin_api.h"

struct EntryFakeHost {
  EntryFakeHost(int width, int height, int planes);
  ~EntryFakeHost();

  int16_t Call(int16_t selector);
  // prepare, start, then continue until the rectangles come back empty.
  int16_t RunInvocation(bool withParametersSelector = false);
  void Finish();

  bool RectsEmpty() const;
  int64_t OutstandingBuffers() const { return int64_t(buffers.size()); }

  FilterRecord record{};
  BufferProcs bufferProcs{};
  HandleProcs handleProcs{};
  DataWord data = 0;
  int width, height, planes;
  std::vector<uint8_t> image;   // the original, never written
  std::vector<uint8_t> output;  // what the plug-in wrote
  std::vector<uint8_t> inBuffer, outBuffer;
  Rect deliveredOut{0, 0, 0, 0};
  std::map<BufferID, std::vector<uint8_t>> buffers;
  BufferID nextBufferId = 1;
  bool refuseAllocate = false;
  bool refuseLock = false;
  int advanceCalls = 0;
  int continueCalls = 0;
  int abortAfterPolls = -1;  // -1: never abort
  int abortPolls = 0;
  int16_t advanceError = 0;
  int advanceErrorAtCall = -1;

 private:
  void CommitOut();
  void Deliver();
  static EntryFakeHost* current;
  static OSErr16 AdvanceThunk();
  static uint8_t AbortThunk();
  static OSErr16 AllocateThunk(int32_t size, BufferID* id);
  static void* LockThunk(BufferID id, uint8_t);
  static void UnlockThunk(BufferID) {}
  static void FreeThunk(BufferID id);
  static int32_t SpaceThunk() { return 1 << 30; }
};
