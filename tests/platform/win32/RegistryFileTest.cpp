// The registry's store file as several processes, crashes and damage meet
// it: no acknowledged value is ever lost.

#include "platform/win32/RegistryStore.h"
#include "tests/platform/win32/RegistryFixture.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using vpl::platform::RestartRegistryStore;

class RegistryFileTest : public RegistryFixture {
 protected:
  // Runs the body in a child process and answers its wait status.
  template <typename Body>
  static pid_t Spawn(Body body) {
    const pid_t child = fork();
    if (child == 0) {
      RestartRegistryStore();
      body();
      _exit(0);
    }
    return child;
  }
  static int WaitFor(pid_t child) {
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
  }
};

// Each writer counts its own value up while the test reads both: every
// change is acknowledged, no read sees a count go back or vanish, and both
// final counts are in the store.
TEST_F(RegistryFileTest, TwoWriterProcessesLoseNoChange) {
  constexpr DWORD kWrites = 60;
  const char* const kNames[] = {"first", "second"};
  pid_t writers[2];
  for (int i = 0; i < 2; ++i) {
    writers[i] = Spawn([&] {
      HKEY key = nullptr;
      int failures = RegCreateKeyExA(HKEY_CURRENT_USER, "Shared", 0, nullptr, 0, KEY_ALL_ACCESS,
                                     nullptr, &key, nullptr) != ERROR_SUCCESS;
      for (DWORD count = 1; count <= kWrites; ++count)
        failures += SetDword(key, kNames[i], count) != ERROR_SUCCESS;
      _exit(failures == 0 ? 0 : 1);
    });
  }
  DWORD seen[2] = {0, 0};
  int running = 2;
  int status[2] = {0, 0};
  while (running > 0) {
    for (int i = 0; i < 2; ++i) {
      const std::optional<DWORD> count = ReadDword("Shared", kNames[i]);
      EXPECT_GE(count.value_or(0), seen[i]) << kNames[i];
      seen[i] = count.value_or(0);
      if (writers[i] != 0 && waitpid(writers[i], &status[i], WNOHANG) == writers[i]) {
        writers[i] = 0;
        --running;
      }
    }
  }
  RestartRegistryStore();
  for (int i = 0; i < 2; ++i) {
    EXPECT_TRUE(WIFEXITED(status[i]) && WEXITSTATUS(status[i]) == 0) << kNames[i];
    EXPECT_EQ(ReadDword("Shared", kNames[i]), kWrites) << kNames[i];
  }
  EXPECT_FALSE(fs::exists(StoreFile("registry.damaged")));
}

int gKillAtStep = -1;

void KillAtStep(int step) {
  if (step == gKillAtStep) raise(SIGKILL);
}

// A writer killed at each step of a save in turn, from a sound store, a
// damaged store without a backup (the value stands in its sound part) and
// a store with a flipped byte: the value acknowledged before is always
// there, or the new one, and the store takes the next change.
TEST_F(RegistryFileTest, AKillAtAnyPointOfASaveLosesNoAcknowledgedValue) {
  enum class Before { Sound, CutWithoutBackup, FlippedByte };
  constexpr DWORD kAcknowledged = 1;
  constexpr DWORD kNext = 2;
  constexpr int kMostSteps = 64;
  for (const Before before : {Before::Sound, Before::CutWithoutBackup, Before::FlippedByte}) {
    bool finished = false;
    for (int step = 0; !finished && step < kMostSteps; ++step) {
      SCOPED_TRACE("before " + std::to_string(static_cast<int>(before)) + ", step " +
                   std::to_string(step));
      fs::remove_all(StoreFile().parent_path());
      RestartRegistryStore();
      HKEY key = Create("Kept");
      ASSERT_EQ(SetDword(key, "value", kAcknowledged), ERROR_SUCCESS);
      RegCloseKey(key);
      std::vector<char> bytes = StoreBytes();
      if (before == Before::CutWithoutBackup) {
        bytes.resize(bytes.size() - 3);
        fs::remove(StoreFile("registry.backup"));
      } else if (before == Before::FlippedByte) {
        bytes[bytes.size() / 2] ^= 0x10;
      }
      WriteStore(bytes);

      gKillAtStep = step;
      const int status = WaitFor(Spawn([] {
        vpl::platform::SetRegistrySaveProbe(KillAtStep);
        HKEY reopened = nullptr;
        RegOpenKeyExA(HKEY_CURRENT_USER, "Kept", 0, KEY_ALL_ACCESS, &reopened);
        _exit(SetDword(reopened, "value", kNext) == ERROR_SUCCESS ? 0 : 1);
      }));
      finished = WIFEXITED(status);
      EXPECT_TRUE(finished ? WEXITSTATUS(status) == 0 : WTERMSIG(status) == SIGKILL);

      RestartRegistryStore();
      const std::optional<DWORD> value = ReadDword("Kept", "value");
      EXPECT_TRUE(value == kAcknowledged || value == kNext);
      key = Create("Kept");
      EXPECT_EQ(SetDword(key, "later", kNext), ERROR_SUCCESS);
      RegCloseKey(key);
      RestartRegistryStore();
      EXPECT_EQ(ReadDword("Kept", "later"), kNext);
      EXPECT_EQ(ReadDword("Kept", "value"), value);
    }
    EXPECT_TRUE(finished);
  }
}

// Any one byte of the store flipped: the store is known to be damaged and
// every value is read from its backup, then kept on the next change.
TEST_F(RegistryFileTest, AFlippedByteLosesNoValue) {
  HKEY key = Create("A\\B");
  ASSERT_EQ(SetDword(key, "one", 1), ERROR_SUCCESS);
  ASSERT_EQ(SetDword(key, "two", 2), ERROR_SUCCESS);
  RegCloseKey(key);
  const std::vector<char> sound = StoreBytes();
  for (size_t at = 0; at < sound.size(); ++at) {
    SCOPED_TRACE("byte " + std::to_string(at));
    std::vector<char> flipped = sound;
    flipped[at] ^= 0x01;
    WriteStore(flipped);
    RestartRegistryStore();
    EXPECT_EQ(ReadDword("A\\B", "one"), 1u);
    EXPECT_EQ(ReadDword("A\\B", "two"), 2u);
  }
  key = Create("A\\B");
  ASSERT_EQ(SetDword(key, "three", 3), ERROR_SUCCESS);
  RegCloseKey(key);
  RestartRegistryStore();
  EXPECT_EQ(ReadDword("A\\B", "one"), 1u);
  EXPECT_EQ(ReadDword("A\\B", "three"), 3u);
  EXPECT_TRUE(fs::exists(StoreFile("registry.damaged")));
}

// Every byte flipped in turn, without a backup to fall back on: the
// decoder reports damage each time, never a silently changed tree.
TEST_F(RegistryFileTest, EveryFlippedByteIsSeen) {
  vpl::platform::RegistryTree tree;
  tree.mRoots[0].mSubkeys["Key"].mValues["name"] = {.mType = REG_DWORD, .mData = {1, 2, 3, 4}};
  tree.mRoots[1].mSubkeys["Other"].mSubkeys["Deeper"] = {};
  const std::vector<uint8_t> bytes = vpl::platform::EncodeRegistry(tree);
  bool damaged = true;
  vpl::platform::DecodeRegistry(bytes, damaged);
  EXPECT_FALSE(damaged);
  for (size_t at = 0; at < bytes.size(); ++at) {
    for (const uint8_t flip : {uint8_t{0x01}, uint8_t{0x80}, uint8_t{0xFF}}) {
      std::vector<uint8_t> flipped = bytes;
      flipped[at] ^= flip;
      vpl::platform::DecodeRegistry(flipped, damaged);
      EXPECT_TRUE(damaged) << "byte " << at << " flipped by " << int{flip};
    }
  }
}

// A store written before stores were sealed is read as it is, and the next
// change seals it without calling the old store damaged.
TEST_F(RegistryFileTest, AnUnsealedStoreIsStillRead) {
  const std::vector<char> unsealed = {
      'V', 'P', 'L', 'R', 'E', 'G', 1,   0,               // the name and version 1
      1,   0,   3,   0,   'O', 'l', 'd',                  // the current user's key "Old"
      2,   3,   0,   'a', 'g', 'e',                       // its value "age"
      4,   0,   0,   0,   4,   0,   0,   0, 9, 0, 0, 0};  // a REG_DWORD 9
  WriteStore(unsealed);
  RestartRegistryStore();
  EXPECT_EQ(ReadDword("Old", "age"), 9u);
  HKEY key = Create("New");
  RegCloseKey(key);
  RestartRegistryStore();
  EXPECT_EQ(ReadDword("Old", "age"), 9u);
  EXPECT_FALSE(fs::exists(StoreFile("registry.damaged")));
  EXPECT_NE(StoreBytes()[6], 1);
}

// A store that cannot be read (here a directory in its place) gives the
// defaults and is never overwritten.
TEST_F(RegistryFileTest, AStoreThatCannotBeReadIsLeftAsItIs) {
  fs::create_directories(StoreFile() / "inside");
  RestartRegistryStore();
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Any", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Any", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr),
            ERROR_WRITE_FAULT);
  EXPECT_TRUE(fs::is_directory(StoreFile() / "inside"));
}

// Keys 512 levels deep are the most the store holds; a tree far deeper is
// copied and destroyed without a stack of its depth.
TEST_F(RegistryFileTest, KeyDepthIsBoundedAndDeepTreesCostNoStack) {
  std::string path = "k";
  for (size_t depth = 1; depth < vpl::platform::kMaxRegistryKeyDepth; ++depth) path += "\\k";
  HKEY key = Create(path.c_str());
  HKEY deeper = nullptr;
  EXPECT_EQ(
      RegCreateKeyExA(key, "one-more", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &deeper, nullptr),
      ERROR_BAD_PATHNAME);
  RegCloseKey(key);
  RestartRegistryStore();
  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
  RegCloseKey(key);

  constexpr int kDeep = 100000;
  vpl::platform::RegistryKey root;
  vpl::platform::RegistryKey* level = &root;
  for (int depth = 0; depth < kDeep; ++depth) level = &level->mSubkeys["k"];
  level->mValues["bottom"] = {.mType = REG_DWORD, .mData = {7, 0, 0, 0}};
  const vpl::platform::RegistryKey copy = root;
  const vpl::platform::RegistryKey* copied = &copy;
  for (int depth = 0; depth < kDeep; ++depth) copied = &copied->mSubkeys.at("k");
  EXPECT_EQ(copied->mValues.at("bottom").mData[0], 7);
}

}  // namespace
