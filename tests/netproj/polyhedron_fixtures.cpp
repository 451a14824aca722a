// The polyhedron suite's solid and net fixtures, compiled into this suite
// as they stand rather than copied.
#include "../polyhedron/poly_fixture.cpp"
#include "../polyhedron/net_fixture.cpp"
