#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "pyramid/pyramid_filter_table.h"

namespace {

std::vector<float> Table(int32_t kernel) {
  std::vector<float> t(kFilterTableSize, 0.0f);
  initGaussianPyrTable_switchable(t.data(), kernel);
  return t;
}

}  // namespace

TEST(FilterTable, PrintedTapsAtThePixelCentre) {
  struct Case {
    int32_t kernel;
    float taps[5];
  };
  // Phase 64 is a sample on a pixel centre. The sinc is lopsided: its 20
  // sub-positions reach 19/21 of a pixel behind the phase.
  const Case cases[] = {
      {FilterKernel_WindowedSinc, {-0.0135f, 0.1164f, 0.8485f, 0.0562f, -0.0077f}},
      {FilterKernel_Gaussian, {0.0f, 0.0555f, 0.8889f, 0.0555f, 0.0f}},
  };
  for (const Case& c : cases) {
    const std::vector<float> t = Table(c.kernel);
    for (int k = 0; k < 5; ++k)
      EXPECT_NEAR(FilterTableFloat(t.data(), kFilterFloatArrays + k, 64), c.taps[k], 1e-4) << c.kernel << " " << k;
  }
  const std::vector<float> sinc = Table(FilterKernel_WindowedSinc);
  const int32_t printed[4] = {-27, 238, 1737, 115};
  for (int k = 0; k < 4; ++k) EXPECT_EQ(FilterTableInt(sinc.data(), kFilter2048Arrays + k, 64), printed[k]) << k;
  EXPECT_EQ(FilterTableInt(sinc.data(), kFilter2048Arrays + 4, 64), 2048 - (-27 + 238 + 1737 + 115));
  EXPECT_EQ(FilterTableFloat(sinc.data(), kFilterFloatArrays, 0), 0.0f);  // all of tap 0's arguments at or below -2
}

TEST(FilterTable, EveryPhaseSumsExactlyToItsScale) {
  for (const int32_t kernel : {FilterKernel_WindowedSinc, FilterKernel_Gaussian}) {
    const std::vector<float> t = Table(kernel);
    for (int32_t p = 0; p < kFilterPhases; ++p) {
      int32_t s2048 = 0, s32768 = 0;
      float sf = 0.0f, sCopy = 0.0f;
      for (int k = 0; k < 5; ++k) {
        s2048 += FilterTableInt(t.data(), kFilter2048Arrays + k, p);
        s32768 += FilterTableInt(t.data(), kFilter32768Arrays + k, p);
        sf += FilterTableFloat(t.data(), kFilterFloatArrays + k, p);
        sCopy += FilterTableFloat(t.data(), kFilterFloatCopyArrays + k, p);
        // The integer forms are truncations of the float taps.
        if (k < 4) {
          const float tap = FilterTableFloat(t.data(), kFilterFloatArrays + k, p);
          EXPECT_EQ(FilterTableInt(t.data(), kFilter2048Arrays + k, p), int32_t(tap * 2048.0f));
          EXPECT_EQ(FilterTableFloat(t.data(), kFilterFloatCopyArrays + k, p), tap);
        }
      }
      EXPECT_EQ(s2048, 2048) << kernel << " phase " << p;
      EXPECT_EQ(s32768, 32768) << kernel << " phase " << p;
      EXPECT_NEAR(sf, 1.0f, 2e-7f) << kernel << " phase " << p;
      EXPECT_NEAR(sCopy, 1.0f, 2e-7f) << kernel << " phase " << p;
    }
  }
}

TEST(FilterTable, GaussianIsZeroBeyondTwoPixels) {
  const std::vector<float> t = Table(FilterKernel_Gaussian);
  for (int32_t p = 0; p < kFilterPhases; ++p) {
    for (int k = 0; k < 5; ++k) {
      const double d = (double(p) * 0.0078125 - 2.0) - 0.5 + k;
      // Tap 4 is what the others leave of 1, so it keeps their rounding.
      const float tap = FilterTableFloat(t.data(), kFilterFloatArrays + k, p);
      if (d < -2.0 || d > 2.0)
        EXPECT_NEAR(tap, 0.0f, k == 4 ? 2e-7f : 0.0f) << p << " " << k;
      else if (d > -2.0 && d < 2.0)
        EXPECT_GT(FilterTableFloat(t.data(), kFilterFloatArrays + k, p), 0.0f) << p << " " << k;
    }
  }
}

TEST(FilterTable, KernelSelection) {
  const std::vector<float> sinc = Table(FilterKernel_WindowedSinc);
  const std::vector<float> gauss = Table(FilterKernel_Gaussian);
  std::vector<float> t(kFilterTableSize);

  initGaussianPyrTable(t.data());
  EXPECT_EQ(0, std::memcmp(t.data(), sinc.data(), sizeof(float) * kFilterTableSize));
  EXPECT_EQ(0, std::memcmp(DefaultFilterTable(), sinc.data(), sizeof(float) * kFilterTableSize));

  // An unknown kernel leaves whatever was there.
  initGaussianPyrTable_gauss(t.data());
  initGaussianPyrTable_switchable(t.data(), 2);
  EXPECT_EQ(0, std::memcmp(t.data(), gauss.data(), sizeof(float) * kFilterTableSize));
  initGaussianPyrTable_switchable(t.data(), -1);
  EXPECT_EQ(0, std::memcmp(t.data(), gauss.data(), sizeof(float) * kFilterTableSize));
}
