#include "platform/win32/kernel.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

constexpr DWORD kUntouched = 0xDEADBEEF;
constexpr ATOM kFirstStringAtom = 0xC000;

LPCSTR IntegerAtomName(uintptr_t value) { return reinterpret_cast<LPCSTR>(value); }

TEST(KernelAtomsTest, IntegerAtomsStopBelowTheStringAtoms) {
  struct Case {
    uintptr_t value;
    ATOM expected;
    DWORD error;
  };
  for (const Case& c : {Case{0, 0, kUntouched}, Case{1, 1, kUntouched},
                        Case{kFirstStringAtom - 1, kFirstStringAtom - 1, kUntouched},
                        Case{kFirstStringAtom, 0, ERROR_INVALID_PARAMETER},
                        Case{0xFFFF, 0, ERROR_INVALID_PARAMETER}}) {
    SetLastError(kUntouched);
    EXPECT_EQ(GlobalAddAtomA(IntegerAtomName(c.value)), c.expected) << c.value;
    EXPECT_EQ(GetLastError(), c.error) << c.value;
    SetLastError(kUntouched);
    EXPECT_EQ(GlobalFindAtomA(IntegerAtomName(c.value)), c.expected) << c.value;
    EXPECT_EQ(GetLastError(), c.error) << c.value;
  }
}

TEST(KernelAtomsTest, AStringAtomIsNeverTakenForAnIntegerAtom) {
  const ATOM atom = GlobalAddAtomA("Plorvia Atom");
  ASSERT_GE(atom, kFirstStringAtom);
  EXPECT_EQ(GlobalAddAtomA(IntegerAtomName(atom)), 0);
  EXPECT_EQ(GlobalFindAtomA("plorvia atom"), atom);
  EXPECT_EQ(GlobalDeleteAtom(atom), 0);
}

TEST(KernelAtomsTest, ANameThatDoesNotFitFailsWithMoreData) {
  const ATOM atom = GlobalAddAtomA("Plorvia");
  ASSERT_NE(atom, 0);
  char name[8];
  EXPECT_EQ(GlobalGetAtomNameA(atom, name, sizeof name), std::strlen("Plorvia"));
  EXPECT_STREQ(name, "Plorvia");
  SetLastError(kUntouched);
  EXPECT_EQ(GlobalGetAtomNameA(atom, name, 4), 0u);
  EXPECT_EQ(GetLastError(), ERROR_MORE_DATA);
  SetLastError(kUntouched);
  EXPECT_EQ(GlobalGetAtomNameA(0x1234, name, 3), 0u);  // "#4660"
  EXPECT_EQ(GetLastError(), ERROR_MORE_DATA);
  SetLastError(kUntouched);
  EXPECT_EQ(GlobalGetAtomNameA(0, name, sizeof name), 0u);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(GlobalDeleteAtom(atom), 0);
}

}  // namespace
