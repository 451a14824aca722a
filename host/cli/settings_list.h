// gyrelle --list [FILTER]: every output, input and glue mode, graticule and
// preview quality with its code, number and name, then every key. With a
// filter (a code, a number, a name or part of one, a key), only the lines it
// matches; for a mode matched on its own, also what it is: synonym, whether
// it draws a polyhedron and so which exports apply, and the keys that change
// its picture.
#pragma once

#include <cstdint>
#include <string>

namespace gyhost {

std::string SettingsListText();

// False when nothing matches; `text` then says so and names what is near.
bool FilteredListText(const std::string& filter, std::string* text);

// Why the filter refuses to draw an output mode that has a code; null for a
// mode it draws.
const char* OutputModeNotDrawable(int32_t mode);

}  // namespace gyhost
