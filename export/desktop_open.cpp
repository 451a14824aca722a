#include "export/desktop_open.h"

#include <cstdio>

#include "export/export_services.h"
#include "platform/files.h"
#include "platform/mac_roman.h"
#include "platform/opener.h"
#include "platform/ui.h"
#include "platform/ui/event_loop.h"

int32_t OpenOrSayWhere(const char* utf8Path, const char* title) {
  const int32_t e = PlatformOpenWithDesktop(utf8Path);
  if (e == 0) return 0;
  // Alerts speak Mac OS Roman; a character it lacks shows as its stand-in.
  char roman[kFSRefPathBytes];
  Utf8ToMacRoman(utf8Path ? utf8Path : "", roman, sizeof roman);
  char message[kFSRefPathBytes + 64];
  std::snprintf(message, sizeof message, "It is written at %s", roman);
  const UiFrontEnd* person = UiGetFrontEnd();
  if (person && person->interactive)
    ShowOSAlertoid(title, message);
  else
    PlatformShowAlert(title, message);
  return e;
}
