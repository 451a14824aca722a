// An in-process host for the parts of the plug-in that talk to the host on
// their own (image intake, buffer allocation): an image of any mode and depth
// in memory, an advanceState that delivers the requested inRect (padding by
// edge replication) and logs every request, a buffer suite that counts what is
// outstanding and can refuse, and a zero-filled Globals with its
// InvocationStorage and settings, wired to the record as the frame wires them.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/plugin_api.h"

struct Globals;
struct InvocationStorage;
struct TParameters;

struct FakeHost {
  // `planes` counts every sample of a pixel, the transparency plane
  // included; with `transparency` it is the last one and filterCase is 4.
  FakeHost(int width, int height, int16_t imageMode, int16_t depth, int planes, bool transparency);
  ~FakeHost();
  FakeHost(const FakeHost&) = delete;
  FakeHost& operator=(const FakeHost&) = delete;

  // Samples in the host's own scale: 0..255, 0..32768 or floats.
  void SetSample(int x, int y, int plane, double value);
  double GetSample(int x, int y, int plane) const;

  // Task records for the worker pool (`count` of them, and as many
  // processors), started as the start selector starts them.
  void StartTasks(int count);

  TParameters* Settings() const;

  FilterRecord record{};
  BufferProcs bufferProcs{};
  Globals* globals = nullptr;
  InvocationStorage* storage = nullptr;

  int width, height, planes, bytesPerSample;
  std::vector<uint8_t> image;     // row by row, `planes` samples per pixel
  std::vector<uint8_t> inBuffer;  // what the last advanceState delivered
  std::vector<Rect> requests;     // every inRect advanceState was asked for

  // advanceState answers `advanceError` from call `advanceErrorAtCall` on
  // (1-based; 0 never).
  int advanceCalls = 0;
  int advanceErrorAtCall = 0;
  int16_t advanceError = 0;

  // Buffer suite accounting and refusals (-1: no limit).
  int64_t outstandingBuffers = 0;
  int64_t outstandingBytes = 0;
  int64_t allocations = 0;
  int64_t refuseAfterAllocations = -1;
  int64_t byteBudget = -1;

 private:
  void Deliver();
  static FakeHost* current;
  static OSErr16 AdvanceThunk();
  static OSErr16 AllocateThunk(int32_t size, BufferID* id);
  static void* LockThunk(BufferID id, uint8_t moveHigh);
  static void UnlockThunk(BufferID id);
  static void FreeThunk(BufferID id);
  static int32_t SpaceThunk();
  struct Block {
    BufferID id;
    int64_t size;
    void* memory;
  };
  std::vector<Block> blocks;
  BufferID nextId = 1;
  std::vector<uint8_t> taskRecordBytes;
  bool tasksStarted = false;
};
