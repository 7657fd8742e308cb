#pragma once
// Callback objects: a target object and one of its member functions, with
// zero, one or two stored arguments. Holders delete them through the
// virtual destructor.

#include <type_traits>

class UUCallback {
 public:
  virtual ~UUCallback() = default;
  virtual void Invoke() = 0;
};

// Calls the member without arguments and ignores its result; a member that
// takes one boolean is called with false.
template <typename T, typename M>
class UUClassCallback : public UUCallback {
 public:
  UUClassCallback(T* target, M member) : mTarget(target), mMember(member) {}
  void Invoke() override {
    if constexpr (std::is_invocable_v<M, T*>) {
      (mTarget->*mMember)();
    } else {
      (mTarget->*mMember)(false);
    }
  }

 private:
  T* mTarget;
  M mMember;
};

template <typename T, typename M, typename P>
class UUClassCallback1Parameter : public UUCallback {
 public:
  UUClassCallback1Parameter(T* target, M member, P argument)
      : mTarget(target), mMember(member), mArgument(argument) {}
  void Invoke() override { (mTarget->*mMember)(mArgument); }

 private:
  T* mTarget;
  M mMember;
  P mArgument;
};

template <typename T, typename M, typename P1, typename P2>
class UUClassCallback2Parameters : public UUCallback {
 public:
  UUClassCallback2Parameters(T* target, M member, P1 argument1, P2 argument2)
      : mTarget(target), mMember(member), mArgument1(argument1), mArgument2(argument2) {}
  void Invoke() override { (mTarget->*mMember)(mArgument1, mArgument2); }

 private:
  T* mTarget;
  M mMember;
  P1 mArgument1;
  P2 mArgument2;
};
