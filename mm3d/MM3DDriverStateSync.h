#pragma once
// Brings one device state of a driver to a value through the driver's
// cache: the value is stored and sent only when it differs from what the
// driver last received.

#include "foundation/uu/UURect.h"
#include "mm3d/MM3DMatrix.h"
#include "mm3d/MM3DProjectionVolume.h"
#include "mm3d/drivers/MM3DDriverTypes.h"

#include <cstdint>

class MM3DDriver;

void MM3DSyncCullMode(MM3DDriver& driver, int32_t mode);
void MM3DSyncDepthMode(MM3DDriver& driver, int32_t mode);
void MM3DSyncViewport(MM3DDriver& driver, const UURect& viewport);
void MM3DSyncDepthRange(MM3DDriver& driver, const MM3DDepthRange& range);
void MM3DSyncProjection(MM3DDriver& driver, const MM3DProjectionVolume& volume);
void MM3DSyncViewMatrix(MM3DDriver& driver, const MM3DMatrix& matrix);
