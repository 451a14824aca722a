// The folding sphere: a strip of n gores, each tab carrying a glue strip at
// its near edge, with a glue band above and below, so the printed sheet can
// be cut out and glued into a ball.
#pragma once

#include <cstdint>

// Region codes the folding sphere paints itself.
constexpr int32_t kFoldRegionNothing = -5;  // off the sheet
constexpr int32_t kFoldRegionMargin = -3;   // the margin before the first tab
constexpr int32_t kFoldRegionTab = -7;      // the picture on a tab
constexpr int32_t kFoldRegionGlue = -9;     // a glue strip
constexpr int32_t kFoldGlueNone = -1;
constexpr int32_t kFoldGlueStrip = 1;

// The width of one tab, p / ((2p + 1)·n), p the glue proportion.
float spheretabwidth(float n, float p);
// The strip's height with both glue bands, 0.5/(2p + 1) + 0.037; the first
// argument is not used.
float GetZorFoldingSphereCompleteHeight(float ignored, float p);

// The plane point (x, y) of a strip of n tabs with glue proportion p. Writes
// the point and clears the flag on a tab; always writes *regionCode (one of
// the codes above) and *glueMark (kFoldGlueStrip on a glue strip, else
// kFoldGlueNone). The caller passes its reply's region and glue fields.
void GetZorFoldingSphere(float x, float y, float n, float p, float point[3], uint8_t* outside, int32_t* regionCode,
                         int32_t* glueMark);
