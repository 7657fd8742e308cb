// The intro's films hold what the builder drew: every frame of both films,
// decoded with the program's own film reader, is the frame drawn again
// from the sources; the frames move; a few are kept as pictures to look at
// when VPL_SCREENSHOT_DIR is set.

#include "tests/content/ContentTestSupport.h"
#include "tools/databuilder/BuildSources.h"
#include "tools/databuilder/FilmStage.h"
#include "tools/databuilder/check/FilmChecks.h"
#include "tools/databuilder/check/ScreenShot.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

namespace {

using content_fixtures::DataDirectory;
using content_fixtures::SourceDirectory;

void KeepFrame(const databuilder::FilmFrame& frame, const std::string& name) {
  const char* folder = std::getenv("VPL_SCREENSHOT_DIR");
  if (folder == nullptr || *folder == '\0') return;
  content_check::ScreenPicture picture{databuilder::kFilmWidth, databuilder::kFilmHeight, {}};
  for (size_t i = 0; i + 3 < frame.size(); i += 4) {
    picture.mPixels.push_back(static_cast<uint32_t>(frame[i + 2]) << 16 |
                              static_cast<uint32_t>(frame[i + 1]) << 8 | frame[i]);
  }
  EXPECT_TRUE(content_check::WritePng(picture, std::filesystem::path(folder) / (name + ".png")));
}

TEST(FilmTest, EveryFrameDecodesToTheFrameTheBuilderDrew) {
  const databuilder::BuildSources sources = databuilder::ReadBuildSources(SourceDirectory());
  for (int16_t film = 0; film < 2; ++film) {
    const content_check::DecodedFilm decoded = content_check::DecodeFilm(DataDirectory(), film);
    EXPECT_TRUE(decoded.mFindings.empty()) << decoded.mFindings.front();
    const std::vector<databuilder::FilmFrame> drawn =
        databuilder::DrawFilmFrames(sources, film, DataDirectory());
    ASSERT_EQ(decoded.mFrameHashes.size(), drawn.size()) << "film " << film;
    std::set<uint64_t> different;
    for (size_t k = 0; k < drawn.size(); ++k) {
      ASSERT_EQ(decoded.mFrameHashes[k], content_check::HashFrame(drawn[k]))
          << "film " << film << " frame " << k;
      different.insert(decoded.mFrameHashes[k]);
      if (k % 30 == 0) KeepFrame(drawn[k], "film" + std::to_string(film) + "-" + std::to_string(k));
    }
    // Something moves all the way through.
    EXPECT_GT(different.size(), drawn.size() * 2 / 3) << "film " << film;
  }
}

}  // namespace
