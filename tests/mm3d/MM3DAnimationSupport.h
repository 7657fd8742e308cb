#pragma once
// Curves for the animation tests: a shared linear curve through given
// (time, value) keys.

#include "foundation/uu/UUGrowableArray.h"
#include "foundation/uu/UURefCount.h"
#include "mm3d/MM3DFunctionCurve.h"
#include "mm3d/MM3DLinearFunctionCurve.h"

#include <initializer_list>

inline UURefCount<MM3DFunctionCurve> LinearCurve(std::initializer_list<MM3DLinearCurveKey> keys) {
  UUGrowableArray<MM3DLinearCurveKey> array;
  for (const MM3DLinearCurveKey& key : keys) array.Append(key);
  return UURefCount<MM3DFunctionCurve>(new MM3DLinearFunctionCurve(array, kMM3DPlainValue));
}
