#pragma once
// The intro's pages: each row of the page table (script 1) is a page that
// may play a film; the pages turn when a film ends, a key jumps to the
// last page and a second key (or a page past the last) asks the stage for
// the creation act. The end button is only a picture that moves with the
// pages. Stage thread only.

#include "foundation/uu/UUCallback.h"
#include "mm/resources/MMCollectionRegistry.h"
#include "mm/stage/MMScene.h"
#include "mm/tasks/MMTaskCallback.h"

#include <cstdint>
#include <memory>

class MM2DFilmPlayerMolecule;
class MM2DMouseVisualMolecule;
class MM2DPictureButtonMolecule;
class MMEnclosure;
class VPLIntroThread;

class VPLSceneIntro : public MMScene {
 public:
  // Row 1 names the end button's picture; row n places it on page n.
  static constexpr MMResourceId kPictureScript = 0;
  // Row n holds the film entry of page n; -1 for a page without film.
  static constexpr MMResourceId kPageScript = 1;
  static constexpr uint32_t kNoFilm = 0xFFFFFFFF;
  static constexpr int32_t kClickAreaDepth = 1500;
  static constexpr int32_t kFilmDepth = 1250;
  static constexpr int32_t kEndButtonDepth = 1000;

  VPLSceneIntro(MMSceneServices* host, MMEnclosure* enclosure);
  ~VPLSceneIntro() override;

  // Any key skips; the key counts as handled.
  bool HandleKey(const MMKeyEvent& event) override;

  void ShowNextPage();
  // To the last page, or past it when already there.
  void SkipIntro();
  void EndIntro();

  int32_t GetPage() const { return mPage; }
  MM2DFilmPlayerMolecule& GetFilmPlayer() const { return *mFilmPlayer; }
  MM2DPictureButtonMolecule& GetEndButton() const { return *mEndButton; }

 private:
  MMTaskCallback Bind(void (VPLSceneIntro::*action)());
  void PlaceEndButton();
  // False when the page's film would not open.
  bool PlayPageFilm();
  void EndIntroLater();
  void OnPresented();
  void HidePointer();

  std::unique_ptr<MM2DMouseVisualMolecule> mClickArea;
  std::unique_ptr<MM2DFilmPlayerMolecule> mFilmPlayer;
  int32_t mPage = 0;
  std::unique_ptr<MM2DPictureButtonMolecule> mEndButton;
  std::unique_ptr<VPLIntroThread> mPageThread;
  bool mEndAfterPresent = false;
  std::unique_ptr<UUCallback> mPresented{
      new UUClassCallback<VPLSceneIntro, void (VPLSceneIntro::*)()>(this,
                                                                    &VPLSceneIntro::OnPresented)};
};
