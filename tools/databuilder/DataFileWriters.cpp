#include "tools/databuilder/DataFileWriters.h"

#include "foundation/af/AFError.h"
#include "foundation/uu/UUMemory.h"
#include "media/films/MM2DFilmResourceFile.h"
#include "media/sound/MMSoundFileWriter.h"
#include "mm/drawing/MMImageDescription.h"
#include "mm/resources/MMPictureResourceFile.h"
#include "mm/resources/MMScriptFile.h"
#include "mm3d/MM3DCompiledTextureModDatabase.h"
#include "mm3d/MM3DModelResourceFile.h"
#include "mm3d/MM3DTextureResourceFile.h"
#include "tools/databuilder/BuildError.h"

#include <string>

namespace databuilder {

namespace {

constexpr int16_t kCollection = 0;
constexpr int16_t kScriptCodePage = 1252;
constexpr int32_t kSoundRateCode22050 = 1;
constexpr int32_t kStreamMode = 1;
constexpr int32_t kStreamHeadDivisor = 4;
// Room for the largest model file the modelling library makes.
constexpr int32_t kModelScratchSize = 16 << 20;

void Check(bool good, const char* name, const char* what) {
  if (!good) {
    throw BuildError(std::string(name) + ": the writer failed " + what + " (" +
                     std::string(AFGetErrorName(AFGetErrorCode())) + ")");
  }
}

int32_t EndOfFile(MMGenericResourceFile& file) {
  int32_t position = 0;
  file.GetFile().Seek(0, kUUSeekFromEnd, &position);
  return position;
}

// Appends a subfile's bytes at the end and records where it starts.
bool AppendSubfile(MMGenericResourceFile& file, int16_t i, const void* data, size_t size) {
  return file.SetSubfileOffset(i, EndOfFile(file)) &&
         (size == 0 || file.GetFile().Write(data, static_cast<uint32_t>(size)));
}

int32_t NameBlockSize(const std::vector<std::string>& names) {
  size_t size = 0;
  for (const std::string& name : names) size += name.size() + 1;
  return static_cast<int32_t>(size);
}

bool WriteScriptHeader(MMScriptFile& file, const BuiltScripts& scripts) {
  const auto layoutCount = static_cast<int16_t>(scripts.mLayouts.size());
  std::vector<std::string> layoutNames;
  std::vector<std::string> entryNames;
  for (const RowLayout& layout : scripts.mLayouts) layoutNames.push_back(layout.mName);
  for (const BuiltScript& entry : scripts.mEntries) entryNames.push_back(entry.mName);
  bool good = file.SetLanguage(MMScriptFile::kAnyLanguage) && file.SetCodePage(kScriptCodePage) &&
              file.SetHeaderWord(0) && file.SetLayoutCount(layoutCount) &&
              file.InitLayoutNames(NameBlockSize(layoutNames));
  for (int16_t k = 0; good && k < layoutCount; ++k) {
    good = file.SetLayoutRowSize(k, scripts.mLayouts[static_cast<size_t>(k)].mRowSize) &&
           file.SetLayoutName(k, layoutNames[static_cast<size_t>(k)].c_str());
  }
  good = good && file.InitEntryNames(NameBlockSize(entryNames));
  for (size_t i = 0; good && i < entryNames.size(); ++i) {
    const BuiltScript& entry = scripts.mEntries[i];
    const auto item = static_cast<int16_t>(i);
    good = file.SetEntryName(item, entryNames[i].c_str()) &&
           file.SetEntryRowCount(item, static_cast<int16_t>(entry.mRowCount)) &&
           file.SetEntryLayout(item, entry.mLayout);
  }
  return good;
}

}  // namespace

void WriteScriptFile(const UUDirectory& directory, const char* name, const BuiltScripts& scripts) {
  MMScriptFile file;
  const auto count = static_cast<int16_t>(scripts.mEntries.size());
  Check(file.Create(directory, name, UUFileOptions(), count, kCollection), name, "to create");
  Check(WriteScriptHeader(file, scripts), name, "on the tables");
  for (int16_t i = 0; i < count; ++i) {
    const BuiltScript& entry = scripts.mEntries[static_cast<size_t>(i)];
    std::vector<uint8_t> bytes = entry.mRows;
    bytes.insert(bytes.end(), entry.mTexts.begin(), entry.mTexts.end());
    Check(AppendSubfile(file, i, bytes.data(), bytes.size()), name, "on a script");
  }
  Check(file.RecordEndOffset() && file.Close(true), name, "to close");
}

void WritePictureFile(const UUDirectory& directory, const char* name, const Manifest& manifest,
                      const std::vector<BuiltPicture>& pictures) {
  MMPictureResourceFile file;
  const auto count = static_cast<int16_t>(pictures.size());
  Check(file.Create(directory, name, UUFileOptions(), count, kCollection), name, "to create");
  for (int16_t i = 0; i < count; ++i) {
    const BuiltPicture& picture = pictures[static_cast<size_t>(i)];
    const std::string subfile = manifest.GetSubfileName(ItemKind::kPicture, i);
    Check(file.SetEightBit(i, false) && file.SetSubFormat(i, kMMSubFormatStraight) &&
              file.SetEncoded(i, false) && file.SetSize(i, picture.mWidth, picture.mHeight) &&
              file.SetPaletteSelector(i, 0, 0) && file.SetUnpackedSize(i, 0) &&
              file.SetSubfileName(i, subfile.c_str()),
          name, "on the picture table");
  }
  Check(file.RewriteHeader(), name, "on the header");
  for (int16_t i = 0; i < count; ++i) {
    const std::vector<uint8_t>& pixels = pictures[static_cast<size_t>(i)].mPixels;
    Check(AppendSubfile(file, i, pixels.data(), pixels.size()), name, "on a picture");
  }
  Check(file.RecordEndOffset() && file.Close(true), name, "to close");
}

void WriteSoundFile(const UUDirectory& directory, const char* name, const Manifest& manifest,
                    const std::vector<BuiltSound>& sounds) {
  std::vector<std::string> names;
  std::vector<MMSoundFileEntry> entries;
  for (size_t i = 0; i < sounds.size(); ++i) {
    names.push_back(manifest.GetSubfileName(ItemKind::kSound, static_cast<int32_t>(i)));
  }
  for (size_t i = 0; i < sounds.size(); ++i) {
    MMSoundFileEntry entry;
    entry.mName = names[i].c_str();
    entry.mPcm = sounds[i].mSamples.data();
    entry.mPcmBytes = static_cast<int32_t>(sounds[i].mSamples.size() * 2);
    entry.mRateCode = kSoundRateCode22050;
    entry.m16Bit = true;
    entry.mStreamMode = sounds[i].mStreamed ? kStreamMode : 0;
    entry.mHeadDivisor = sounds[i].mStreamed ? kStreamHeadDivisor : 0;
    entries.push_back(entry);
  }
  Check(MMWriteSoundResourceFile(directory, name, kCollection, entries.data(),
                                 static_cast<int16_t>(entries.size()), kUUNativeByteOrder),
        name, "on the sounds");
}

// Films of 32-bit frames over the whole window, without palette, each
// with one 22050 Hz (rate code 1) 16-bit mono track.
void WriteFilmFile(const UUDirectory& directory, const char* name, const Manifest& manifest,
                   const std::vector<BuiltFilm>& films) {
  MM2DFilmResourceFile file;
  const auto count = static_cast<int16_t>(films.size());
  Check(file.Create(directory, name, UUFileOptions(), count, kCollection), name, "to create");
  for (int16_t i = 0; i < count; ++i) {
    const BuiltFilm& film = films[static_cast<size_t>(i)];
    const std::string subfile = manifest.GetSubfileName(ItemKind::kFilm, i);
    Check(file.SetPalettized(i, 0) && file.SetPaletteKind(i, 0, 0) &&
              file.SetRectangle(i, UURect(0, 0, kFilmWidth, kFilmHeight)) &&
              file.SetWorkBufferSize(i, film.mWorkBufferSize) && file.SetSoundTrackCount(i, 1) &&
              file.SetSoundRateCode(i, 0, 1) && file.SetSound16Bit(i, 0, 1) &&
              file.SetSoundLeadTime(i, kFilmSoundLeadMilliseconds) &&
              file.SetPreloadSize(i, film.mPreloadSize) && file.SetDataRate(i, film.mDataRate) &&
              file.SetSubfileName(i, subfile.c_str()),
          name, "on the film table");
  }
  Check(file.RewriteHeader(), name, "on the header");
  for (int16_t i = 0; i < count; ++i) {
    const std::vector<uint8_t>& chunks = films[static_cast<size_t>(i)].mChunks;
    Check(AppendSubfile(file, i, chunks.data(), chunks.size()), name, "on a film");
  }
  Check(file.RecordEndOffset() && file.Close(true), name, "to close");
}

void WriteTextureFile(const UUDirectory& directory, const char* name, const Manifest& manifest,
                      const std::vector<BuiltTexture>& textures) {
  MM3DTextureResourceFile file;
  const auto count = static_cast<int16_t>(textures.size());
  Check(file.Create(directory, name, UUFileOptions(), count, kCollection), name, "to create");
  for (int16_t i = 0; i < count; ++i) {
    const BuiltTexture& texture = textures[static_cast<size_t>(i)];
    const std::string subfile = manifest.GetSubfileName(ItemKind::kTexture, i);
    Check(file.SetSize(i, texture.mWidth, texture.mHeight) && file.SetAlpha(i, texture.mAlpha) &&
              file.SetFormat(i, true, 0) &&
              file.WriteTexels(i, subfile.c_str(), nullptr, texture.mTexels.data()),
          name, "on a texture");
  }
  Check(file.RecordEndOffset() && file.Close(true), name, "to close");
}

void WriteModelFile(const UUDirectory& directory, const char* name, const Manifest& manifest,
                    const std::vector<UURefCount<MM3DModel>>& models) {
  MM3DModelResourceFile file;
  const auto count = static_cast<int16_t>(models.size());
  Check(file.Create(directory, name, UUFileOptions(), count, kCollection) && file.SetEntryCount(0),
        name, "to create");
  std::vector<uint8_t> scratch(kModelScratchSize);
  UUMemory memory(scratch.data(), kModelScratchSize);
  for (int16_t i = 0; i < count; ++i) {
    MM3DCompiledTextureModDatabase database;
    const std::string subfile = manifest.GetSubfileName(ItemKind::kModel, i);
    Check(file.WriteModel(i, subfile.c_str(), models[static_cast<size_t>(i)], database, memory),
          name, ("on model " + subfile).c_str());
  }
  Check(file.RecordEndOffset() && file.Close(true), name, "to close");
}

}  // namespace databuilder
