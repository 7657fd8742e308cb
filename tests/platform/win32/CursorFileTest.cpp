#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "platform/win32/CursorFile.h"
#include "platform/win32/user.h"

namespace {

using vpl::platform::CursorImage;
using vpl::platform::ReadCursorFile;

void Put16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}
void PutTag(std::vector<uint8_t>& out, const char* tag) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}

// A 2 x 2 cursor of 1 bit per pixel: black and white on top, the bottom
// row transparent; its hot spot at (1, 0).
std::vector<uint8_t> SmallCursor() {
  std::vector<uint8_t> picture;
  Put32(picture, 40);
  Put32(picture, 2);
  Put32(picture, 4);  // colour and mask
  Put16(picture, 1);
  Put16(picture, 1);
  for (int i = 0; i < 6; ++i) Put32(picture, 0);
  Put32(picture, 0x000000);  // palette: black, white
  Put32(picture, 0xFFFFFF);
  Put32(picture, 0x00000000);  // colour rows, bottom-up: bottom row
  Put32(picture, 0x00000040);  // top row: black, white
  Put32(picture, 0x000000C0);  // mask rows: bottom transparent
  Put32(picture, 0x00000000);
  std::vector<uint8_t> file;
  Put16(file, 0);
  Put16(file, 2);
  Put16(file, 1);
  file.insert(file.end(), {2, 2, 2, 0});
  Put16(file, 1);
  Put16(file, 0);
  Put32(file, static_cast<uint32_t>(picture.size()));
  Put32(file, 22);
  file.insert(file.end(), picture.begin(), picture.end());
  return file;
}

std::vector<uint8_t> AnimatedCursor(const std::vector<uint8_t>& frame) {
  std::vector<uint8_t> list;
  PutTag(list, "fram");
  PutTag(list, "icon");
  Put32(list, static_cast<uint32_t>(frame.size()));
  list.insert(list.end(), frame.begin(), frame.end());
  if (frame.size() % 2 != 0) list.push_back(0);
  std::vector<uint8_t> body;
  PutTag(body, "ACON");
  PutTag(body, "anih");
  Put32(body, 4);
  Put32(body, 0);
  PutTag(body, "LIST");
  Put32(body, static_cast<uint32_t>(list.size()));
  body.insert(body.end(), list.begin(), list.end());
  std::vector<uint8_t> file;
  PutTag(file, "RIFF");
  Put32(file, static_cast<uint32_t>(body.size()));
  file.insert(file.end(), body.begin(), body.end());
  return file;
}

void ExpectSmallCursor(const CursorImage& image) {
  EXPECT_EQ(image.width, 2);
  EXPECT_EQ(image.height, 2);
  EXPECT_EQ(image.hotX, 1);
  EXPECT_EQ(image.hotY, 0);
  ASSERT_EQ(image.argb.size(), 4u);
  EXPECT_EQ(image.argb[0], 0xFF000000u);
  EXPECT_EQ(image.argb[1], 0xFFFFFFFFu);
  EXPECT_EQ(image.argb[2] >> 24, 0u);
  EXPECT_EQ(image.argb[3] >> 24, 0u);
}

TEST(CursorFileTest, ReadsTheFirstPictureOfCursorAndAnimatedCursorFiles) {
  CursorImage image;
  ASSERT_TRUE(ReadCursorFile(SmallCursor(), image));
  ExpectSmallCursor(image);
  CursorImage frame;
  ASSERT_TRUE(ReadCursorFile(AnimatedCursor(SmallCursor()), frame));
  ExpectSmallCursor(frame);
}

TEST(CursorFileTest, AHotSpotOffThePictureIsPulledOntoItsEdge) {
  std::vector<uint8_t> file = SmallCursor();
  file[10] = 0xF4;  // hot spot (500, 7) on a 2 x 2 picture
  file[11] = 0x01;
  file[12] = 7;
  CursorImage image;
  ASSERT_TRUE(ReadCursorFile(file, image));
  EXPECT_EQ(image.hotX, 1);
  EXPECT_EQ(image.hotY, 1);
}

TEST(CursorFileTest, DamagedFilesAreRefusedAtEveryLength) {
  for (const std::vector<uint8_t>& whole : {SmallCursor(), AnimatedCursor(SmallCursor())}) {
    for (size_t length = 0; length < whole.size(); ++length) {
      CursorImage image;
      EXPECT_FALSE(ReadCursorFile(
          std::vector<uint8_t>(whole.begin(), whole.begin() + static_cast<ptrdiff_t>(length)),
          image))
          << length;
    }
  }
  std::vector<uint8_t> compressed = SmallCursor();
  compressed[22 + 16] = 1;
  std::vector<uint8_t> huge = SmallCursor();
  huge[22 + 5] = 0x10;  // width 4096
  std::vector<uint8_t> offsetOutside = SmallCursor();
  offsetOutside[6 + 15] = 0x80;
  CursorImage image;
  EXPECT_FALSE(ReadCursorFile(compressed, image));
  EXPECT_FALSE(ReadCursorFile(huge, image));
  EXPECT_FALSE(ReadCursorFile(offsetOutside, image));
}

TEST(CursorFileTest, LoadingMakesACursorUntilItIsDestroyed) {
  const std::string path = ::testing::TempDir() + "vpl_empty_cursor.cur";
  const std::vector<uint8_t> bytes = SmallCursor();
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  HCURSOR cursor = LoadCursorFromFileA(path.c_str());
  ASSERT_NE(cursor, nullptr);
  CursorImage image;
  EXPECT_TRUE(vpl::platform::FileCursorImage(cursor, image));
  EXPECT_TRUE(DestroyCursor(cursor));
  EXPECT_FALSE(DestroyCursor(cursor));
  EXPECT_FALSE(vpl::platform::FileCursorImage(cursor, image));
  std::remove(path.c_str());
  EXPECT_EQ(LoadCursorFromFileA(path.c_str()), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

}  // namespace

TEST(CursorFileTest, TheProgramModuleHoldsAnEmptyCursorAndItsIcon) {
  const HINSTANCE program = GetModuleHandleA(nullptr);
  const HCURSOR empty = LoadCursorA(program, "EmptyCursor.cur");
  ASSERT_NE(empty, nullptr);
  vpl::platform::CursorImage image;
  ASSERT_TRUE(vpl::platform::FileCursorImage(empty, image));
  EXPECT_GT(image.width, 0);
  for (const uint32_t pixel : image.argb) ASSERT_EQ(pixel >> 24, 0u);
  EXPECT_EQ(LoadCursorA(program, "emptyCursor.cur"), empty);
  EXPECT_NE(LoadIconA(program, MAKEINTRESOURCEA(1)), nullptr);
  EXPECT_EQ(LoadCursorA(program, "other.cur"), nullptr);
  EXPECT_EQ(LoadIconA(program, MAKEINTRESOURCEA(2)), nullptr);
}
