#include "foundation/af/AFError.h"

#include "foundation/uu/UUDirectory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

class AFErrorTest : public ::testing::Test {
 protected:
  void SetUp() override { AFClearError(); }
  void TearDown() override { AFClearError(); }
};

TEST_F(AFErrorTest, FirstErrorSinceTheLastClearWins) {
  UUDirectory none;
  EXPECT_FALSE(AFErrorPending());
  EXPECT_FALSE(AFSetError(MME_FILM_RESOURCE_FILE_NOT_FOUND, none, "vpl3d.MMF", 2));
  EXPECT_FALSE(AFSetError(MME_SOUND_RESOURCE_FILE_BAD_READ, none, "vpl3d.MMA", 5));
  EXPECT_FALSE(AFSetFailureWithoutError());
  EXPECT_TRUE(AFErrorPending());
  EXPECT_EQ(AFGetErrorCode(), MME_FILM_RESOURCE_FILE_NOT_FOUND);
  EXPECT_STREQ(AFGetErrorFileName(), "vpl3d.MMF");
  EXPECT_EQ(AFGetSystemErrorCode(), 2u);
  AFClearError();
  EXPECT_FALSE(AFErrorPending());
  EXPECT_FALSE(AFSetFailureWithoutError());
  EXPECT_EQ(AFGetErrorCode(), AFE_FAILURE_WITHOUT_ERROR);
  EXPECT_STREQ(AFGetErrorFileName(), "");
}

TEST_F(AFErrorTest, CatalogueHasEveryNameAndMessageInCodeOrder) {
  struct Case {
    AFErrorCode code;
    const char* name;
    const char* message;
  };
  const Case cases[] = {
      {AFE_NO_ERROR, "AFE_NO_ERROR", "No error."},
      {AFE_BAD_CURSOR, "AFE_BAD_CURSOR", "Could not load cursor."},
      {MME_PICTURE_RESOURCE_FILE_NOT_FOUND, "MME_PICTURE_RESOURCE_FILE_NOT_FOUND",
       "Cannot find picture resource file 'x'."},
      {MME_SOUND_RESOURCE_FILE_BAD_CLOSE, "MME_SOUND_RESOURCE_FILE_BAD_CLOSE",
       "Cannot save sound resource file 'x'."},
      {MME_FILM_RESOURCE_FILE_BAD_SEEK, "MME_FILM_RESOURCE_FILE_BAD_SEEK",
       "Seek error on film resource file 'x'."},
      {MME_TEXTURE_RESOURCE_FILE_BAD_VERSION_NUMBER, "MME_TEXTURE_RESOURCE_FILE_BAD_VERSION_NUMBER",
       "Bad version number in texture resource file 'x'."},
      {MME_MODEL_RESOURCE_FILE_BAD_OPEN_FOR_WRITE, "MME_MODEL_RESOURCE_FILE_BAD_OPEN_FOR_WRITE",
       "Cannot create model resource file 'x'."},
      {MME_SCRIPT_FILE_BAD_READ, "MME_SCRIPT_FILE_BAD_READ", "Error reading script file 'x'."},
      {MME_SCRIPT_FILE_BAD_SEEK, "MME_SCRIPT_FILE_BAD_SEEK",
       "Seek error on script resource file 'x'."},
      {MME_SCRIPT_FILE_WRONG_LANGUAGE, "MME_SCRIPT_FILE_WRONG_LANGUAGE",
       "Incorrect language in script file 'x'."},
  };
  for (const Case& c : cases) {
    EXPECT_STREQ(AFGetErrorName(c.code), c.name);
    EXPECT_STREQ(AFFormatErrorMessage(c.code, UUDirectory(), "x"), c.message) << c.name;
  }
  EXPECT_EQ(MME_SCRIPT_FILE_WRONG_LANGUAGE, 64);
  EXPECT_EQ(AFFileError(MME_TEXTURE_RESOURCE_FILE_NOT_FOUND, AFO_BAD_CHECKSUM),
            MME_TEXTURE_RESOURCE_FILE_BAD_CHECKSUM);
}

TEST_F(AFErrorTest, MessageNamesTheMachinesFullPathOnlyWhileTheDirectoryExists) {
  const auto root = std::filesystem::temp_directory_path() / "vpl3d-aferror-test";
  std::filesystem::create_directories(root);
  // The layer maps drive C: to the file-system root.
  const std::string windowsPath = "C:" + root.string() + "\\";
  std::string backslashed = windowsPath;
  for (char& c : backslashed) c = c == '/' ? '\\' : c;
  UUDirectory directory(backslashed.c_str());
  ASSERT_TRUE(directory.IsSet());
  const std::string full =
      AFFormatErrorMessage(MME_PICTURE_RESOURCE_FILE_BAD_HEADER, directory, "vpl3d.MMP");
  EXPECT_EQ(full, "Bad header in picture resource file '" + (root / "vpl3d.MMP").string() + "'.");
  std::filesystem::remove_all(root);
  EXPECT_STREQ(AFFormatErrorMessage(MME_PICTURE_RESOURCE_FILE_BAD_HEADER, directory, "vpl3d.MMP"),
               "Bad header in picture resource file 'vpl3d.MMP'.");
}

TEST_F(AFErrorTest, EmptyFileNameIsTheUnknownFile) {
  EXPECT_STREQ(AFFormatErrorMessage(MME_SCRIPT_FILE_NOT_FOUND, UUDirectory(), ""),
               "Cannot find script file '<unknown file>'.");
}

TEST_F(AFErrorTest, UserTextIsShownAsItStandsAndCutToItsBuffer) {
  EXPECT_FALSE(AFSetUserError("100% broken: %s %n %d", UUDirectory(), "", 0));
  EXPECT_STREQ(AFFormatErrorMessage(AFE_USER_ERROR, UUDirectory(), ""), "100% broken: %s %n %d");
  AFClearError();
  const std::string huge(5000, 'u');
  AFSetUserError(huge.c_str(), UUDirectory(), "", 0);
  EXPECT_EQ(std::string(AFFormatErrorMessage(AFE_USER_ERROR, UUDirectory(), "")).size(),
            kAFMessageSize - 1);
}

TEST_F(AFErrorTest, FileNameIsNeverReadAsAFormat) {
  EXPECT_STREQ(AFFormatErrorMessage(MME_FILM_RESOURCE_FILE_BAD_READ, UUDirectory(), "%s%n%x.MMF"),
               "Error reading film resource file '%s%n%x.MMF'.");
}

TEST_F(AFErrorTest, SystemErrorTextOrUnknown) {
  EXPECT_STREQ(AFFormatSystemError(0), "");
  EXPECT_STREQ(AFFormatSystemError(ERROR_FILE_NOT_FOUND),
               "The system cannot find the file specified.");
  EXPECT_STREQ(AFFormatSystemError(0xBADC0DE), "Unknown system error.");
}

}  // namespace
