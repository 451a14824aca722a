// The window system as far as the plug-in needs it without a GUI: alerts and
// named windows become messages on the platform's message sink (stderr).
#pragma once

void PlatformShowAlert(const char* message, const char* explanation);
// The last alert shown, kept until forgotten: a caller that ran work which
// may refuse can tell the person why in its own window.
const char* PlatformLastAlertMessage();
const char* PlatformLastAlertExplanation();
void PlatformForgetLastAlert();
void PlatformShowWindow(const char* windowName);
