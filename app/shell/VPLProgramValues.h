#pragma once
// The values the whole program shares, set at entry and read elsewhere.

#include <cstdint>

class UURandom;
class VPLDisplayModeStrategy;

// Set at entry when the command line asks for OpenGL before Direct3D.
extern uint8_t VPLOpenGLFirst;
// Set at entry when the movie module started: movies can be exported.
extern uint8_t VPLQuickTimeStarted;

// The program's one random generator, reseeded when the stage is made.
UURandom& VPLProgramRandom();
// The display strategy of the creation screen.
VPLDisplayModeStrategy& VPLCreationDisplayStrategy();
