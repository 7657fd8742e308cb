// The credits' title star as the credits place it (75 units behind the
// question dialog's middle, 25 above it, stretched three times across) and
// as their camera shows it: inside the view, and clear of the question
// panel the interface draws in front of every credit.

#include "foundation/uu/UUDirectory.h"
#include "mm3d/MM3DCamera.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"
#include "mm3d/MM3DModelCollection.h"
#include "mm3d/MM3DModelLoader.h"
#include "mm3d/MM3DModelResourceFile.h"
#include "platform/win32/PathMapping.h"
#include "tools/databuilder/check/ContentCheck.h"
#include "tools/databuilder/check/PombleChecks.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace content_check {

namespace {

using databuilder::ItemKind;

// The question dialog's model is made at its place: it stands at the
// world's origin, and the star this far from it.
constexpr double kStarRaise = 25.0;
constexpr double kStarDistance = 75.0;
constexpr double kStarScale = 3.0;
// The views' vertical fields of view and their aspect; the interface's
// eye is the origin, looking along -z.
constexpr double kCreditsHalfView = 22.5 * 3.14159265358979 / 180.0;
constexpr double kInterfaceHalfView = 0.6550919 / 2;
constexpr double kAspect = 1.333;

// A box on the screen, from -1 to 1 each way, x to the right.
struct ScreenBox {
  double mLeft, mBottom, mRight, mTop;
};

bool Overlap(const ScreenBox& a, const ScreenBox& b) {
  return a.mLeft < b.mRight && b.mLeft < a.mRight && a.mBottom < b.mTop && b.mBottom < a.mTop;
}

// A box of half sizes about a point, depth away from an eye looking along
// -z (world +x shows on the left).
ScreenBox Project(double x, double y, double halfWidth, double halfHeight, double depth,
                  double halfView) {
  const double up = depth * std::tan(halfView);
  const double across = up * kAspect;
  return {(-x - halfWidth) / across, (y - halfHeight) / up, (-x + halfWidth) / across,
          (y + halfHeight) / up};
}

double StarHalfSize(MM3DModel& star) {
  double half = 0.0;
  Walk(star.GetDisplayTree(), [&](MM3DDisplayTreeNode& node) {
    if (node.GetKind() != kMM3DNodeIndexedMesh) return;
    const auto& mesh = static_cast<MM3DDisplayTreeNodeIndexedMesh&>(node);
    for (int32_t p = 0; p < mesh.GetPartCount(); ++p) {
      for (const auto& block : mesh.GetPart(p).mBlocks) {
        for (const MM3DVector& v : block->mPositions) {
          half = std::max(
              {half, std::abs(static_cast<double>(v.mX)), std::abs(static_cast<double>(v.mY))});
        }
      }
    }
  });
  return half * kStarScale;
}

void CheckStarInView(MM3DModel& camera, MM3DModel& star, const databuilder::LayoutObject& panel,
                     Findings& findings) {
  const MM3DCamera& eye = *camera.GetCameras().Front();
  const MM3DVector* interest = eye.GetInterest();
  const MM3DVector at = eye.GetPosition();
  if (interest == nullptr || interest->mX != at.mX || interest->mY != at.mY ||
      interest->mZ >= at.mZ) {
    findings.push_back("camera.credits must look straight along -z");
    return;
  }
  const double half = StarHalfSize(star);
  const ScreenBox seen =
      Project(-at.mX, kStarRaise - at.mY, half, half, at.mZ + kStarDistance, kCreditsHalfView);
  const ScreenBox hiding = Project(-panel.mX, panel.mY, panel.mWidth / 2, panel.mHeight / 2,
                                   -panel.mZ, kInterfaceHalfView);
  if (seen.mLeft < -1 || seen.mRight > 1 || seen.mBottom < -1 || seen.mTop > 1) {
    findings.push_back("credit.star lies outside the view of camera.credits");
  }
  if (Overlap(seen, hiding)) findings.push_back("credit.star hides behind quit.panel");
}

}  // namespace

Findings CheckCreditsStar(const std::filesystem::path& folder,
                          const databuilder::Manifest& manifest,
                          const databuilder::InterfaceLayout& layout) {
  const auto panel = layout.GetObjects().find("quit.panel");
  if (panel == layout.GetObjects().end()) return {"the layout has no quit.panel"};
  const UUDirectory directory(
      vpl::platform::ToWindowsPath(std::filesystem::absolute(folder)).c_str());
  std::unique_ptr<MM3DModelLoader> models(MM3DOpenModelResourceFile(directory, "vpl3d.MMM", false));
  if (models == nullptr) return {"vpl3d.MMM does not open"};
  Findings findings;
  {
    const auto model = [&](const char* name) {
      return models->GetModel(static_cast<int16_t>(manifest.Resolve(ItemKind::kModel, name)),
                              nullptr);
    };
    const UURefCount<MM3DModel> camera = model("camera.credits");
    const UURefCount<MM3DModel> star = model("credit.star");
    if (camera.IsEmpty() || star.IsEmpty() || !camera->HasCameras()) {
      findings.push_back("camera.credits and credit.star must read, the camera with its camera");
    } else {
      CheckStarInView(*camera, *star, panel->second, findings);
    }
  }
  models.reset();
  MM3DDestroyModelCollections();
  return findings;
}

}  // namespace content_check
