// vpl3d-sketch-report SKETCH [DATA-FOLDER]: reads a sketch file through the
// program's own readers and prints the creation it holds (SketchReport.h),
// or "no creation" for a sketch never worked on. The data folder holds the
// program's data files (by default the folder of this program), which
// the creation needs for Pomble. A file that cannot be read as a sketch
// ends with a message on the error stream and exit status 1.

#include "app/shell/VPLSketch.h"
#include "foundation/uu/UUFile.h"
#include "platform/win32/PathMapping.h"
#include "tests/fuzz/CreationFuzzScene.h"
#include "tests/playthrough/SketchReport.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr int kUnreadable = 1;
constexpr int kUsage = 2;
// What the creation reads besides the sketch: Pomble's lists and models.
constexpr const char* kDataFiles[] = {"Hd.mms", "vpl3d.MMM"};

// The creation's record in the sketch's stream.
class CreationRecord : public VPLSketchCreation {
 public:
  explicit CreationRecord(VPLCreation& creation) : mCreation(creation) {}
  bool Write(UURandomAccessStream&) override { return false; }
  bool Read(UURandomAccessStream& stream) override { return mCreation.Read(stream); }

 private:
  VPLCreation& mCreation;
};

UUDirectory DirectoryOf(const fs::path& folder) {
  return UUDirectory(vpl::platform::ToWindowsPath(fs::absolute(folder).string() + "/").c_str());
}

// Whether the sketch's header reads, and whether a creation follows it.
bool ReadHeader(const fs::path& file, VPLSketchHeader& header) {
  UUFile stream(DirectoryOf(file.parent_path()), file.filename().c_str());
  return stream.IsOpen() && VPLReadSketchHeader(stream, header);
}

int Report(const fs::path& file) {
  VPLSketchHeader header;
  if (!ReadHeader(file, header)) {
    std::cerr << "vpl3d-sketch-report: " << file.string() << ": not a readable sketch\n";
    return kUnreadable;
  }
  if (!header.mHasCreation) {
    std::cout << "no creation\n";
    return 0;
  }
  CreationFuzzStage stage;
  std::unique_ptr<VPLCreation> creation = stage.NewCreation();
  CreationRecord record(*creation);
  const VPLSketch sketch(DirectoryOf(file.parent_path()), file.filename().c_str());
  if (!sketch.ReadCreation(record)) {
    std::cerr << "vpl3d-sketch-report: " << file.string() << ": the creation is damaged\n";
    return kUnreadable;
  }
  VPLWriteCreationReport(*creation, stage.mRun.mStage->GetTextureMap(), std::cout);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3 || argv[1][0] == '\0' || (argc == 3 && argv[2][0] == '\0')) {
    std::cerr << "usage: vpl3d-sketch-report SKETCH [DATA-FOLDER]\n";
    return kUsage;
  }
  // A reader shows no window and plays no sound.
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  setenv("VPL3D_TEST", "1", 1);
  const fs::path data =
      fs::absolute(argc == 3 ? fs::path(argv[2]) : fs::canonical("/proc/self/exe").parent_path());
  for (const char* name : kDataFiles) {
    if (!fs::is_regular_file(data / name)) {
      std::cerr << "vpl3d-sketch-report: " << (data / name).string() << ": no such data file\n";
      return kUsage;
    }
  }
  setenv("VPL_DATA_DIR", data.c_str(), 1);
  return Report(fs::absolute(argv[1]));
}
