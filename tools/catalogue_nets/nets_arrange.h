// Making a stored net find its way back to its solid. A static net is loaded
// without knowing which solid face each row shows; the correspondence search
// finds that from one seed pair and the net's links. The rows are arranged
// here (which face comes first and the corner each row starts from) so that
// the search finds exactly the pairing the net was made with.
#pragma once

#include <string>

#include "nets_common.h"

namespace nets {

// Loads the net and the solid as the catalogue does for a static shape and
// runs the set-up's link and correspondence steps; face3D and offset receive
// what the search found per row.
void Reload(const CatalogueSolid& solid, const Net& net, int32_t shapeCode, std::vector<int32_t>* face3D,
            std::vector<int32_t>* offset);

// Tries each row as the first one, in each of its turns, until the search
// finds the net's own pairing; false when no arrangement does.
bool ArrangeForCorrespondence(const CatalogueSolid& solid, int32_t shapeCode, Net* net);

// Takes the pairing the search finds for the rows as they stand when every
// row shows a face of its own kind and each solid face is shown once; false
// otherwise. On a symmetric solid the search may seed on another face than
// the one a row was cut from and pair the whole net through a symmetry of
// the solid; NetMatchesSolid then tells whether the net still folds.
bool AdoptFoundCorrespondence(const CatalogueSolid& solid, int32_t shapeCode, Net* net);

// Every row congruent to the solid face it shows (edge lengths and corner
// angles), running counter-clockwise, and every point on one solid vertex.
bool NetMatchesSolid(const CatalogueSolid& solid, const Net& net, std::string* why);

}  // namespace nets
