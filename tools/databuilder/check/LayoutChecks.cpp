// The interface layout: every object inside the view its screen's camera
// shows at its depth, and no two objects shown together at one depth
// overlapping.

#include "tools/databuilder/check/ContentCheck.h"

#include <algorithm>
#include <cmath>

namespace content_check {

namespace {

using databuilder::LayoutObject;

// The interface and file-screen cameras show x +-20.4, y +-15.3 at z -45.
constexpr double kViewHalfWidth = 20.4;
constexpr double kViewHalfHeight = 15.3;
constexpr double kViewDepth = 45.0;
// Sizes are given to a tenth of a unit: edges that meet do not overlap.
constexpr double kTolerance = 1e-6;

bool InsideView(const LayoutObject& object) {
  const double scale = -object.mZ / kViewDepth;
  return std::abs(object.mX) + object.mWidth / 2 <= kViewHalfWidth * scale + kTolerance &&
         std::abs(object.mY) + object.mHeight / 2 <= kViewHalfHeight * scale + kTolerance;
}

// Objects without states show in every state of their screen.
bool ShownTogether(const LayoutObject& a, const LayoutObject& b) {
  if (a.mScreen != b.mScreen) return false;
  if (a.mStates.empty() || b.mStates.empty()) return true;
  return std::any_of(a.mStates.begin(), a.mStates.end(), [&b](const std::string& state) {
    return std::find(b.mStates.begin(), b.mStates.end(), state) != b.mStates.end();
  });
}

bool Overlap(const LayoutObject& a, const LayoutObject& b) {
  return std::abs(a.mZ - b.mZ) < kTolerance &&
         std::abs(a.mX - b.mX) < (a.mWidth + b.mWidth) / 2 - kTolerance &&
         std::abs(a.mY - b.mY) < (a.mHeight + b.mHeight) / 2 - kTolerance;
}

}  // namespace

Findings CheckLayout(const databuilder::InterfaceLayout& layout) {
  Findings findings;
  const auto& objects = layout.GetObjects();
  for (auto a = objects.begin(); a != objects.end(); ++a) {
    if (!InsideView(a->second)) findings.push_back(a->first + " lies outside the view");
    for (auto b = std::next(a); b != objects.end(); ++b) {
      if (ShownTogether(a->second, b->second) && Overlap(a->second, b->second)) {
        findings.push_back(a->first + " overlaps " + b->first);
      }
    }
  }
  return findings;
}

}  // namespace content_check
