#include "foundation/af/AFPrintSessionBase.h"

#include <utility>

namespace {

constexpr int32_t kMaxResolutions = 100;
constexpr LONG kMaxResolution = 30000;
constexpr int32_t kTenthsOfMillimetrePerInch = 254;
constexpr int32_t kFirstPage = 1;

// A global block locked for as long as this lives; null for a missing or
// dead block.
template <typename T>
class LockedGlobal {
 public:
  explicit LockedGlobal(HGLOBAL block)
      : mBlock(block), mData(block != nullptr ? static_cast<T*>(GlobalLock(block)) : nullptr) {}
  ~LockedGlobal() {
    if (mData != nullptr) GlobalUnlock(mBlock);
  }
  LockedGlobal(const LockedGlobal&) = delete;
  LockedGlobal& operator=(const LockedGlobal&) = delete;

  T* Get() const { return mData; }

 private:
  HGLOBAL mBlock;
  T* mData;
};

// The driver, device and output names that follow a DEVNAMES record.
struct PrinterNames {
  explicit PrinterNames(HGLOBAL block) : mLocked(block) {}
  bool Valid() const { return mLocked.Get() != nullptr; }
  const char* Name(WORD DEVNAMES::*offset) const {
    const auto* names = reinterpret_cast<const DEVNAMES*>(mLocked.Get());
    return mLocked.Get() + names->*offset;
  }

  LockedGlobal<char> mLocked;
};

int32_t ToTenthsOfMillimetre(int32_t pixels, int32_t dotsPerInch) {
  return dotsPerInch > 0 ? pixels * kTenthsOfMillimetrePerInch / dotsPerInch : 0;
}

UURect ToTenthsOfMillimetre(const UURect& rect, UUPoint dotsPerInch) {
  return UURect(ToTenthsOfMillimetre(rect.mLeft, dotsPerInch.mX),
                ToTenthsOfMillimetre(rect.mTop, dotsPerInch.mY),
                ToTenthsOfMillimetre(rect.mRight, dotsPerInch.mX),
                ToTenthsOfMillimetre(rect.mBottom, dotsPerInch.mY));
}

bool IsValidResolution(LONG value) { return value >= 1 && value <= kMaxResolution; }

}  // namespace

AFPrintSessionBase::AFPrintSessionBase(const AFPalette& palette) : mPalette(palette) {}

AFPrintSessionBase::~AFPrintSessionBase() { FreePrinter(); }

int32_t AFPrintSessionBase::Print(const char* documentName) {
  if (!PreparePrinting()) return kPrintFailed;
  const int32_t result = RunJob(documentName);
  FinishPrinting();
  return result;
}

int32_t AFPrintSessionBase::RunJob(const char* documentName) {
  mState = kPrinterOpen;
  int32_t result = OpenPrinter(documentName);
  if (result != kPrintDone) return Abandon(result);
  DOCINFOA document{};
  document.cbSize = sizeof document;
  document.lpszDocName = documentName;
  if (StartDocA(mDC, &document) <= 0) return Abandon(kPrintFailed);
  mState = kDocumentStarted;
  result = OnDocumentStarted(documentName);
  if (result != kPrintDone) return Abandon(result);
  result = PrintCopies();
  if (result != kPrintDone) return result;
  return EndJob(documentName);
}

// The copies and the page range are read now: OnDocumentStarted sets them.
int32_t AFPrintSessionBase::PrintCopies() {
  for (int32_t copy = 0; copy < mPrintDialog.nCopies; ++copy) {
    for (int32_t page = mPrintDialog.nFromPage; page <= mPrintDialog.nToPage; ++page) {
      const int32_t result = PrintOnePage(page);
      if (result != kPrintDone) return result;
    }
  }
  return kPrintDone;
}

int32_t AFPrintSessionBase::PrintOnePage(int32_t page) {
  if (StartPage(mDC) <= 0) return Abandon(kPrintFailed);
  mState = kPageStarted;
  int32_t result = OnPageStarted(page);
  if (result != kPrintDone) return Abandon(result);
  if (!PrintPage(page)) return Abandon(kPrintPageFailed);
  mState = kDocumentStarted;
  if (EndPage(mDC) <= 0) return Abandon(kPrintFailed);
  result = OnPageEnded(page);
  return result == kPrintDone ? kPrintDone : Abandon(result);
}

int32_t AFPrintSessionBase::EndJob(const char* documentName) {
  mState = kPrinterOpen;
  if (EndDoc(mDC) <= 0) return Abandon(kPrintFailed);
  const int32_t result = OnDocumentEnded(documentName);
  if (result != kPrintDone) return Abandon(result);
  mState = kIdle;
  return ReleasePrinter(documentName);
}

int32_t AFPrintSessionBase::Abandon(int32_t result) {
  Unwind();
  return result;
}

// A step that fails on the way unwinds again from the state it reached.
void AFPrintSessionBase::Unwind() {
  AbortDoc(mDC);
  if (mState == kPageStarted) {
    mState = kDocumentStarted;
    if (EndPage(mDC) <= 0) return Unwind();
    OnPageEnded(kFirstPage);
  }
  if (mState == kDocumentStarted) {
    mState = kPrinterOpen;
    if (EndDoc(mDC) <= 0) return Unwind();
    OnDocumentEnded("");
  }
  mState = kIdle;
  ReleasePrinter("");
}

int32_t AFPrintSessionBase::OpenPrinter(const char*) {
  FreePrinter();
  mPrintDialog = PRINTDLGA{};
  // Its handles are pointer-sized in 64-bit builds: the record is larger
  // than the 66 bytes of 32-bit ones.
  mPrintDialog.lStructSize = sizeof(PRINTDLGA);
  mPrintDialog.Flags = PD_RETURNDEFAULT;
  if (!PrintDlgA(&mPrintDialog)) return kPrintFailed;
  if (mPrintDialog.hDevMode == nullptr && mPrintDialog.hDevNames != nullptr) {
    GlobalFree(mPrintDialog.hDevNames);
    mPrintDialog.hDevNames = nullptr;
  }
  CreatePrinterDC();
  return kPrintDone;
}

void AFPrintSessionBase::CreatePrinterDC() {
  PrinterNames names(mPrintDialog.hDevNames);
  LockedGlobal<DEVMODEA> mode(mPrintDialog.hDevMode);
  if (!names.Valid()) return;
  mDC = CreateDCA(names.Name(&DEVNAMES::wDriverOffset), names.Name(&DEVNAMES::wDeviceOffset),
                  names.Name(&DEVNAMES::wOutputOffset), mode.Get());
}

int32_t AFPrintSessionBase::OnDocumentStarted(const char*) {
  SetCopies(1);
  SetPageRange(kFirstPage, kFirstPage);
  return kPrintDone;
}

int32_t AFPrintSessionBase::OnPageStarted(int32_t) { return kPrintDone; }

int32_t AFPrintSessionBase::OnPageEnded(int32_t) { return kPrintDone; }

int32_t AFPrintSessionBase::OnDocumentEnded(const char*) { return kPrintDone; }

int32_t AFPrintSessionBase::ReleasePrinter(const char*) {
  FreePrinter();
  return kPrintDone;
}

void AFPrintSessionBase::FreePrinter() {
  if (mDC != nullptr) DeleteDC(std::exchange(mDC, nullptr));
  if (mPrintDialog.hDevMode != nullptr) GlobalFree(std::exchange(mPrintDialog.hDevMode, nullptr));
  if (mPrintDialog.hDevNames != nullptr) {
    GlobalFree(std::exchange(mPrintDialog.hDevNames, nullptr));
  }
}

bool AFPrintSessionBase::PreparePrinting() { return true; }

void AFPrintSessionBase::FinishPrinting() {}

void AFPrintSessionBase::SetPageRange(int32_t from, int32_t to) {
  mPrintDialog.nFromPage = mPrintDialog.nMinPage = static_cast<WORD>(from);
  mPrintDialog.nToPage = mPrintDialog.nMaxPage = static_cast<WORD>(to);
}

void AFPrintSessionBase::GetPageRange(int32_t& from, int32_t& to) const {
  from = mPrintDialog.nFromPage;
  to = mPrintDialog.nToPage;
}

void AFPrintSessionBase::SetCopies(int32_t copies) {
  mPrintDialog.nCopies = static_cast<WORD>(copies);
}

int32_t AFPrintSessionBase::GetCopies() const { return mPrintDialog.nCopies; }

void AFPrintSessionBase::SetOrientation(bool landscape) {
  LockedGlobal<DEVMODEA> mode(mPrintDialog.hDevMode);
  if (mode.Get() == nullptr) return;
  mode.Get()->dmOrientation = landscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
  mode.Get()->dmFields |= DM_ORIENTATION;
}

void AFPrintSessionBase::SetResolution(int32_t x, int32_t y) {
  LockedGlobal<DEVMODEA> mode(mPrintDialog.hDevMode);
  if (mode.Get() == nullptr) return;
  mode.Get()->dmPrintQuality = static_cast<SHORT>(x);
  mode.Get()->dmYResolution = static_cast<SHORT>(y);
  mode.Get()->dmFields |= DM_PRINTQUALITY | DM_YRESOLUTION;
}

bool AFPrintSessionBase::SelectHighestSquareResolution() {
  LONG best = 0;
  {
    PrinterNames names(mPrintDialog.hDevNames);
    LockedGlobal<DEVMODEA> mode(mPrintDialog.hDevMode);
    if (!names.Valid() || mode.Get() == nullptr) return false;
    const char* device = names.Name(&DEVNAMES::wDeviceOffset);
    const char* port = names.Name(&DEVNAMES::wOutputOffset);
    const int count = DeviceCapabilitiesA(device, port, DC_ENUMRESOLUTIONS, nullptr, mode.Get());
    if (count < 1 || count > kMaxResolutions) return false;
    LONG resolutions[2 * kMaxResolutions];
    if (DeviceCapabilitiesA(device, port, DC_ENUMRESOLUTIONS, reinterpret_cast<LPSTR>(resolutions),
                            mode.Get()) != count) {
      return false;
    }
    for (int i = 0; i < count; ++i) {
      const LONG x = resolutions[2 * i], y = resolutions[2 * i + 1];
      if (!IsValidResolution(x) || !IsValidResolution(y)) return false;
      if (x == y && x > best) best = x;
    }
  }
  // Without a square resolution there is nothing to choose: setting 0
  // would ask the printer for a resolution it cannot have.
  if (best == 0) return false;
  SetResolution(best, best);
  return true;
}

bool AFPrintSessionBase::RecreateDC() {
  if (mDC != nullptr) DeleteDC(std::exchange(mDC, nullptr));
  CreatePrinterDC();
  return mDC != nullptr;
}

UUPoint AFPrintSessionBase::GetResolution() const {
  return UUPoint{GetDeviceCaps(mDC, LOGPIXELSX), GetDeviceCaps(mDC, LOGPIXELSY)};
}

UURect AFPrintSessionBase::GetPaperRect(bool allowLandscape) const {
  int32_t width = GetDeviceCaps(mDC, PHYSICALWIDTH), height = GetDeviceCaps(mDC, PHYSICALHEIGHT);
  if (!allowLandscape && width > height) std::swap(width, height);
  return UURect(0, 0, width, height);
}

UURect AFPrintSessionBase::GetPrintableArea(bool allowLandscape) const {
  const int32_t left = GetDeviceCaps(mDC, PHYSICALOFFSETX);
  const int32_t top = GetDeviceCaps(mDC, PHYSICALOFFSETY);
  UURect area(left, top, left + GetDeviceCaps(mDC, HORZRES), top + GetDeviceCaps(mDC, VERTRES));
  if (!allowLandscape && area.GetWidth() > area.GetHeight()) {
    area = UURect(area.mTop, area.mLeft, area.mBottom, area.mRight);
  }
  return area;
}

UURect AFPrintSessionBase::GetPaperSizeInTenthsOfMillimetre(bool allowLandscape) const {
  return ToTenthsOfMillimetre(GetPaperRect(allowLandscape), GetResolution());
}

UURect AFPrintSessionBase::GetPrintableAreaInTenthsOfMillimetre(bool allowLandscape) const {
  return ToTenthsOfMillimetre(GetPrintableArea(allowLandscape), GetResolution());
}

UURect AFPrintSessionBase::FitRect(const UURect& aspect, const UURect& target) {
  const int64_t aspectWidth = aspect.GetWidth(), aspectHeight = aspect.GetHeight();
  const int64_t targetWidth = target.GetWidth(), targetHeight = target.GetHeight();
  if (aspectWidth <= 0 || aspectHeight <= 0) {
    return UURect(target.mLeft, target.mTop, target.mLeft, target.mTop);
  }
  if (targetWidth * aspectHeight > aspectWidth * targetHeight) {
    const int16_t width = static_cast<int16_t>(aspectWidth * targetHeight / aspectHeight);
    const int32_t left = target.mLeft + (target.GetWidth() - width) / 2;
    return UURect(left, target.mTop, left + width, target.mBottom);
  }
  const int16_t height = static_cast<int16_t>(targetWidth * aspectHeight / aspectWidth);
  const int32_t top = target.mTop + (target.GetHeight() - height) / 2;
  return UURect(target.mLeft, top, target.mRight, top + height);
}
