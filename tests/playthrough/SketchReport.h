#pragma once
// The creation a sketch holds, as lines of text the play-through compares:
// one fact a line, "<what> <field> <values>", numbers rounded so that a
// record written and read again prints the same. What moves by itself (a
// spinning object's turn, a jiggling one's size, the place of one on its
// path) is named as moving instead of printed, so that two saves of the
// same creation print alike.

#include <ostream>

class MM3DDriverTextureMap;
class VPLCreation;

void VPLWriteCreationReport(const VPLCreation& creation, MM3DDriverTextureMap* textureMap,
                            std::ostream& out);
