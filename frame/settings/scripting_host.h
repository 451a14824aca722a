// Thin wrappers over the host's descriptor procedures and its display
// callback. The caller has checked that the suite is usable
// (HostDescriptorAvailable); tokens are 0 when no reader or writer is open.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

PIReadDescriptor ZHostOpenReader(PIDescriptorParameters* params, const DescriptorKeyID* keyList);
// Closes the reader, then disposes of the descriptor (the settings have been
// taken from it) and clears it and the token. Answers the host's close result.
OSErr16 ZHostCloseReader(PIDescriptorParameters* params, HandleProcs* handles, PIReadDescriptor* token);
// Closes a reader that only looked: the descriptor stays for the real read.
OSErr16 ZHostCloseProbeReader(PIDescriptorParameters* params, PIReadDescriptor* token);
PIWriteDescriptor ZHostOpenWriter(PIDescriptorParameters* params);
// Replaces the descriptor with what the writer holds, marks the dialog as
// optional for the recording and clears the token. Always 0.
OSErr16 ZHostCloseWriter(PIDescriptorParameters* params, HandleProcs* handles, PIWriteDescriptor* token);

bool HostGetKey(PIDescriptorParameters* params, PIReadDescriptor token, DescriptorKeyID* key, DescType* type,
                int32_t* flags);
OSErr16 HostGetInt(PIDescriptorParameters* params, PIReadDescriptor token, int32_t* value);
OSErr16 HostGetFloat(PIDescriptorParameters* params, PIReadDescriptor token, double* value);
OSErr16 HostGetBool(PIDescriptorParameters* params, PIReadDescriptor token, uint8_t* value);
OSErr16 HostGetEnum(PIDescriptorParameters* params, PIReadDescriptor token, DescriptorEnumID* value);

OSErr16 HostPutInt(PIDescriptorParameters* params, PIWriteDescriptor token, DescriptorKeyID key, int32_t value);
OSErr16 HostPutFloat(PIDescriptorParameters* params, PIWriteDescriptor token, DescriptorKeyID key,
                     const double* value);
OSErr16 HostPutBool(PIDescriptorParameters* params, PIWriteDescriptor token, DescriptorKeyID key, uint8_t value);
OSErr16 HostPutEnum(PIDescriptorParameters* params, PIWriteDescriptor token, DescriptorKeyID key,
                    DescriptorEnumTypeID type, DescriptorEnumID code);

// The caller has checked that the host offers displayPixels.
OSErr16 HostDisplayPixels(DisplayPixelsProc proc, const PSPixelMap* source, const VRect* srcRect, int32_t dstRow,
                          int32_t dstCol, void* platformContext);

// Host callbacks are always called directly on this platform; the entry point
// calls this on every call so that no older calling glue is ever chosen.
// Cleared on every entry: host callbacks are plain function pointers here.
extern bool Use_Mac_CFM_Glue_For_Host_Callbacks;
void TurnOffWeirdCFMCallbacks();
