// The descriptor suite the host hands the plug-in: readers deliver the keys
// of a descriptor handle in their stored order, writers collect keys in the
// order put and close into a new descriptor handle.
#pragma once

#include <cstdint>

#include "host/descriptor.h"
#include "platform/plugin_api.h"

namespace gyhost {

constexpr OSErr16 kDescCoercionFailed = -1700;
constexpr OSErr16 kDescParamError = -50;

ReadDescriptorProcs MakeReadDescriptorProcs();
WriteDescriptorProcs MakeWriteDescriptorProcs();
// For tests: every reader's close answers `result` (0: the normal answer).
void SetCloseReadFault(OSErr16 result);

// A new handle (from the system allocator) holding the descriptor; null when
// memory runs out.
Handle DescriptorToHandle(const Descriptor& d);
bool DescriptorFromHandle(Handle h, Descriptor* d);

// Readers and writers the plug-in opened and never closed; closing them here
// frees them. Returns how many there were.
int32_t CloseForgottenDescriptorTokens();

}  // namespace gyhost
