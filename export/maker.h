// The maker's web address that every exported file names as its source: the
// IPTC source dataset has room for exactly 27 characters, and the layered
// document's URL resource and the model files carry the same text.
#pragma once

inline constexpr char kMakerWebAddress[] = "https://gyrelle.example/v2/";
static_assert(sizeof kMakerWebAddress == 28, "the IPTC source dataset holds 27 characters");

inline constexpr char kProductName[] = "Gyrelle 2";
