#include <cstdlib>
#include <ctime>

#include "frame/random.h"

void ReseedOSRandomNumbers() { std::srand(unsigned(std::time(nullptr))); }
