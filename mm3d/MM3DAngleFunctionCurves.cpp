#include "mm3d/MM3DAngleFunctionCurves.h"

#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUWriter.h"
#include "mm3d/MM3DFixedVector.h"
#include "mm3d/MM3DMathFunctions.h"

#include <algorithm>

namespace {

constexpr float kRadiansPerShort = kMM3DTwoPi * (1.0f / 4096.0f);
constexpr float kShortsPerRadian = 4096.0f / kMM3DTwoPi;
constexpr float kFinePerRadian = 16777216.0f / kMM3DTwoPi;
constexpr float kMinShortRadians = -32768.0f * (kMM3DTwoPi / 4096.0f);
constexpr float kMaxShortRadians = 32767.0f * (kMM3DTwoPi / 4096.0f);
constexpr float kMaxFineRadians = 804.24774f;
// Samples are read in blocks of this many, so that a bad count cannot
// make the reader allocate more than the stream holds.
constexpr int32_t kSampleBlock = 4096;

float ShortToRadians(int32_t angle) { return static_cast<float>(angle) * kRadiansPerShort; }

// The start time, the duration and the int32 count of an angle curve body.
bool ReadGrid(UUReader& reader, float& startTime, float& duration, int32_t& count) {
  float fields[2];
  if (!reader.ReadFloats(&fields[0], 1) || !reader.ReadFloats(&fields[1], 1) ||
      !reader.ReadInt32s(&count, 1) || !MM3DCheckCount(reader, count)) {
    return false;
  }
  startTime = fields[0];
  duration = fields[1];
  return true;
}

bool WriteGrid(UUWriter& writer, float startTime, float duration, int32_t count) {
  return writer.WriteFloats(&startTime, 1) && writer.WriteFloats(&duration, 1) &&
         writer.WriteInt32s(&count, 1);
}

}  // namespace

int16_t MM3DAngleToShort(float radians) {
  const float clamped = std::clamp(radians, kMinShortRadians, kMaxShortRadians);
  return static_cast<int16_t>(MM3DTruncate(clamped * kShortsPerRadian));
}

int32_t MM3DAngleToFine(float radians) {
  return MM3DTruncate(std::clamp(radians, -kMaxFineRadians, kMaxFineRadians) * kFinePerRadian);
}

MM3DIntervalAngleKey::MM3DIntervalAngleKey(float time, float startTime, float duration,
                                           int32_t intervalCount, float radians)
    : mInterval(static_cast<uint16_t>(
          MM3DTruncate((time - startTime) * static_cast<float>(intervalCount) / duration + 0.5f))),
      mAngle(MM3DAngleToShort(radians)) {}

bool MM3DIntervalAngleKey::Write(UUWriter& writer) const {
  return writer.WriteInt16s(&mInterval, 1) && writer.WriteInt16s(&mAngle, 1);
}

bool MM3DIntervalAngleKey::Read(UUReader& reader) {
  uint16_t interval = 0;
  int16_t angle = 0;
  if (!reader.ReadInt16s(&interval, 1) || !reader.ReadInt16s(&angle, 1)) return false;
  mInterval = interval;
  mAngle = angle;
  return true;
}

MM3DIntervalCountAngleFunctionCurve::MM3DIntervalCountAngleFunctionCurve()
    : MM3DFunctionCurve(kMM3DAngleValue) {}

MM3DIntervalCountAngleFunctionCurve::MM3DIntervalCountAngleFunctionCurve(
    float startTime, float duration, UUGrowableArray<MM3DIntervalAngleKey>& keys)
    : MM3DFunctionCurve(kMM3DAngleValue) {
  SetKeys(startTime, duration, keys);
}

void MM3DIntervalCountAngleFunctionCurve::SetKeys(float startTime, float duration,
                                                  UUGrowableArray<MM3DIntervalAngleKey>& keys) {
  mStartTime = startTime;
  mDuration = duration;
  mKeys.Set(keys);
  CheckKeyOrder();
}

// Keys out of order are searched from the first one every time, so that
// the answer never depends on where earlier times left the cursor; the
// segment found then always advances.
MM3DKeySegment MM3DIntervalCountAngleFunctionCurve::FindInterval(int32_t interval) {
  const int32_t n = mKeys.Count();
  int32_t& cursor = mKeys.Cursor();
  int32_t c = mKeysInOrder ? std::clamp(cursor, 0, n) : 0;
  while (c < n && mKeys[c].mInterval <= interval) ++c;
  if (c == 0) return {0, false};
  int32_t p = c - 1;
  while (p > 0 && mKeys[p].mInterval > interval) --p;
  cursor = p + 1;
  // Before the first key: it holds.
  if (mKeys[p].mInterval > interval) return {p, false};
  return {p, cursor < n};
}

void MM3DIntervalCountAngleFunctionCurve::CheckKeyOrder() {
  mKeysInOrder = true;
  for (int32_t k = 1; k < mKeys.Count(); ++k) {
    mKeysInOrder = mKeysInOrder && mKeys[k - 1].mInterval <= mKeys[k].mInterval;
  }
}

// The segment search runs on interval numbers. Keys out of order, or a
// first key after interval 0, hold the nearest key's angle rather than
// reach outside the keys or divide by a segment of no length.
int32_t MM3DIntervalCountAngleFunctionCurve::AngleAt(float seconds) {
  const float elapsed = seconds - mStartTime;
  if (!(elapsed > 0.0f)) return mKeys.First().mAngle;
  if (!(elapsed < mDuration)) return mKeys.Last().mAngle;
  const float intervals = static_cast<float>(mKeys.Last().mInterval);
  const int32_t i = MM3DTruncate(intervals * elapsed / mDuration);
  if (i < 0 || i >= mKeys.Last().mInterval) return mKeys.Last().mAngle;
  const MM3DKeySegment segment = FindInterval(i);
  const MM3DIntervalAngleKey& from = mKeys[segment.mFrom];
  if (!segment.mBetween) return from.mAngle;
  const MM3DIntervalAngleKey& to = mKeys[segment.mFrom + 1];
  // The position within the segment comes from the continuous grid
  // position, not from the truncated interval.
  const float fraction = (intervals * elapsed - static_cast<float>(from.mInterval) * mDuration) /
                         (static_cast<float>(to.mInterval - from.mInterval) * mDuration);
  return MM3DTruncate(static_cast<float>(from.mAngle) +
                      fraction * static_cast<float>(to.mAngle - from.mAngle));
}

float MM3DIntervalCountAngleFunctionCurve::Evaluate(float seconds) {
  if (mKeys.Count() == 0) return 0.0f;
  return ShortToRadians(AngleAt(seconds));
}

bool MM3DIntervalCountAngleFunctionCurve::Write(UUWriter& writer) const {
  float startTime = mStartTime;
  float duration = mDuration;
  return writer.WriteFloats(&startTime, 1) && writer.WriteFloats(&duration, 1) &&
         mKeys.Write(writer);
}

bool MM3DIntervalCountAngleFunctionCurve::Read(UUReader& reader) {
  float fields[2];
  if (!reader.ReadFloats(&fields[0], 1) || !reader.ReadFloats(&fields[1], 1)) return false;
  mStartTime = fields[0];
  mDuration = fields[1];
  const bool read = mKeys.Read(reader);
  CheckKeyOrder();
  return read;
}

MM3DFixedIntervalAngleFunctionCurve::MM3DFixedIntervalAngleFunctionCurve()
    : MM3DFunctionCurve(kMM3DAngleValue) {}

MM3DFixedIntervalAngleFunctionCurve::MM3DFixedIntervalAngleFunctionCurve(
    float startTime, float duration, UUGrowableArray<int16_t>& samples)
    : MM3DFunctionCurve(kMM3DAngleValue) {
  SetSamples(startTime, duration, samples);
}

void MM3DFixedIntervalAngleFunctionCurve::SetSamples(float startTime, float duration,
                                                     UUGrowableArray<int16_t>& samples) {
  mStartTime = startTime;
  mDuration = duration;
  UUGrowableArray<int16_t> old;
  old.Swap(mSamples);
  mSamples.Swap(samples);
}

// The sample is found by one multiplication and division. A position that
// is not a number, or lies before the first sample (a duration not above
// 0), gives the first sample.
int32_t MM3DFixedIntervalAngleFunctionCurve::AngleAt(float seconds) const {
  const int32_t n = mSamples.Count();
  const float elapsed = seconds - mStartTime;
  if (elapsed < 0.0f) return mSamples[0];
  const float position = elapsed * static_cast<float>(n) / mDuration;
  if (!(position >= 0.0f)) return mSamples[0];
  if (!(position < static_cast<float>(n - 1))) return mSamples[n - 1];
  const int32_t f = MM3DTruncate(position);
  return MM3DTruncate(static_cast<float>(mSamples[f]) +
                      static_cast<float>(mSamples[f + 1] - mSamples[f]) *
                          (position - static_cast<float>(f)));
}

float MM3DFixedIntervalAngleFunctionCurve::Evaluate(float seconds) {
  if (mSamples.Count() == 0) return 0.0f;
  return ShortToRadians(AngleAt(seconds));
}

bool MM3DFixedIntervalAngleFunctionCurve::Write(UUWriter& writer) const {
  return WriteGrid(writer, mStartTime, mDuration, mSamples.Count()) &&
         writer.WriteInt16s(mSamples.Begin(), static_cast<uint32_t>(mSamples.Count()));
}

bool MM3DFixedIntervalAngleFunctionCurve::Read(UUReader& reader) {
  float startTime = 0.0f;
  float duration = 0.0f;
  int32_t count = 0;
  if (!ReadGrid(reader, startTime, duration, count)) return false;
  UUGrowableArray<int16_t> samples;
  for (int32_t done = 0; done < count;) {
    const int32_t block = std::min(kSampleBlock, count - done);
    samples.Insert(done, block, 0);
    if (!reader.ReadInt16s(samples.Begin() + done, static_cast<uint32_t>(block))) {
      samples.EraseRange(done, done + block);
      break;
    }
    done += block;
  }
  SetSamples(startTime, duration, samples);
  return reader.GetError() == kUUNoError;
}

namespace {

// Start and duration kept as whole 1/4096 s.
void TruncateGrid(float& startTime, float& duration) {
  startTime = static_cast<float>(MM3DTruncate(startTime * 4096.0f)) / 4096.0f;
  duration = static_cast<float>(MM3DTruncate(duration * 4096.0f)) / 4096.0f;
}

int32_t ToFixedTime(float seconds) { return MM3DTruncate(seconds * 4096.0f); }

int32_t Wrap(int64_t value) { return static_cast<int32_t>(value); }

}  // namespace

int32_t MM3DIntegralIntervalCountAngleFunctionCurve::EvaluateFixed(int32_t time) {
  if (mKeys.Count() == 0) return 0;
  const int32_t duration = ToFixedTime(mDuration);
  const int64_t elapsed = int64_t{time} - ToFixedTime(mStartTime);
  if (elapsed <= 0) return mKeys.First().mAngle;
  if (elapsed >= duration) return mKeys.Last().mAngle;
  const int32_t u = Wrap(elapsed);
  const int32_t intervals = mKeys.Last().mInterval;
  const int32_t i = MM3DFixedDivide(MM3DFixedMultiply(intervals, u), duration);
  if (i < 0 || i >= intervals) return mKeys.Last().mAngle;
  const MM3DKeySegment segment = FindInterval(i);
  const MM3DIntervalAngleKey& from = mKeys[segment.mFrom];
  if (!segment.mBetween) return from.mAngle;
  const MM3DIntervalAngleKey& to = mKeys[segment.mFrom + 1];
  const int32_t fraction = MM3DFixedDivide(
      Wrap(int64_t{MM3DFixedMultiply(u, intervals)} - MM3DFixedMultiply(duration, from.mInterval)),
      MM3DFixedMultiply(duration, to.mInterval - from.mInterval));
  return Wrap(from.mAngle + int64_t{MM3DFixedMultiply(to.mAngle - from.mAngle, fraction)});
}

bool MM3DIntegralIntervalCountAngleFunctionCurve::Read(UUReader& reader) {
  const bool read = MM3DIntervalCountAngleFunctionCurve::Read(reader);
  TruncateGrid(mStartTime, mDuration);
  return read;
}

int32_t MM3DIntegralFixedIntervalAngleFunctionCurve::EvaluateFixed(int32_t time) {
  const int32_t n = mSamples.Count();
  if (n == 0) return 0;
  const int64_t elapsed = int64_t{time} - ToFixedTime(mStartTime);
  if (elapsed < 0) return mSamples[0];
  const int32_t position = MM3DFixedDivide(MM3DFixedMultiply(Wrap(int64_t{n} << 12), Wrap(elapsed)),
                                           ToFixedTime(mDuration));
  const int32_t f = position >> 12;
  if (f < 0) return mSamples[0];
  if (f > n - 2) return mSamples[n - 1];
  const int32_t step = mSamples[f + 1] - mSamples[f];
  return mSamples[f] + Wrap(((int64_t{position} & 4095) * step + 2048) >> 12);
}

bool MM3DIntegralFixedIntervalAngleFunctionCurve::Read(UUReader& reader) {
  const bool read = MM3DFixedIntervalAngleFunctionCurve::Read(reader);
  TruncateGrid(mStartTime, mDuration);
  return read;
}
