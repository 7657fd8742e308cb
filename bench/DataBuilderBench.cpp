// The data builder's costs: building every data file from the sources into
// a temporary folder, against writing the same bytes as plain files; and
// opening the built script file and reading every entry through the
// script collection, against a plain read of the same bytes.

#include "foundation/uu/UUDirectory.h"
#include "mm/resources/MMScriptCollection.h"
#include "platform/win32/PathMapping.h"
#include "tools/databuilder/BuildSources.h"
#include "tools/databuilder/DataFiles.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench/RatioOverFloor.h"

namespace {

std::filesystem::path BenchFolder(const char* what) {
  return std::filesystem::temp_directory_path() /
         ("vpl-databuilder-bench-" + std::to_string(getpid()) + "-" + what);
}

std::vector<char> ReadAll(const std::filesystem::path& path) {
  std::ifstream stream(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

void BuildAll(const std::filesystem::path& out) {
  const databuilder::BuildSources sources = databuilder::ReadBuildSources(VPL_SOURCE_DATA_DIR);
  for (const databuilder::DataFile& file : databuilder::kDataFiles) {
    databuilder::BuildDataFile(sources, file, out);
  }
}

// The files as bytes, to write again without the builder.
std::vector<std::vector<char>> BuiltBytes(const std::filesystem::path& out) {
  std::vector<std::vector<char>> files;
  for (const databuilder::DataFile& file : databuilder::kDataFiles) {
    files.push_back(ReadAll(out / file.mName));
  }
  return files;
}

void BM_BuildEveryFileOverPlainWrites(benchmark::State& state) {
  const std::filesystem::path built = BenchFolder("built");
  const std::filesystem::path plain = BenchFolder("plain");
  BuildAll(built);
  const std::vector<std::vector<char>> bytes = BuiltBytes(built);
  std::filesystem::create_directories(plain);
  ReportRatioOverFloor(
      state,
      [&] {
        for (size_t i = 0; i < bytes.size(); ++i) {
          std::ofstream(plain / databuilder::kDataFiles[i].mName, std::ios::binary)
              .write(bytes[i].data(), static_cast<std::streamsize>(bytes[i].size()));
        }
      },
      [&] {
        std::filesystem::remove_all(built);
        BuildAll(built);
      });
  std::filesystem::remove_all(built);
  std::filesystem::remove_all(plain);
}
BENCHMARK(BM_BuildEveryFileOverPlainWrites)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ReadEveryScriptOverPlainRead(benchmark::State& state) {
  const std::filesystem::path built = BenchFolder("scripts");
  databuilder::BuildDataFile(databuilder::ReadBuildSources(VPL_SOURCE_DATA_DIR),
                             *databuilder::FindDataFile("Hd.mms"), built);
  const UUDirectory directory(vpl::platform::ToWindowsPath(built.string()).c_str());
  int64_t sum = 0;
  ReportRatioOverFloor(
      state,
      [&] {
        const std::vector<char> bytes = ReadAll(built / "Hd.mms");
        for (char byte : bytes) sum += byte;
      },
      [&] {
        MMScriptLoader* loader = MMOpenScriptFile(directory, "Hd.mms");
        const int16_t entries = loader->GetFile()->GetSubfileCount();
        for (int16_t entry = 0; entry < entries; ++entry) {
          const MMScript script(MMMakeScriptId(loader, entry));
          for (int32_t row = 0; row < script.GetRowCount(); ++row) sum += script.GetInt16(row, 0);
        }
        delete loader;
      });
  benchmark::DoNotOptimize(sum);
  std::filesystem::remove_all(built);
}
BENCHMARK(BM_ReadEveryScriptOverPlainRead)->Unit(benchmark::kMillisecond);

}  // namespace
