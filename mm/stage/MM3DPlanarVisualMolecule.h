#pragma once

#include "mm/stage/MM2DMolecule.h"

// A molecule shown by one flat visual of a 3D planar enclosure: it owns the
// visual and keeps it in the scene's enclosure exactly as long as it lives,
// with the depth, position and visibility operations of the 2D visual
// molecule.
class MM3DPlanarVisualMolecule : public MM2DVisualMolecule {
 public:
  using MM2DVisualMolecule::MM2DVisualMolecule;
};
