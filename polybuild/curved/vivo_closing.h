// The pass that ends every curved-element build: which element tags form
// one piece (tags that share an edge, two or more vertices) and which net
// fragments each tag may join (the elements whose corners it touches).
#pragma once

struct polyhedron;

void VivoClosingPass(polyhedron* poly);
