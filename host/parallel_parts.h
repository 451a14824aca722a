// Work cut into a few large parts, one thread each: for the host's passes
// over whole pictures (copies, resampling, handing pages back).
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <system_error>
#include <thread>
#include <vector>

namespace gyhost {

// The threads a pass may use when asked for `asked` (0 or less: one a core).
inline size_t ThreadsFor(int32_t asked) {
  return asked > 0 ? size_t(asked) : size_t(std::max(1u, std::thread::hardware_concurrency()));
}

// Runs part(0) .. part(n - 1), part 0 on this thread and the others on
// threads of their own; the parts no thread could be had for run here.
// Returns once every part is done.
template <class Part>
void RunParts(size_t n, const Part& part) {
  std::vector<std::thread> pool;
  size_t i = 1;
  try {
    for (; i < n; ++i) pool.emplace_back(part, i);
  } catch (const std::system_error&) {
    // Parts i.. are done below.
  }
  for (size_t k = i; k < n; ++k) part(k);
  if (n > 0) part(0);
  for (std::thread& t : pool) t.join();
}

// Cuts [0, total) into n spans as even as whole units allow and runs
// span(begin, end) for each non-empty one through RunParts.
template <class Span>
void RunSpans(size_t total, size_t n, const Span& span) {
  if (n == 0) return;
  const size_t part = (total + n - 1) / n;
  RunParts(n, [&](size_t i) {
    const size_t begin = std::min(total, i * part), end = std::min(total, begin + part);
    if (end > begin) span(begin, end);
  });
}

}  // namespace gyhost
