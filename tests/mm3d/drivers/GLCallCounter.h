#pragma once
// Counts the calls that reach OpenGL through a driver's dispatch table:
// each counted entry is replaced by a function that counts, remembers the
// last arguments it can, and calls the real entry point.

#include "mm3d/drivers/win/WinMM3DGLDispatch.h"

#include <tuple>

struct GLCallCounts {
  int mCalls = 0;
};

inline GLCallCounts gGLCalls;

template <int Id, typename Result, typename... Arguments>
struct GLCounted {
  static inline Result (*sReal)(Arguments...) = nullptr;
  static inline std::tuple<Arguments...> sLast{};
  static inline int sCount = 0;
  static Result Call(Arguments... arguments) {
    ++gGLCalls.mCalls;
    ++sCount;
    sLast = std::tuple<Arguments...>(arguments...);
    return sReal(arguments...);
  }
};

// Replaces one entry; Id tells the counters of entries of the same type
// apart. Answers the counter type's count and last arguments holder.
template <int Id, typename Result, typename... Arguments>
GLCounted<Id, Result, Arguments...>& CountCalls(Result (*&entry)(Arguments...)) {
  using Counted = GLCounted<Id, Result, Arguments...>;
  Counted::sReal = entry;
  Counted::sCount = 0;
  entry = &Counted::Call;
  static Counted counted;
  return counted;
}

// Every state-changing entry the driver uses.
inline void CountStateCalls(WinMM3DGLDispatch& dispatch) {
  CountCalls<1>(dispatch.glEnable);
  CountCalls<2>(dispatch.glDisable);
  CountCalls<3>(dispatch.glDepthFunc);
  CountCalls<4>(dispatch.glDepthMask);
  CountCalls<5>(dispatch.glBlendFunc);
  CountCalls<6>(dispatch.glBindTexture);
  CountCalls<7>(dispatch.glCullFace);
  CountCalls<8>(dispatch.glFrontFace);
  CountCalls<9>(dispatch.glTexEnvi);
  CountCalls<10>(dispatch.glHint);
  CountCalls<11>(dispatch.glPolygonMode);
  gGLCalls.mCalls = 0;
}
