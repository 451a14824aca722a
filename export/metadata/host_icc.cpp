#include "export/metadata/host_icc.h"

#include "platform/plugin_api.h"

HostIccProfile GrabHostIccProfile(const FilterRecord* fr) {
  if (!fr || !fr->canUseICCProfiles || fr->iCCprofileSize <= 0 || !fr->iCCprofileData || !*fr->iCCprofileData)
    return HostIccProfile{nullptr, 0};
  return HostIccProfile{reinterpret_cast<const uint8_t*>(*fr->iCCprofileData), uint32_t(fr->iCCprofileSize)};
}
