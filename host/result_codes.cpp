#include "host/result_codes.h"

namespace gyhost {

namespace {

struct ResultName {
  int32_t code;
  const char* text;
};

constexpr ResultName kResultNames[] = {
    {-108, "out of memory"}, {-128, "cancelled"}, {-30100, "bad selector"},    {-1715, "a descriptor key is missing"},
    {-50, "bad parameter"},  {1, "refused"},      {3, "work buffers missing"}, {999, "input pyramid not allocated"},
    {-34, "the disk is full"}, {-54, "permission denied"}, {-61, "the folder or the disk is read-only"},
    {-43, "the folder does not exist"}, {-120, "the folder does not exist"}, {-36, "the disk reported an error"},
};

}  // namespace

std::string DescribeResult(int32_t code) {
  for (const ResultName& r : kResultNames) {
    if (r.code == code) return std::to_string(code) + " " + r.text;
  }
  return "error " + std::to_string(code);
}

const char* SelectorName(int16_t selector) {
  switch (selector) {
    case 0:
      return "about";
    case 1:
      return "parameters";
    case 2:
      return "prepare";
    case 3:
      return "start";
    case 4:
      return "continue";
    case 5:
      return "finish";
    default:
      return "unknown";
  }
}

}  // namespace gyhost
