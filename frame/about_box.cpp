#include "frame/about_box.h"

#include "dialog/dialog_services.h"
#include "dialog/zor_reply.h"

ZorZReply about_reply;

int32_t DoAbout_zor(void* parentWindow) {
  // Without a window system there is no sheet to attach; both paths show the
  // about window the same way.
  (void)parentWindow;
  return ShowVarezAlertoid("about", &about_reply);
}

void ShowRefusalMessageNoAdvance() {
  ShowOSAlertoid("Can\xD5t read the image from this host",
                 "This plug-in needs a host that delivers image data on request (advanceState).");
}

void ShowRefusalMessage3() {
  ShowOSAlertoid("Can\xD5t handle multichannel images", "This plug-in only understands grayscale and RGB images.");
}
