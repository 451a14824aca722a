#include "frame/settings/scripting_host.h"

#include "frame/base/host_suites.h"

bool Use_Mac_CFM_Glue_For_Host_Callbacks = false;

PIReadDescriptor ZHostOpenReader(PIDescriptorParameters* params, const DescriptorKeyID* keyList) {
  return params->readDescriptorProcs->openReadDescriptorProc(params->descriptor, keyList);
}

OSErr16 ZHostCloseReader(PIDescriptorParameters* params, HandleProcs* handles, PIReadDescriptor* token) {
  const OSErr16 err = ZHostCloseProbeReader(params, token);
  if (params->descriptor) HostDisposeHandle(handles, params->descriptor);
  params->descriptor = nullptr;
  return err;
}

OSErr16 ZHostCloseProbeReader(PIDescriptorParameters* params, PIReadDescriptor* token) {
  const OSErr16 err = params->readDescriptorProcs->closeReadDescriptorProc(*token);
  *token = nullptr;
  return err;
}

PIWriteDescriptor ZHostOpenWriter(PIDescriptorParameters* params) {
  return params->writeDescriptorProcs->openWriteDescriptorProc();
}

OSErr16 ZHostCloseWriter(PIDescriptorParameters* params, HandleProcs* handles, PIWriteDescriptor* token) {
  if (params->descriptor) HostDisposeHandle(handles, params->descriptor);
  params->descriptor = nullptr;
  Handle fresh = nullptr;
  params->writeDescriptorProcs->closeWriteDescriptorProc(*token, &fresh);
  params->descriptor = fresh;
  params->recordInfo = 0;
  *token = nullptr;
  return 0;
}

bool HostGetKey(PIDescriptorParameters* params, PIReadDescriptor token, DescriptorKeyID* key, DescType* type,
                int32_t* flags) {
  return params->readDescriptorProcs->getKeyProc(token, key, type, flags) != 0;
}

OSErr16 HostGetInt(PIDescriptorParameters* params, PIReadDescriptor token, int32_t* value) {
  return params->readDescriptorProcs->getIntegerProc(token, value);
}

OSErr16 HostGetFloat(PIDescriptorParameters* params, PIReadDescriptor token, double* value) {
  return params->readDescriptorProcs->getFloatProc(token, value);
}

OSErr16 HostGetBool(PIDescriptorParameters* params, PIReadDescriptor token, uint8_t* value) {
  return params->readDescriptorProcs->getBooleanProc(token, value);
}

OSErr16 HostGetEnum(PIDescriptorParameters* params, PIReadDescriptor token, DescriptorEnumID* value) {
  return params->readDescriptorProcs->getEnumeratedProc(token, value);
}

OSErr16 HostPutInt(PIDescriptorParameters* params, PIWriteDescriptor token, DescriptorKeyID key, int32_t value) {
  return params->writeDescriptorProcs->putIntegerProc(token, key, value);
}

OSErr16 HostPutFloat(PIDescriptorParameters* params, PIWriteDescriptor token, DescriptorKeyID key,
                     const double* value) {
  return params->writeDescriptorProcs->putFloatProc(token, key, value);
}

OSErr16 HostPutBool(PIDescriptorParameters* params, PIWriteDescriptor token, DescriptorKeyID key, uint8_t value) {
  return params->writeDescriptorProcs->putBooleanProc(token, key, value);
}

OSErr16 HostPutEnum(PIDescriptorParameters* params, PIWriteDescriptor token, DescriptorKeyID key,
                    DescriptorEnumTypeID type, DescriptorEnumID code) {
  return params->writeDescriptorProcs->putEnumeratedProc(token, key, type, code);
}

OSErr16 HostDisplayPixels(DisplayPixelsProc proc, const PSPixelMap* source, const VRect* srcRect, int32_t dstRow,
                          int32_t dstCol, void* platformContext) {
  return proc(source, srcRect, dstRow, dstCol, platformContext);
}

void TurnOffWeirdCFMCallbacks() { Use_Mac_CFM_Glue_For_Host_Callbacks = false; }
