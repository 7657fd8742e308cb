// Ends a child process at every file-system step of each operation that
// writes sketches, and checks that no sketch is lost or half written.

#include "app/shell/VPLSketchbookLibrary.h"
#include "platform/win32/testhooks.h"
#include "tests/app/shell/ShellTestSupport.h"
#include "tests/app/shell/SketchTestSupport.h"
#include "tests/foundation/uu/ScratchDirectory.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>

using sketch_test::FakeCreation;
using sketch_test::PatternBitmap;
using sketch_test::ReadHostFile;

namespace {

namespace fs = std::filesystem;

constexpr int kFinished = 3;
constexpr int kStepLimit = 1000;
int gStopAt = 0;

void StopAtChosenStep(int step) {
  if (step == gStopAt) _exit(0);
}

// Runs the operation in a child that ends at file-system step k; true
// when it ran to its end first.
bool RunUntilStep(int k, const std::function<void()>& operation) {
  const pid_t child = fork();
  if (child == 0) {
    gStopAt = k;
    vpl::platform::SetFileSystemStepProbe(StopAtChosenStep);
    operation();
    _exit(kFinished);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == kFinished;
}

using Files = std::map<std::string, std::vector<uint8_t>>;

class VPLSketchKillTest : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }

  // A Library of two books: the first holds two sketches, the second one.
  void Reset() {
    fs::remove_all(Host(""));
    fs::create_directory(Host(""));
    UUGetSubdirectory(mScratch.Directory(), "Library", mDirectory);
    mLibrary = std::make_unique<VPLSketchbookLibrary>(mDirectory);
    ASSERT_TRUE(mLibrary->Load(true));
    VPLSketchbook* second = nullptr;
    ASSERT_TRUE(mLibrary->NewSketchbook(1, second));
    VPLSketch* made = nullptr;
    ASSERT_TRUE(Current().NewSketch(made));
    FakeCreation creation({1, 2, 3});
    ASSERT_TRUE(Current().GetSketchAt(0)->Write(&creation, *PatternBitmap(256, 256, 1)));
    mBefore = Sketches();
  }

  std::string Host(const std::string& name) { return mScratch.HostPath("Library/" + name); }
  VPLSketchbook& Current() { return *mLibrary->GetCurrentSketchbook(); }

  // Every file of every book, by "book/name".
  Files Sketches() {
    Files files;
    for (const auto& book : fs::directory_iterator(Host(""))) {
      for (const auto& file : fs::directory_iterator(book.path())) {
        const std::string name = file.path().filename().string();
        if (name != "SketchbookIcon")
          files[book.path().filename().string() + "/" + name] = ReadHostFile(file.path());
      }
    }
    return files;
  }

  // After a fresh scan of every book, no temporary file is left and each
  // book has its sketches.
  Files ScanAgain() {
    VPLSketchbookLibrary library(mDirectory);
    EXPECT_TRUE(library.Load(false));
    for (int32_t i = 0; VPLSketchbook* book = library.GetSketchbookAt(i); ++i) {
      EXPECT_TRUE(library.SelectSketchbook(book));
      EXPECT_NE(book->GetCurrentSketch(), nullptr);
    }
    library.Unload();
    const Files files = Sketches();
    for (const auto& [name, bytes] : files) EXPECT_EQ(name.find("/."), std::string::npos) << name;
    return files;
  }

  // Runs the operation stopped at every step; check sees the files before
  // and after each run.
  void KillAtEveryStep(const std::function<void()>& operation,
                       const std::function<void(const Files&, const Files&)>& check) {
    for (int k = 0; k < kStepLimit; ++k) {
      SCOPED_TRACE("stopped at step " + std::to_string(k));
      const bool finished = RunUntilStep(k, operation);
      check(mBefore, Sketches());
      ScanAgain();
      if (finished) return;
      Reset();
    }
    FAIL() << "the operation never finished";
  }

  shell_test::ShellScripts mScripts;
  ScratchDirectory mScratch;
  UUDirectory mDirectory;
  std::unique_ptr<VPLSketchbookLibrary> mLibrary;
  Files mBefore;
};

// Each file before is still there with its bytes, or (for the one
// that changes) with its new bytes.
void ExpectKept(const Files& before, const Files& after, const std::string& changing,
                const std::vector<uint8_t>& newBytes) {
  for (const auto& [name, bytes] : before) {
    if (name.find("/.") != std::string::npos) continue;
    ASSERT_EQ(after.count(name), 1u) << name;
    if (name == changing && after.at(name) != bytes)
      EXPECT_EQ(after.at(name), newBytes) << name;
    else
      EXPECT_EQ(after.at(name), bytes) << name;
  }
}

TEST_F(VPLSketchKillTest, WriteLeavesTheOldOrTheNewSketch) {
  const std::string kWritten = "Sketchbook 1/Sketch 1";
  FakeCreation creation(std::vector<uint8_t>(3000, 7));
  const auto thumbnail = PatternBitmap(256, 256, 2);
  std::vector<uint8_t> newBytes;
  {
    ScratchDirectory other;
    VPLSketch sketch(other.Directory(), "probe");
    ASSERT_TRUE(sketch.Write(&creation, *thumbnail));
    newBytes = ReadHostFile(other.HostPath("probe"));
  }
  KillAtEveryStep([&] { Current().GetSketchAt(0)->Write(&creation, *thumbnail); },
                  [&](const Files& before, const Files& after) {
                    // Each reset makes the sketch anew, at its own second.
                    const std::vector<uint8_t>& old = before.at(kWritten);
                    std::copy(old.begin(), old.begin() + 4, newBytes.begin());
                    ExpectKept(before, after, kWritten, newBytes);
                  });
}

TEST_F(VPLSketchKillTest, NewSketchIsWholeOrAbsent) {
  KillAtEveryStep(
      [&] {
        VPLSketch* made = nullptr;
        Current().NewSketch(made);
      },
      [&](const Files& before, const Files& after) {
        ExpectKept(before, after, "", {});
        if (after.count("Sketchbook 1/Sketch 3")) {
          EXPECT_EQ(after.at("Sketchbook 1/Sketch 3").size(), 262165u);
        }
      });
}

TEST_F(VPLSketchKillTest, CopyIsWholeOrAbsent) {
  KillAtEveryStep(
      [&] {
        VPLSketch* made = nullptr;
        Current().CopySketch(Current().GetSketchAt(0), made);
      },
      [&](const Files& before, const Files& after) {
        ExpectKept(before, after, "", {});
        if (after.count("Sketchbook 1/Sketch 3")) {
          EXPECT_EQ(after.at("Sketchbook 1/Sketch 3"), before.at("Sketchbook 1/Sketch 1"));
        }
      });
}

TEST_F(VPLSketchKillTest, MovedSketchIsInExactlyOneBook) {
  KillAtEveryStep(
      [&] {
        VPLSketch* moved = Current().GetSketchAt(0);
        mLibrary->MoveSketch(moved, mLibrary->GetSketchbookAt(1));
      },
      [&](const Files& before, const Files& after) {
        const std::vector<uint8_t>& bytes = before.at("Sketchbook 1/Sketch 1");
        const bool inSource = after.count("Sketchbook 1/Sketch 1") == 1;
        const bool inDestination = after.count("Sketchbook 2/Sketch 2") == 1;
        ASSERT_NE(inSource, inDestination);
        EXPECT_EQ(after.at(inSource ? "Sketchbook 1/Sketch 1" : "Sketchbook 2/Sketch 2"), bytes);
        EXPECT_EQ(after.at("Sketchbook 2/Sketch 1"), before.at("Sketchbook 2/Sketch 1"));
      });
}

TEST_F(VPLSketchKillTest, NewSketchbookNeverLeavesABookWithoutSketch) {
  KillAtEveryStep(
      [&] {
        VPLSketchbook* made = nullptr;
        mLibrary->NewSketchbook(2, made);
      },
      [&](const Files& before, const Files& after) { ExpectKept(before, after, "", {}); });
}

}  // namespace
