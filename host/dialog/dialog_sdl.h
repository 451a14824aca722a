// The real-window front end of the plug-in's dialog: one SDL window per
// window of the plug-in's UI layer, its canvas as the texture, SDL's mouse,
// keyboard and text events turned into the layer's input.
#pragma once

namespace gyhost {

// A const UiFrontEnd* for the plug-in, or null when there is no display or
// gyrelle was built without SDL2. Stays valid until the process ends.
const void* StartSdlFrontEnd();
// Windows opened on the display so far.
int SdlWindowsOpened();

}  // namespace gyhost
