// Checking dialog scripts before they run, and the reading of their words
// that the steps share: a script is refused whole, with the line's number,
// when a line is not a step or its numbers are not numbers (or out of
// range), when it holds a NUL byte or is longer than kUiScriptMaxLine, when
// the file is larger than kUiScriptMaxBytes or a dropped file is missing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr int64_t kUiScriptMaxBytes = 1 << 20;
constexpr int32_t kUiScriptMaxLine = 4096;

// Reads a script file as a stream, stopping at the size limit: false with
// a message naming the file.
bool UiReadScriptFile(const char* path, std::string* text, std::string* error);
// Checks every step: false with "NAME:LINE: what is wrong". Lines may end in CR LF.
bool UiCheckScript(const std::string& text, const char* name, std::string* error);

// A step's words, its comment left out.
std::vector<std::string> UiScriptWords(const std::string& line);
// The modifier bits named by words[from...].
uint32_t UiScriptModifierBits(const std::vector<std::string>& words, size_t from);
// The key a name stands for: a named key or one lower-case letter; 0 for none.
int32_t UiScriptKeyNamed(const std::string& name);
