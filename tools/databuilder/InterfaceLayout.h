#pragma once
// The interface layout (data/layout/*.toml): every interface object's
// screen, screen state, centre, size and depth, in the units of the
// interface camera. Script vectors take their points from it, the models
// their places, and the content check its overlap and view tests.
// Layout x grows to the right of the screen.
//
//   [objects."creation.logo"]
//   screen = "interface"; state = "select"; at = [15.0, 14.0]; size = [6, 3]; z = -45

#include <array>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace databuilder {

// The engine's views are left-handed: the interface cameras look down -z
// with world +x on the left of the screen, while the layout's x grows to
// the right. Every place made from layout numbers takes its x from here;
// shapes are never mirrored, or their winding and pictures would be.
constexpr double WorldX(double layoutX) { return -layoutX; }

struct LayoutObject {
  std::string mScreen;
  // The screen states that show the object (state = "name" or a list);
  // none: every state of its screen.
  std::vector<std::string> mStates;
  double mX = 0, mY = 0, mWidth = 0, mHeight = 0, mZ = 0;

  // Where the object's centre lies in the world.
  std::array<double, 3> Centre() const { return {WorldX(mX), mY, mZ}; }
};

class InterfaceLayout {
 public:
  // Reads every .toml file of the folder, in name order. Throws BuildError.
  static InterfaceLayout Read(const std::filesystem::path& folder);

  // Throws BuildError naming the object when the layout lacks it.
  const LayoutObject& Get(const std::string& name) const;
  const std::map<std::string, LayoutObject>& GetObjects() const { return mObjects; }

 private:
  std::map<std::string, LayoutObject> mObjects;
};

}  // namespace databuilder
