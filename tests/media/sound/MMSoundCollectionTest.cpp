#include "media/sound/MMSoundCollection.h"

#include "media/sound/MMSoundLoader.h"
#include "media/sound/MMSoundReference.h"
#include "tests/media/sound/SoundTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using namespace resource_fixtures;
using namespace sound_fixtures;

// Two sound files, numbered 3 and 9 (the first number beyond the registry's
// direct slots but one).
class MMSoundCollectionTest : public SoundFileTest {
 protected:
  void SetUp() override {
    SoundFileTest::SetUp();
    MMSoundFileEntry enveloped = Entry(mPcm, 1, true, false);
    enveloped.mEnvelope = true;
    WriteSounds(mName, {Entry(mPcm, 0, true, true), enveloped}, kUUNativeByteOrder, 3);
    WriteSounds(mOther, {Entry(mPcm, 0, false, false)}, kUUNativeByteOrder, 9);
    mThree = MMOpenSoundResourceFile(TempDirectory(), mName.c_str(), false);
    mNine = MMOpenSoundResourceFile(TempDirectory(), mOther.c_str(), false);
    ASSERT_NE(mThree, nullptr);
    ASSERT_NE(mNine, nullptr);
  }
  void TearDown() override {
    MMDestroySoundCollections();
    Remove(mOther);
    SoundFileTest::TearDown();
  }
  int16_t References(MMSoundCollection* collection, int16_t item) {
    return collection->GetReferenceManager()->ReferenceCount(item);
  }

  const Pcm mPcm = Ramp16(2205);
  std::string mOther = FileName("other.mma");
  MMSoundLoader* mThree = nullptr;
  MMSoundLoader* mNine = nullptr;
};

TEST_F(MMSoundCollectionTest, IdsNameRegisteredCollections) {
  EXPECT_EQ(MMMakeSoundId(mThree, 5), (3 << 16) | 5);
  EXPECT_EQ(MMMakeSoundId(mNine, 0), 9 << 16);
  EXPECT_EQ(MMFindSoundCollection(3 << 16 | 1), mThree);
  EXPECT_EQ(MMFindSoundCollection(9 << 16), mNine);
  EXPECT_EQ(MMFindSoundCollection(4 << 16), nullptr);
  EXPECT_EQ(MMMakeSoundId(nullptr, 0), kMMNoResource);
  delete mNine;
  EXPECT_EQ(MMFindSoundCollection(9 << 16), nullptr);
}

TEST_F(MMSoundCollectionTest, IdFunctionsReachTheCollectionsItems) {
  const MMResourceId id = MMMakeSoundId(mThree, 1);
  MMAddSoundReference(id);
  MMAddSoundReference(id);
  EXPECT_EQ(References(mThree, 1), 2);
  MMReleaseSoundReference(id);
  EXPECT_EQ(References(mThree, 1), 1);
  MMLoadSound(id);
  EXPECT_TRUE(mThree->GetCache().HasMemory(1));
  MMPurgeSound(id);
  EXPECT_FALSE(mThree->GetCache().HasMemory(1));
  // Ids of no collection, or beyond its items, do nothing.
  MMAddSoundReference(4 << 16);
  MMAddSoundReference(3 << 16 | 2);
  MMLoadSound(kMMNoResource);
  MMReleaseSoundReference(id);
}

TEST_F(MMSoundCollectionTest, DestroyDeletesEveryCollection) {
  MMDestroySoundCollections();
  EXPECT_EQ(MMSoundRegistry().Count(), 0);
  EXPECT_EQ(MMFindSoundCollection(3 << 16), nullptr);
  EXPECT_EQ(MMFindSoundCollection(9 << 16), nullptr);
}

TEST_F(MMSoundCollectionTest, ReferenceCountsAndAnswersForItsSound) {
  {
    const MMSoundReference reference(MMMakeSoundId(mThree, 1));
    ASSERT_FALSE(reference.IsEmpty());
    EXPECT_EQ(References(mThree, 1), 1);
    const MMSoundReference copy = reference;
    EXPECT_EQ(References(mThree, 1), 2);
    EXPECT_EQ(reference.GetId(), 3 << 16 | 1);
    EXPECT_EQ(reference.GetFormat().mBits, 0x0Au);
    EXPECT_EQ(reference.GetInfo(), 100);  // 2205 samples at 22050 Hz
    EXPECT_EQ(reference.GetSize(), 4410);
    EXPECT_TRUE(reference.HasEnvelope());
    EXPECT_EQ(reference.ReadEnvelope().GetCount(), 3);
    std::unique_ptr<MMSoundSource> source(reference.CreateSource());
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->GetFormat(), reference.GetFormat());
  }
  EXPECT_EQ(References(mThree, 1), 0);
}

TEST_F(MMSoundCollectionTest, ReferenceToNothingIsEmpty) {
  for (const MMSoundReference& reference :
       {MMSoundReference(), MMSoundReference(kMMNoResource), MMSoundReference(4 << 16),
        MMSoundReference(mThree, 2), MMSoundReference(nullptr, 0)}) {
    EXPECT_TRUE(reference.IsEmpty());
    EXPECT_EQ(reference.GetId(), kMMNoResource);
    EXPECT_EQ(reference.GetSize(), 0);
    EXPECT_EQ(reference.CreateSource(), nullptr);
    EXPECT_TRUE(reference.ReadEnvelope().IsEmpty());
  }
}

}  // namespace
