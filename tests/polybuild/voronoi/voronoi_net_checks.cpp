// Builds the polyhedron tests' net checks into this suite as well.
#include "tests/polyhedron/net_checks.cpp"  // NOLINT(bugprone-suspicious-include)
