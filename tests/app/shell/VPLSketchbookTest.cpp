#include "app/shell/VPLSketchbook.h"

#include "app/shell/VPLSketchbookLibrary.h"
#include "foundation/uu/UUFileSystem.h"
#include "tests/app/shell/ShellTestSupport.h"
#include "tests/app/shell/SketchTestSupport.h"
#include "tests/foundation/uu/ScratchDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>

using sketch_test::ReadHostFile;
using sketch_test::SketchBytes;
using sketch_test::WriteHostFile;

namespace {

namespace fs = std::filesystem;

const std::string kSignature("VPL3Dv1.0\0", 10);
constexpr size_t kBlankSketchSize = 262165;

class VPLSketchbookTest : public ::testing::Test {
 protected:
  VPLSketchbookTest() { fs::create_directory(mScratch.HostPath("Book")); }

  UUDirectory Book() {
    UUDirectory book;
    UUGetSubdirectory(mScratch.Directory(), "Book", book);
    return book;
  }
  std::string BookPath(const std::string& name) { return mScratch.HostPath("Book/" + name); }
  void PutSketch(const std::string& name, int32_t time) {
    WriteHostFile(BookPath(name), SketchBytes(time, kSignature, 0, 1, 1, 4, 4));
  }
  void PutIndex(int16_t current) {
    WriteHostFile(BookPath("SketchbookIcon"),
                  {0x10, 0, 0, 0, 2, 0, static_cast<uint8_t>(current), 0});
  }
  std::vector<std::string> Names(VPLSketchbook& book) {
    std::vector<std::string> names;
    for (int32_t i = 0; VPLSketch* sketch = book.GetSketchAt(i); ++i)
      names.emplace_back(sketch->GetFileName());
    return names;
  }

  shell_test::ShellScripts mScripts;
  ScratchDirectory mScratch;
};

TEST_F(VPLSketchbookTest, NewSketchTakesTheFirstFreeNumber) {
  PutSketch("Sketch 1", 1);
  PutSketch("Sketch 3", 3);
  VPLSketchbook book(Book());
  ASSERT_TRUE(book.Load(false));
  VPLSketch* made = nullptr;
  ASSERT_TRUE(book.NewSketch(made));
  EXPECT_STREQ(made->GetFileName(), "Sketch 2");
  EXPECT_EQ(ReadHostFile(BookPath("Sketch 2")).size(), kBlankSketchSize);
}

TEST_F(VPLSketchbookTest, FiftySketchesAreTheLimit) {
  for (int i = 1; i <= 51; ++i) PutSketch("Sketch " + std::to_string(i), i);
  VPLSketchbook book(Book());
  ASSERT_TRUE(book.Load(false));
  EXPECT_EQ(book.GetSketchCount(), 50);
  VPLSketch* made = nullptr;
  EXPECT_FALSE(book.NewSketch(made));
  EXPECT_FALSE(book.CopySketch(book.GetSketchAt(0), made));
  EXPECT_EQ(book.GetSketchCount(), 50);
}

TEST_F(VPLSketchbookTest, OnlySketchesAreListedOldestFirst) {
  PutSketch("b", 30);
  PutSketch("a", 20);
  WriteHostFile(BookPath("notes.txt"), {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'});
  PutIndex(0);
  VPLSketchbook book(Book());
  ASSERT_TRUE(book.Load(false));
  EXPECT_EQ(Names(book), (std::vector<std::string>{"a", "b"}));
}

TEST_F(VPLSketchbookTest, RemovingMovesTheCurrentSketch) {
  const struct {
    const char* what;
    int sketches;
    int removed;
    int current;
    int expectedCurrent;  // -1: the end
  } cases[] = {
      {"last and current", 3, 2, 2, 1},
      {"only one", 1, 0, 0, -1},
      {"middle and current", 3, 1, 1, 1},
      {"not current", 3, 0, 2, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(BookPath(""));
    fs::create_directory(BookPath(""));
    for (int i = 0; i < c.sketches; ++i) PutSketch("Sketch " + std::to_string(i + 1), i);
    VPLSketchbook book(Book());
    ASSERT_TRUE(book.Load(false));
    ASSERT_TRUE(book.SelectSketchAt(c.current));
    VPLSketch* removed = book.GetSketchAt(c.removed);
    ASSERT_TRUE(book.RemoveSketch(removed));
    EXPECT_EQ(book.GetSketchCount(), c.sketches - 1);
    EXPECT_EQ(book.GetCurrentSketch(),
              c.expectedCurrent < 0 ? nullptr : book.GetSketchAt(c.expectedCurrent));
    EXPECT_EQ(fs::exists(BookPath("Sketch " + std::to_string(c.removed + 1))), false);
  }
}

TEST_F(VPLSketchbookTest, CopyTakesItsSourceTimeAndSortsAfterEqualTimes) {
  PutSketch("Sketch 1", 5);
  PutSketch("Sketch 2", 7);
  PutSketch("Sketch 3", 7);
  PutSketch("Sketch 4", 9);
  VPLSketchbook book(Book());
  ASSERT_TRUE(book.Load(false));
  VPLSketch* copy = nullptr;
  ASSERT_TRUE(book.CopySketch(book.GetSketchAt(1), copy));
  EXPECT_STREQ(copy->GetFileName(), "Sketch 5");
  EXPECT_EQ(copy->GetCreationTime(), 7);
  EXPECT_EQ(book.GetSketchAt(3), copy);
  EXPECT_EQ(ReadHostFile(BookPath("Sketch 5")), ReadHostFile(BookPath("Sketch 2")));
}

TEST_F(VPLSketchbookTest, UnloadWritesOnlyTheCurrentIndex) {
  for (int i = 1; i <= 4; ++i) PutSketch("Sketch " + std::to_string(i), i);
  PutIndex(0);
  VPLSketchbook book(Book());
  ASSERT_TRUE(book.Load(false));
  ASSERT_TRUE(book.SelectSketchAt(2));
  book.Unload();
  EXPECT_EQ(ReadHostFile(BookPath("SketchbookIcon")),
            (std::vector<uint8_t>{0x10, 0, 0, 0, 2, 0, 2, 0}));
}

// Only names the program gives its own temporary files go; a hidden file
// of the family's (a note, a file manager's settings) stays.
TEST_F(VPLSketchbookTest, ScanRemovesOnlyLeftoverTemporaryFiles) {
  PutSketch("Sketch 1", 1);
  WriteHostFile(BookPath(".saving 1 0"), SketchBytes(2, kSignature, 0, 1, 1, 4, 4));
  const char* kept[] = {".notes.txt", ".directory",      ".saving",
                        ".saving 1",  ".saving 1 0 old", ".saving x 2"};
  for (const char* name : kept) WriteHostFile(BookPath(name), {1, 2, 3});
  VPLSketchbook book(Book());
  ASSERT_TRUE(book.Load(false));
  EXPECT_EQ(Names(book), std::vector<std::string>{"Sketch 1"});
  EXPECT_FALSE(fs::exists(BookPath(".saving 1 0")));
  for (const char* name : kept) EXPECT_TRUE(fs::exists(BookPath(name))) << name;
}

class VPLSketchbookLibraryTest : public ::testing::Test {
 protected:
  VPLSketchbookLibraryTest() {
    fs::create_directory(mScratch.HostPath("Library"));
    UUGetSubdirectory(mScratch.Directory(), "Library", mLibraryDirectory);
  }
  std::string LibraryPath(const std::string& name) { return mScratch.HostPath("Library/" + name); }

  shell_test::ShellScripts mScripts;
  ScratchDirectory mScratch;
  UUDirectory mLibraryDirectory;
};

TEST_F(VPLSketchbookLibraryTest, EmptyLibraryGetsABookWithABlankSketch) {
  VPLSketchbookLibrary library(mLibraryDirectory);
  const int32_t before = VPLSketchTimeNow();
  ASSERT_TRUE(library.Load(true));

  const std::vector<uint8_t> index = ReadHostFile(LibraryPath("Sketchbook 1/SketchbookIcon"));
  ASSERT_EQ(index.size(), 8u);
  const int32_t time = index[0] | index[1] << 8 | index[2] << 16 | index[3] << 24;
  EXPECT_GE(time, before);
  EXPECT_EQ(std::vector<uint8_t>(index.begin() + 4, index.end()),
            (std::vector<uint8_t>{0, 0, 0, 0}));

  const std::vector<uint8_t> sketch = ReadHostFile(LibraryPath("Sketchbook 1/Sketch 1"));
  ASSERT_EQ(sketch.size(), kBlankSketchSize);
  const std::vector<uint8_t> header(sketch.begin() + 4, sketch.begin() + kVPLSketchHeaderSize);
  EXPECT_EQ(header, (std::vector<uint8_t>{'V', 'P', 'L', '3', 'D', 'v', '1', '.', '0', 0, 0, 0, 1,
                                          0, 1, 4, 0}));
  for (size_t i = kVPLSketchHeaderSize; i < sketch.size(); i += 4) {
    ASSERT_EQ(sketch[i + 3], 0xFF);
    ASSERT_EQ(sketch[i] | sketch[i + 1] | sketch[i + 2], 0);
  }
  EXPECT_EQ(library.GetCurrentSketchbook()->GetSketchCount(), 1);
}

TEST_F(VPLSketchbookLibraryTest, MoveTakesTheFirstFreeNameAndKeepsTheTime) {
  VPLSketchbookLibrary library(mLibraryDirectory);
  ASSERT_TRUE(library.Load(true));
  VPLSketchbook* second = nullptr;
  ASSERT_TRUE(library.NewSketchbook(3, second));
  VPLSketchbook* current = library.GetCurrentSketchbook();
  VPLSketch* copy = nullptr;
  ASSERT_TRUE(current->CopySketch(current->GetSketchAt(0), copy));
  const std::vector<uint8_t> moved = ReadHostFile(LibraryPath("Sketchbook 1/Sketch 2"));
  WriteHostFile(LibraryPath("Sketchbook 2/Sketch 2"), moved);

  ASSERT_TRUE(library.MoveSketch(copy, second));
  EXPECT_EQ(ReadHostFile(LibraryPath("Sketchbook 2/Sketch 3")), moved);
  EXPECT_FALSE(fs::exists(LibraryPath("Sketchbook 1/Sketch 2")));
  EXPECT_EQ(current->GetSketchCount(), 1);
  EXPECT_EQ(second->GetSketchCount(), 3);
  EXPECT_TRUE(library.HasCover(3));
}

TEST_F(VPLSketchbookLibraryTest, FoldersWithoutIndexGoOnlyWhenEmpty) {
  fs::create_directory(LibraryPath("empty"));
  fs::create_directory(LibraryPath("left by a save"));
  WriteHostFile(LibraryPath("left by a save/.saving 12 3"), {1, 2, 3});
  fs::create_directory(LibraryPath("full"));
  WriteHostFile(LibraryPath("full/photo"), {1, 2, 3});
  fs::create_directory(LibraryPath("Grandma's folder"));
  WriteHostFile(LibraryPath("Grandma's folder/.notes.txt"), {1, 2, 3});
  VPLSketchbookLibrary library(mLibraryDirectory);
  ASSERT_TRUE(library.Load(true));
  EXPECT_FALSE(fs::exists(LibraryPath("empty")));
  EXPECT_FALSE(fs::exists(LibraryPath("left by a save")));
  EXPECT_TRUE(fs::exists(LibraryPath("full/photo")));
  EXPECT_TRUE(fs::exists(LibraryPath("Grandma's folder/.notes.txt")));
  EXPECT_EQ(library.GetSketchbookCount(), 1);
}

TEST_F(VPLSketchbookLibraryTest, SelectingABookWithoutSketchesMakesItsBlankSketch) {
  VPLSketchbookLibrary library(mLibraryDirectory);
  ASSERT_TRUE(library.Load(true));
  VPLSketchbook* second = nullptr;
  ASSERT_TRUE(library.NewSketchbook(1, second));
  fs::remove(LibraryPath("Sketchbook 2/Sketch 1"));
  ASSERT_TRUE(library.SelectSketchbook(second));
  EXPECT_EQ(second->GetSketchCount(), 1);
  EXPECT_NE(second->GetCurrentSketch(), nullptr);
}

TEST_F(VPLSketchbookLibraryTest, RemovingTheCurrentBookFallsBackToALoadedOne) {
  VPLSketchbookLibrary library(mLibraryDirectory);
  ASSERT_TRUE(library.Load(true));
  VPLSketchbook* second = nullptr;
  ASSERT_TRUE(library.NewSketchbook(1, second));
  VPLSketchbook* removed = library.GetCurrentSketchbook();
  ASSERT_TRUE(library.RemoveSketchbook(removed));
  EXPECT_EQ(removed, second);
  EXPECT_EQ(library.GetCurrentSketchbook(), second);
  EXPECT_NE(second->GetCurrentSketch(), nullptr);
  EXPECT_FALSE(fs::exists(LibraryPath("Sketchbook 1")));
}

TEST_F(VPLSketchbookLibraryTest, FiftyBooksAreTheLimit) {
  VPLSketchbookLibrary library(mLibraryDirectory);
  ASSERT_TRUE(library.Load(true));
  VPLSketchbook* book = nullptr;
  while (library.GetSketchbookCount() < VPLSketchbookLibrary::kMaxSketchbooks)
    ASSERT_TRUE(library.NewSketchbook(0, book));
  EXPECT_FALSE(library.NewSketchbook(0, book));
}

}  // namespace
