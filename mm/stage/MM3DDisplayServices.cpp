#include "mm/stage/MM3DDisplayServices.h"

namespace {
MM3DDisplayFactory* gFactory = nullptr;
}  // namespace

void MMSet3DDisplayFactory(MM3DDisplayFactory* factory) { gFactory = factory; }

MM3DDisplayFactory* MMGet3DDisplayFactory() { return gFactory; }
