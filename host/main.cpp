// gyrelle: the command-line host of the Gyrelle 2 filter plug-in.
#include <cstdio>
#include <exception>
#include <new>

#include "host/run_host.h"

int main(int argc, char** argv) {
  try {
    return gyhost::RunHost(argc, argv);
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "gyrelle: out of memory\n");
  } catch (const std::exception& e) {
    std::fprintf(stderr, "gyrelle: %s\n", e.what());
  } catch (...) {
    std::fprintf(stderr, "gyrelle: unexpected failure\n");
  }
  return gyhost::kExitFilterFailed;
}
