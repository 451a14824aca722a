// Every worker fetching from every table at once, from the first use of the
// tables on: each table is unpacked exactly once while the others wait, and
// then only read. Built for ThreadSanitizer as well; run this suite alone
// (--gtest_filter=LookupConcurrency.*) to have it meet the tables before any
// other suite has unpacked them.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "projection/inverse/conformal_warp.h"
#include "projection/lookup/lookup_cache.h"
#include "projection/lookup/lookup_fetch.h"

namespace {

// A fixed tour of every fetch and warp, summed so that any difference in
// what a thread read shows.
double Tour(int phase) {
  double sum = 0.0;
  for (int k = 0; k < 200; ++k) {
    // Each thread starts the tour at another table.
    const int which = (k + phase) % 14;
    const fcomplex z = {((k * 37) % 101) / 100.0, ((k * 53) % 97) / 96.0 * 0.5};
    fcomplex w = {0.0, 0.0};
    switch (which) {
      case 0: w = FetchFromCache_Peirce(z); break;
      case 1: w = FetchFromCache_decant(z); break;
      case 2: w = FetchFromCache_sextant(z); break;
      case 3: w = FetchFromCache_dodecant(z); break;
      case 4: w = FetchFromCache_tetfacesextant(z); break;
      case 5: w = FetchFromCache_ReuleauxSextantToOctoface(z); break;
      case 6: w = FetchFromCache_ReuleauxSextantToCircle(z); break;
      case 7: w = FetchFromCache_nuoctant(z); break;
      case 8: w = FetchFromCache_Winkel(z); break;
      case 9: w = FetchFromCache_octaface(z); break;
      case 10: w = FetchFromCache_ConformalDodecDecant(z); break;
      case 11: {
        const triplex t = FetchFromCache_Equalsquarea(z);
        w = {t.x + t.z, t.y};
        break;
      }
      case 12: {
        float p[3];
        w = FetchFromCache_spherecube(z, p);
        break;
      }
      case 13: {
        float b[3] = {float(z.im), float(1.0 - z.re - z.im), float(z.re)};
        WarpBarysForConformalIcosahedron(&b[0], &b[1], &b[2]);
        w = {b[0], b[2]};
        break;
      }
    }
    sum += w.re * (k + 1) + w.im * (k + 2);
  }
  return sum;
}

TEST(LookupConcurrency, AllThreadsFetchFromAllTablesAtOnce) {
  const int threads = std::max(4u, std::thread::hardware_concurrency());
  std::vector<double> sums(threads * 14, 0.0);
  std::atomic<int> ready{0};
  std::vector<std::thread> pool;
  for (int t = 0; t < threads; ++t) {
    pool.emplace_back([&, t] {
      // Start together, so that the first fetches of a table overlap.
      ready.fetch_add(1);
      while (ready.load() < threads) std::this_thread::yield();
      for (int phase = 0; phase < 14; ++phase) sums[t * 14 + (phase + t) % 14] = Tour((phase + t) % 14);
    });
  }
  for (std::thread& t : pool) t.join();

  for (int id = 1; id < kLookupCacheIdLimit; ++id) {
    EXPECT_EQ(LookupTableIsResident(id), LookupTableInfoOf(id) != nullptr) << id;
  }
  for (int phase = 0; phase < 14; ++phase) {
    const double reference = Tour(phase);
    for (int t = 0; t < threads; ++t) EXPECT_EQ(sums[t * 14 + phase], reference) << "thread " << t;
  }
}

}  // namespace
