// A host handle suite over the system's handles, for test hosts.
#pragma once

#include "platform/plugin_api.h"

HandleProcs SystemHandleProcs();
