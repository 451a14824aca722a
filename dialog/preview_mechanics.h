// The preview area: its set-up when the dialog opens, the pan offsets kept
// inside the image and the centre kept across zoom changes, host buffers of
// any depth shown through displayPixels, the unfiltered repaint over a
// checkerboard, clicks turned into image coordinates, and small window
// utilities (cursor, painting, flushing, opening a URL).
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"
#include "platform/ui/ui_types.h"

struct Globals;

void PreviewMechanicsSetup(void* window, Globals* globals);
void ClampProxyOffsets(Globals* globals, int32_t scale);
void PreserveProxyCentering(Globals* globals, int32_t oldScale, int32_t newScale);
void DuplicateSource(Globals* globals);
void DuplicateSource1Line(Globals* globals);
void HandleClickInVarezProxy(void* window, int16_t item, Globals* globals, const UiPoint* where, uint8_t flag);
void FindProxyDisplayCorner(void* window, int16_t item, int32_t* dx, int32_t* dy, Globals* globals);
void NoReallyHandleProxyClick(int32_t dx, int32_t dy, const UiPoint* where, uint8_t flag, Globals* globals);
// The image position of the last press in the preview: recorded only (the
// settings record keeps no place for it).
struct ProxyPress {
  int32_t imageX, imageY;
  float fracX, fracY;
};
const ProxyPress* LastProxyPress();
void ZorSetArrowCursor();
int32_t LaunchURLCString(const char* url);
int32_t LaunchFileInBrowser(const char* path);
void SendUserToTWHomePage();

// The maker's home page, and the host named in the alert when no browser opens it.
constexpr const char* kHomePageURL = "https://gyrelle.example.org/gyrelle2/";
constexpr const char* kHomePageHost = "gyrelle.example.org";
