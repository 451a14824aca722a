// Text for the result codes a plug-in can answer.
#pragma once

#include <cstdint>
#include <string>

namespace gyhost {

// "-108 out of memory", "-128 cancelled", ..., "error N" for codes without a name.
std::string DescribeResult(int32_t code);
const char* SelectorName(int16_t selector);

}  // namespace gyhost
