#pragma once
// Hue, saturation and lightness: the hexcone conversion pair, a perceptual
// twin whose lightness follows the luminance of the pixel's pure hue, and the
// glue modes built on them.
//
// Conversions take f32 values 0..1; hue is a turn (0 red, 1/3 green, 2/3
// blue; pure red comes back as 1.0, which the inverse reads as 0).
// Glue operations take the result's channels by reference (replaced by the
// new result) and the unfiltered channels by value, plus the full scale
// (255 or 32768) and its unit 1/full. Channels enter the conversions as
// channel x unit and leave as trunc(full x component), limited to 0..full.

#include <cstdint>

void RGB_to_HSL(float red, float green, float blue, float& h, float& s, float& l);
void HSL_to_RGB(float h, float s, float l, float& red, float& green, float& blue);
void Kyoto_RGB_to_HSL(float red, float green, float blue, float& h, float& s, float& l);
void Kyoto_HSL_to_RGB(float h, float s, float l, float& red, float& green, float& blue);

void HueGlueIfy(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B, int32_t full, float unit);
void SatGlueIfy(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B, int32_t full, float unit);
void ColorGlueIfy(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B, int32_t full, float unit);
void LumGlueIfy(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B, int32_t full, float unit);
void GlueMaxSat(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B, int32_t full, float unit);
void GlueMinSat(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B, int32_t full, float unit);
void GlueFrontal(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B, int32_t full, float unit);
void LumRatioGlueIfy(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B, int32_t full, float unit);
// leadByResult 1: the result's lightness leads and its hue and saturation
// stay; 0: the unfiltered pixel's do.
void PseudocolorGlueIfy(int32_t& r, int32_t& g, int32_t& bl, int32_t R, int32_t G, int32_t B, int32_t full, float unit,
                        int32_t leadByResult);
