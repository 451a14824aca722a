// The random-number generator of the plug-in.
#pragma once

void ReseedOSRandomNumbers();
