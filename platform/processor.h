// What the processor the plug-in runs on can do, for the code paths
// compiled for a wider instruction set than the build's own and chosen at
// run time.
#pragma once

// True on an x86-64 processor with the 256-bit integer and float
// instructions (AVX2); false elsewhere, and on other architectures.
bool ProcessorHasAvx2();
