// platform/: our own stand-ins for the host's plug-in interface and the system services the plug-in calls.
// The host's filter plug-in interface as this plug-in and our own host use it:
// the parameter block, rectangles, pixel maps and the three callback suites.
// Both sides are built from this one header, so the layout only has to agree
// with itself; the data word is pointer-sized so a handle fits in it on 64-bit.
#pragma once

#include <cstdint>

#include "platform/memory.h"

extern "C" {

using OSErr16 = int16_t;
using Fixed16 = int32_t;  // 16.16 fixed point
using FourCC = uint32_t;
using BufferID = uint32_t;
using DataWord = intptr_t;

constexpr FourCC MakeFourCC(const char (&s)[5]) {
  return (FourCC(uint8_t(s[0])) << 24) | (FourCC(uint8_t(s[1])) << 16) | (FourCC(uint8_t(s[2])) << 8) |
         FourCC(uint8_t(s[3]));
}

struct Rect {
  int16_t top, left, bottom, right;
};

struct VRect {
  int32_t top, left, bottom, right;
};

struct RGBColorPI {
  uint16_t red, green, blue;
};

// Selectors of the entry point.
enum : int16_t {
  kSelectorAbout = 0,
  kSelectorParameters = 1,
  kSelectorPrepare = 2,
  kSelectorStart = 3,
  kSelectorContinue = 4,
  kSelectorFinish = 5,
};

// Image modes the host reports.
enum : int16_t {
  kImageModeGray = 1,
  kImageModeRGB = 3,
  kImageModeMultichannel = 7,
  kImageModeGray16 = 10,
  kImageModeRGB48 = 11,
  kImageModeRGB96 = 16,
  kImageModeGray32 = 17,
};

// What the filter is applied to; 4 and 5 carry an editable transparency plane.
enum : int16_t {
  kFilterCaseFlatImageNoSelection = 1,
  kFilterCaseFlatImageWithSelection = 2,
  kFilterCaseFloatingSelection = 3,
  kFilterCaseEditableTransparencyNoSelection = 4,
  kFilterCaseEditableTransparencyWithSelection = 5,
  kFilterCaseProtectedTransparencyNoSelection = 6,
  kFilterCaseProtectedTransparencyWithSelection = 7,
};

// Result codes the host understands.
enum : int16_t {
  kResultOK = 0,
  kResultOutOfMemory = -108,
  kResultUserCanceled = -128,
  kResultBadSelector = -30100,
  kResultMissingKey = -1715,
};

using AdvanceStateProc = OSErr16 (*)();
using TestAbortProc = uint8_t (*)();
using ProgressProc = void (*)(int32_t done, int32_t total);

struct PSPixelMask;

struct PSPixelMap {
  int32_t version;
  VRect bounds;
  int32_t imageMode;
  int32_t rowBytes;
  int32_t colBytes;
  int32_t planeBytes;
  void* baseAddr;
  void* mat;
  PSPixelMask* masks;
  int32_t maskPhaseRow;
  int32_t maskPhaseCol;
};

using DisplayPixelsProc = OSErr16 (*)(const PSPixelMap* source, const VRect* srcRect, int32_t dstRow,
                                      int32_t dstCol, void* platformContext);

// Buffer suite, version 2 with five procedures.
struct BufferProcs {
  int16_t bufferProcsVersion;
  int16_t numBufferProcs;
  OSErr16 (*allocateProc)(int32_t size, BufferID* id);
  void* (*lockProc)(BufferID id, uint8_t moveHigh);
  void (*unlockProc)(BufferID id);
  void (*freeProc)(BufferID id);
  int32_t (*spaceProc)();
};
constexpr int16_t kCurrentBufferProcsVersion = 2;
constexpr int16_t kCurrentBufferProcsCount = 5;

// Handle suite, version 1 with eight procedures.
struct HandleProcs {
  int16_t handleProcsVersion;
  int16_t numHandleProcs;
  Handle (*newProc)(int32_t size);
  void (*disposeProc)(Handle h);
  int32_t (*getSizeProc)(Handle h);
  OSErr16 (*setSizeProc)(Handle h, int32_t newSize);
  char* (*lockProc)(Handle h, uint8_t moveHigh);
  void (*unlockProc)(Handle h);
  void (*recoverSpaceProc)(int32_t size);
  void (*disposeRegularHandleProc)(Handle h);
};
constexpr int16_t kCurrentHandleProcsVersion = 1;
constexpr int16_t kCurrentHandleProcsCount = 8;

// Descriptor (scripting) suites. Tokens are opaque host pointers.
using PIReadDescriptor = void*;
using PIWriteDescriptor = void*;
using DescriptorKeyID = FourCC;
using DescType = FourCC;
using DescriptorEnumTypeID = FourCC;
using DescriptorEnumID = FourCC;

struct ReadDescriptorProcs {
  int16_t readDescriptorProcsVersion;
  int16_t numReadDescriptorProcs;
  PIReadDescriptor (*openReadDescriptorProc)(Handle descriptor, const DescriptorKeyID* keyList);
  OSErr16 (*closeReadDescriptorProc)(PIReadDescriptor token);
  uint8_t (*getKeyProc)(PIReadDescriptor token, DescriptorKeyID* key, DescType* type, int32_t* flags);
  OSErr16 (*getIntegerProc)(PIReadDescriptor token, int32_t* value);
  OSErr16 (*getFloatProc)(PIReadDescriptor token, double* value);
  OSErr16 (*getUnitFloatProc)(PIReadDescriptor token, FourCC* unit, double* value);
  OSErr16 (*getBooleanProc)(PIReadDescriptor token, uint8_t* value);
  OSErr16 (*getTextProc)(PIReadDescriptor token, Handle* value);
  OSErr16 (*getAliasProc)(PIReadDescriptor token, Handle* value);
  OSErr16 (*getEnumeratedProc)(PIReadDescriptor token, DescriptorEnumID* value);
  OSErr16 (*getClassProc)(PIReadDescriptor token, FourCC* value);
  OSErr16 (*getSimpleReferenceProc)(PIReadDescriptor token, void* value);
  OSErr16 (*getObjectProc)(PIReadDescriptor token, FourCC* type, Handle* value);
  OSErr16 (*getCountProc)(PIReadDescriptor token, uint32_t* value);
  OSErr16 (*getStringProc)(PIReadDescriptor token, unsigned char* value);
  OSErr16 (*getPinnedIntegerProc)(PIReadDescriptor token, int32_t min, int32_t max, int32_t* value);
  OSErr16 (*getPinnedFloatProc)(PIReadDescriptor token, const double* min, const double* max, double* value);
  OSErr16 (*getPinnedUnitFloatProc)(PIReadDescriptor token, const double* min, const double* max, FourCC* unit,
                                     double* value);
};
constexpr int16_t kCurrentReadDescriptorProcsVersion = 0;
constexpr int16_t kCurrentReadDescriptorProcsCount = 18;

struct WriteDescriptorProcs {
  int16_t writeDescriptorProcsVersion;
  int16_t numWriteDescriptorProcs;
  PIWriteDescriptor (*openWriteDescriptorProc)();
  OSErr16 (*closeWriteDescriptorProc)(PIWriteDescriptor token, Handle* newDescriptor);
  OSErr16 (*putIntegerProc)(PIWriteDescriptor token, DescriptorKeyID key, int32_t value);
  OSErr16 (*putFloatProc)(PIWriteDescriptor token, DescriptorKeyID key, const double* value);
  OSErr16 (*putUnitFloatProc)(PIWriteDescriptor token, DescriptorKeyID key, FourCC unit, const double* value);
  OSErr16 (*putBooleanProc)(PIWriteDescriptor token, DescriptorKeyID key, uint8_t value);
  OSErr16 (*putTextProc)(PIWriteDescriptor token, DescriptorKeyID key, Handle value);
  OSErr16 (*putAliasProc)(PIWriteDescriptor token, DescriptorKeyID key, Handle value);
  OSErr16 (*putEnumeratedProc)(PIWriteDescriptor token, DescriptorKeyID key, DescriptorEnumTypeID type,
                               DescriptorEnumID value);
  OSErr16 (*putClassProc)(PIWriteDescriptor token, DescriptorKeyID key, FourCC value);
  OSErr16 (*putSimpleReferenceProc)(PIWriteDescriptor token, DescriptorKeyID key, const void* value);
  OSErr16 (*putObjectProc)(PIWriteDescriptor token, DescriptorKeyID key, FourCC type, Handle value);
  OSErr16 (*putCountProc)(PIWriteDescriptor token, DescriptorKeyID key, uint32_t count);
  OSErr16 (*putStringProc)(PIWriteDescriptor token, DescriptorKeyID key, const unsigned char* value);
  OSErr16 (*putScopedClassProc)(PIWriteDescriptor token, DescriptorKeyID key, FourCC value);
  OSErr16 (*putScopedObjectProc)(PIWriteDescriptor token, DescriptorKeyID key, FourCC type, Handle value);
};
constexpr int16_t kCurrentWriteDescriptorProcsVersion = 0;
constexpr int16_t kCurrentWriteDescriptorProcsCount = 16;

// Descriptor value types.
constexpr DescType kTypeInteger = MakeFourCC("long");
constexpr DescType kTypeFloat = MakeFourCC("doub");
constexpr DescType kTypeBoolean = MakeFourCC("bool");
constexpr DescType kTypeEnumerated = MakeFourCC("enum");

struct PIDescriptorParameters {
  int16_t descriptorParametersVersion;
  int16_t playInfo;    // 1: show the dialog while replaying
  int16_t recordInfo;  // 0: the dialog is optional for the recording
  Handle descriptor;
  WriteDescriptorProcs* writeDescriptorProcs;
  ReadDescriptorProcs* readDescriptorProcs;
};
constexpr int16_t kPlayInfoDialogDisplay = 1;

struct FilterRecord {
  int32_t serialNumber;
  TestAbortProc abortProc;
  ProgressProc progressProc;
  Handle parameters;

  int16_t imageSizeV, imageSizeH;  // whole image
  int16_t planes;                  // samples per pixel delivered
  Rect filterRect;
  RGBColorPI background;
  RGBColorPI foreground;
  int32_t maxSpace;
  int32_t bufferSpace;

  Rect inRect;
  int16_t inLoPlane, inHiPlane;
  Rect outRect;
  int16_t outLoPlane, outHiPlane;
  void* inData;
  int32_t inRowBytes;
  void* outData;
  int32_t outRowBytes;

  uint8_t isFloating;
  uint8_t haveMask;
  uint8_t autoMask;
  Rect maskRect;
  void* maskData;
  int32_t maskRowBytes;

  int16_t imageMode;
  int16_t depth;  // bits per sample: 8, 16 or 32
  Fixed16 imageHRes, imageVRes;

  FourCC hostSig;
  void* platformData;
  BufferProcs* bufferProcs;
  HandleProcs* handleProcs;
  DisplayPixelsProc displayPixels;
  AdvanceStateProc advanceState;

  uint8_t samplingSupport;  // nonzero: inputRate above 1 is honoured
  Fixed16 inputRate;
  Fixed16 maskRate;
  int16_t inputPadding, outputPadding, maskPadding;  // -1: replicate the edge

  int16_t filterCase;
  int16_t inLayerPlanes, inTransparencyMask, inLayerMasks, inInvertedLayerMasks, inNonLayerPlanes;
  int16_t outLayerPlanes, outTransparencyMask, outLayerMasks, outInvertedLayerMasks, outNonLayerPlanes;
  int16_t absLayerPlanes, absTransparencyMask, absLayerMasks, absInvertedLayerMasks, absNonLayerPlanes;

  PIDescriptorParameters* descriptorParameters;
  Handle errorString;

  // The document's colour profile as the host holds it: a handle of
  // iCCprofileSize bytes (null when the image has none); canUseICCProfiles
  // is nonzero when the host hands profiles at all.
  Handle iCCprofileData;
  int32_t iCCprofileSize;
  int32_t canUseICCProfiles;
};

// The one exported entry of the plug-in.
using PluginMainProc = void (*)(int16_t selector, FilterRecord* filterRecord, DataWord* data, int16_t* result);
constexpr const char* kPluginMainSymbol = "PluginMain";

}  // extern "C"
