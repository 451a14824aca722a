// What --save KIND=PATH[,OPTION=VALUE...] and --load FILE ask for: the kinds
// and the options each takes, checked as the user typed them (an unknown
// kind or option is refused with the valid ones and the nearest), and the
// files each request will write.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "host/output_file.h"

namespace gyhost {

struct SaveRequest {
  bool load = false;
  std::string kind, path;  // the path absolute
  std::vector<std::pair<std::string, std::string>> options;
};

// False with a message in `error` for a value that cannot be used.
bool ParseSaveRequest(const std::string& value, SaveRequest* r, std::string* error);
bool ParseLoadRequest(const std::string& value, SaveRequest* r, std::string* error);
// The option's value, or empty.
std::string SaveOption(const SaveRequest& r, const char* name);
// One line (or two) of --help for each kind.
std::string SaveKindsUsageText();
// Every file the request will write (a cube map's six faces, a model's
// siblings, a brick plan), absolute.
std::vector<PlannedWrite> SaveRequestTargets(const SaveRequest& r);

}  // namespace gyhost
