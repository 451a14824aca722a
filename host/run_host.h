// host/: the gyrelle host: loads the plug-in and drives its selectors as an image editor does.
// The whole command: options, input, plug-in, invocations, output. Returns
// the process exit status.
#pragma once

namespace gyhost {

constexpr int kExitOK = 0;
constexpr int kExitFilterFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitBadInput = 3;
constexpr int kExitCannotWrite = 4;
constexpr int kExitNoPlugin = 5;
constexpr int kExitInterrupted = 130;  // Ctrl-C, as a shell reports it

int RunHost(int argc, const char* const* argv);

}  // namespace gyhost
