#include "foundation/uu/UUConsole.h"
#include "foundation/win/WinUUMonoMonitorConsole.h"

#include "ScratchDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string ReadHostFile(const std::string& path) {
  std::ostringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

TEST(UUConsoleTest, LogFileIsCreatedEmptyOrKeptAndAppendedTo) {
  ScratchDirectory temp;
  std::ofstream(temp.HostPath("log.txt")) << "old line\n";
  {
    UULogFileConsole console(temp.Directory(), "log.txt", UUFileOptions{}, true);
    UUConsolePrintf(console, "%s %d\n", "kept", 1);
  }
  EXPECT_EQ(ReadHostFile(temp.HostPath("log.txt")), "old line\nkept 1\n");
  {
    UULogFileConsole console(temp.Directory(), "log.txt", UUFileOptions{}, false);
    console.Write("fresh");
  }
  EXPECT_EQ(ReadHostFile(temp.HostPath("log.txt")), "fresh");
}

TEST(UUConsoleTest, PrintfCutsLongTextsAt999Characters) {
  ScratchDirectory temp;
  {
    UULogFileConsole console(temp.Directory(), "long.txt", UUFileOptions{}, false);
    UUConsolePrintf(console, "%s", std::string(1500, 'x').c_str());
  }
  EXPECT_EQ(ReadHostFile(temp.HostPath("long.txt")), std::string(999, 'x'));
}

TEST(UUConsoleTest, LogInAMissingDirectoryIgnoresWrites) {
  ScratchDirectory temp;
  const UUDirectory missing((std::string(temp.Directory().Text()) + "none\\").c_str());
  UULogFileConsole console(missing, "log.txt", UUFileOptions{}, false);
  console.Write("lost");
  EXPECT_FALSE(console.GetFile().IsOpen());
}

TEST(UUConsoleTest, StandardStreamAndMonoMonitor) {
  std::FILE* stream = std::tmpfile();
  UUStandardFileIOConsole console(stream);
  console.Write("abc");
  std::rewind(stream);
  char text[8] = {};
  EXPECT_EQ(std::fread(text, 1, sizeof text, stream), 3u);
  std::fclose(stream);
  UUStandardFileIOConsole(nullptr).Write("ignored");

  WinUUMonoMonitorConsole mono;
  mono.Write("nothing");
  EXPECT_FALSE(std::filesystem::exists("MONO"));
}

}  // namespace
