#pragma once
// A scroll grid: a window of columns x rows cells over a longer list of
// items, with a back and a forward button. Scrolling keeps the cells and
// gives them other items: a cell whose item stays in view takes the look
// of the cell that showed it, the others are filled afresh by the concrete
// grid. Offsets stay within the list, whatever the layout or the list.

#include "app/objects/VPLObjEventGrp.h"

#include <memory>

enum ScrollDirection : int16_t { kScrollBack = 0, kScrollForward = 1 };

class VPLObjEventGrpCtrlScroll : public VPLObjEventGrpCtrl {
 public:
  // The layout's tags of a grid.
  enum LayoutTag : int16_t {
    kColumnsTag = 2,
    kRowsTag = 3,
    kColumnStepTag = 4,
    kBackButtonTag = 5,
    kForwardButtonTag = 6
  };

  // Reads the grid's shape and builds its buttons; the cells come with
  // Build.
  VPLObjEventGrpCtrlScroll(MMScene* scene, const UURefCount<MM3DModel>& model, MMResourceId layout,
                           const MMTaskCallback& callback = MMTaskCallback());
  ~VPLObjEventGrpCtrlScroll() override;

  virtual bool ScrollBack();
  virtual bool ScrollForward();
  virtual bool PageBack();
  virtual bool PageForward();
  virtual void UpdateScrollButtons();
  virtual void ShiftCells(ScrollDirection direction);
  virtual void CopyItemLook(int16_t from, int16_t to);
  virtual void Refresh();
  // Shows item n (n may lie past the items) in the cell.
  virtual void FillCell(int16_t cell, int16_t n) = 0;

  // The cells, then a refresh.
  void Build(const MMTaskCallback& callback) override;
  using VPLObjEventGrpCtrl::Build;
  bool HitTest(const VPLSegment& ray) const override;
  VPLObjEvent* FindChild(const VPLPickEvent& event, bool deep) override;
  // The arrows' callback: one scroll, the looks moved, the grid's callback.
  void OnScroll(ScrollDirection direction);
  void SetOffset(int16_t offset);
  bool CanScrollForward() const { return mOffset < ForwardLimit(); }

  int16_t GetOffset() const { return mOffset; }
  int16_t GetItemCount() const { return mItemCount; }
  int16_t GetPage() const { return static_cast<int16_t>(mColumns * mRows); }
  void SetSingleStep(bool single) { mSingleStep = single; }
  void SetWrap(bool wrap) { mWrap = wrap; }
  void SetPartialPages(bool partial) { mPartialPages = partial; }
  VPLUpAlphaHiliteObject* GetBackButton() const { return mBackButton.get(); }
  VPLUpAlphaHiliteObject* GetForwardButton() const { return mForwardButton.get(); }

 protected:
  void ApplyVisibility(MMVisibility visibility) override;
  void SetItemCount(int16_t count) { mItemCount = count; }
  int16_t Line() const { return mColumnStep ? mRows : mColumns; }
  int16_t Step() const { return mSingleStep ? static_cast<int16_t>(1) : Line(); }

 private:
  std::unique_ptr<VPLUpAlphaHiliteObject> MakeArrow(MMResourceId definition,
                                                    ScrollDirection direction);
  int16_t ForwardLimit() const;
  // The last offset a scroll may reach.
  int16_t LastOffset() const;
  static void Show(VPLObj* button, bool shown);

  std::unique_ptr<VPLUpAlphaHiliteObject> mBackButton;
  std::unique_ptr<VPLUpAlphaHiliteObject> mForwardButton;
  int16_t mPreviousOffset = 0;
  int16_t mColumns = 1;
  int16_t mRows = 1;
  bool mColumnStep = true;
  bool mSingleStep = false;
  bool mWrap = false;
  bool mPartialPages = false;
  int16_t mOffset = 0;
  int16_t mItemCount = 0;
  MMTaskCallback mScrolled;
};
