#pragma once
// Screens of the built files drawn the way the program draws them (see
// SceneDrawing), kept as PNG files to be looked at.

#include "tools/databuilder/render/SceneDrawing.h"

#include <filesystem>

namespace content_check {

using databuilder::DrawScreen;
using databuilder::kClearColor;
using databuilder::PlacedModel;
using databuilder::ScreenPicture;
using databuilder::ScreenView;

// Writes the picture as a PNG file; false when it cannot.
bool WritePng(const ScreenPicture& picture, const std::filesystem::path& file);

}  // namespace content_check
