// The window system as far as the plug-in needs it without a GUI: alerts and
// named windows become messages on the platform's message sink (stderr).
#pragma once

void PlatformShowAlert(const char* message, const char* explanation);
void PlatformShowWindow(const char* windowName);
