#include "tools/databuilder/recipes/PombleClip.h"

#include "mm3d/MM3DNodeAnimations.h"
#include "tools/databuilder/recipes/PombleShapes.h"

#include <utility>

namespace databuilder {

namespace {

constexpr float kFramesPerSecond = 30.0f;
constexpr float kTurn = 6.2831853f;
// The joint's channels: translation x, y, z are 1-3, rotation 4-6.
constexpr int32_t kLiftChannel = 2;
constexpr int32_t kTurnXChannel = 4;
constexpr int32_t kTurnYChannel = 5;
constexpr int32_t kTurnZChannel = 6;

// Frame and value (added to the joint's standing value).
using FrameKey = std::pair<float, float>;

struct Track {
  PombleJoint joint;
  int32_t channel;
  std::vector<FrameKey> keys;
};

// A swing between two values every period frames over the range, at rest
// at both ends.
std::vector<FrameKey> Swing(float from, float to, float period, float a, float b) {
  std::vector<FrameKey> keys{{from, 0.0f}};
  bool high = true;
  for (float f = from + period; f < to; f += period, high = !high)
    keys.emplace_back(f, high ? a : b);
  keys.emplace_back(to, 0.0f);
  return keys;
}

std::vector<FrameKey> Join(std::vector<std::vector<FrameKey>> pieces) {
  std::vector<FrameKey> keys{{0.0f, 0.0f}, {1.0f, 0.0f}};
  for (const auto& piece : pieces) keys.insert(keys.end(), piece.begin(), piece.end());
  return keys;
}

std::vector<Track> Tracks() {
  const float spun = kTurn;
  return {
      {PombleJoint::kHips, kLiftChannel,
       Join({{{30, -1.6f}, {40, 0.9f}, {48, 0.0f}, {90, 0.0f}},
             Swing(100, 150, 8, 0.6f, 0.0f),
             Swing(200, 320, 7.5f, 0.3f, 0.0f),
             {{400, 0.0f}, {495, 0.0f}, {505, 0.9f}, {515, 0.0f}, {520, 0.0f}},
             {{600, 0.0f},
              {610, -0.5f},
              {625, 2.6f},
              {640, 0.0f},
              {655, -0.3f},
              {670, 1.6f},
              {685, 0.0f},
              {720, 0.0f},
              {900, 0.0f}}})},
      {PombleJoint::kHips, kTurnYChannel,
       Join({{{600, 0.0f}, {610, 0.0f}, {640, spun}, {900, spun}}})},
      {PombleJoint::kSpine, kTurnZChannel,
       Join({Swing(200, 320, 15, 0.22f, -0.22f), Swing(720, 900, 45, 0.07f, -0.07f)})},
      {PombleJoint::kHead, kTurnZChannel,
       Join({{{48, 0.0f}, {58, 0.35f}, {70, -0.35f}, {82, 0.0f}},
             Swing(200, 320, 15, -0.15f, 0.15f),
             Swing(720, 900, 60, 0.1f, -0.1f)})},
      {PombleJoint::kHead, kTurnXChannel,
       Join({{{400, 0.0f}, {410, -0.15f}, {490, -0.15f}, {500, 0.0f}}})},
      {PombleJoint::kLeftArm, kTurnZChannel,
       Join({{{30, 0.0f}, {40, 1.2f}, {50, 0.0f}},
             Swing(100, 150, 8, 0.5f, 0.0f),
             Swing(200, 320, 15, 1.8f, 0.3f),
             {{400, 0.0f},
              {410, 2.4f},
              {420, 1.9f},
              {430, 2.5f},
              {440, 1.9f},
              {450, 2.5f},
              {460, 1.9f},
              {470, 2.5f},
              {480, 1.9f},
              {490, 2.4f},
              {500, 2.7f},
              {512, 2.7f},
              {520, 0.0f}},
             {{600, 0.0f}, {625, 2.5f}, {640, 0.0f}, {670, 2.5f}, {685, 0.0f}},
             Swing(720, 900, 45, 0.12f, 0.0f)})},
      {PombleJoint::kRightArm, kTurnZChannel,
       Join({{{30, 0.0f}, {40, -1.2f}, {50, 0.0f}},
             Swing(100, 150, 8, -0.5f, 0.0f),
             Swing(200, 320, 15, -0.3f, -1.8f),
             {{400, 0.0f}, {490, 0.0f}, {500, -2.7f}, {512, -2.7f}, {520, 0.0f}},
             {{600, 0.0f}, {625, -2.5f}, {640, 0.0f}, {670, -2.5f}, {685, 0.0f}},
             Swing(720, 900, 45, 0.0f, -0.12f)})},
      {PombleJoint::kLeftFoot, kTurnXChannel,
       Join({Swing(200, 320, 15, -0.5f, 0.0f), {{610, 0.0f}, {625, -0.4f}, {640, 0.0f}}})},
      {PombleJoint::kRightFoot, kTurnXChannel,
       Join({Swing(200, 320, 15, 0.0f, -0.5f), {{610, 0.0f}, {625, -0.4f}, {640, 0.0f}}})},
  };
}

float StandingValue(PombleJoint joint, int32_t channel) {
  if (channel != kLiftChannel) return 0.0f;
  const int32_t up = PombleJointParent(joint);
  const float y = PombleJointPosition(joint).y;
  return up < 0 ? y : y - PombleJointPosition(static_cast<PombleJoint>(up)).y;
}

// Every track ends standing still on the clip's last frame. The clip is
// authored for the body facing +z: turns about x and y change sign for the
// body mirrored to face -z.
std::vector<CurveKey> Seconds(const Track& track) {
  const float base = StandingValue(track.joint, track.channel);
  const float sign =
      track.channel == kTurnXChannel || track.channel == kTurnYChannel ? -1.0f : 1.0f;
  std::vector<CurveKey> keys;
  for (const auto& [frame, value] : track.keys)
    keys.emplace_back(frame / kFramesPerSecond, base + sign * value);
  if (track.keys.back().first < kPombleClipEndFrame) {
    keys.emplace_back(kPombleClipEndFrame / kFramesPerSecond, keys.back().second);
  }
  return keys;
}

std::vector<CurveKey> BlinkKeys() {
  std::vector<CurveKey> keys{{0.0f, 0.0f}};
  for (float frame : {20.0f, 92.0f, 160.0f, 262.0f, 350.0f, 560.0f, 760.0f, 860.0f}) {
    keys.emplace_back(frame / kFramesPerSecond, 0.0f);
    keys.emplace_back((frame + 2) / kFramesPerSecond, 1.0f);
    keys.emplace_back((frame + 4) / kFramesPerSecond, 0.0f);
  }
  keys.emplace_back(kPombleClipEndFrame / kFramesPerSecond, 0.0f);
  return keys;
}

}  // namespace

void AnimatePomble(ModelBuilder& builder, const std::vector<MM3DDisplayTreeNodeJoint*>& joints,
                   MM3DDisplayTreeNodeBlendShape* eyes) {
  for (const Track& track : Tracks()) {
    MM3DDisplayTreeNodeJoint* joint = joints[static_cast<size_t>(track.joint)];
    builder.AddAnimation(UUOwned<MM3DAnimation>(
        new MM3DJointAnimation(joint, builder.MakeCurve(Seconds(track)), track.channel)));
  }
  builder.AddAnimation(UUOwned<MM3DAnimation>(
      new MM3DBlendShapeWeightAnimation(eyes, builder.MakeCurve(BlinkKeys()), 1)));
}

}  // namespace databuilder
