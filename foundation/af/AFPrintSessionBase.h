#pragma once
// One print job on the system's default printer, opened without a dialog:
// the printer, a document, the pages of the page range in the number of
// copies, each drawn by the subclass, then the document ended and the
// printer released. Every step has a hook; a failure, or a hook that ends
// the job, unwinds what is open in order (page, document, printer), so no
// job leaves a printer or a document behind. A session may run several
// jobs; each opens and releases the printer again.

#include "foundation/af/AFPalette.h"
#include "foundation/uu/UUPoint.h"
#include "foundation/uu/UURect.h"
#include "platform/win32/print.h"

#include <cstdint>

class AFPrintSessionBase {
 public:
  // What a job and its hooks answer; a hook answering anything but
  // kPrintDone ends the job with its answer.
  enum PrintResult : int32_t { kPrintDone = 0, kPrintFailed = 3, kPrintPageFailed = 5 };
  enum State : int32_t { kIdle = 0, kPrinterOpen = 1, kDocumentStarted = 2, kPageStarted = 3 };

  explicit AFPrintSessionBase(const AFPalette& palette);
  // Releases whatever printer the session still holds.
  virtual ~AFPrintSessionBase();
  AFPrintSessionBase(const AFPrintSessionBase&) = delete;
  AFPrintSessionBase& operator=(const AFPrintSessionBase&) = delete;

  // Runs the job: kPrintDone, kPrintFailed, kPrintPageFailed or a hook's
  // answer. Nothing runs when PreparePrinting refuses (kPrintFailed).
  virtual int32_t Print(const char* documentName);
  // Asks for the default printer and makes its device context.
  virtual int32_t OpenPrinter(const char* documentName);
  // The base prints one copy of page 1.
  virtual int32_t OnDocumentStarted(const char* documentName);
  virtual int32_t OnPageStarted(int32_t page);
  virtual int32_t OnPageEnded(int32_t page);
  virtual int32_t OnDocumentEnded(const char* documentName);
  // Deletes the device context and frees the printer's settings and names;
  // a second release finds nothing to do.
  virtual int32_t ReleasePrinter(const char* documentName);
  // Draws one page into the device context; false abandons the job.
  virtual bool PrintPage(int32_t page) = 0;
  virtual bool PreparePrinting();
  // Runs once at the end of every job that PreparePrinting let start.
  virtual void FinishPrinting();

  // from is also the lowest page and to the highest.
  void SetPageRange(int32_t from, int32_t to);
  void GetPageRange(int32_t& from, int32_t& to) const;
  void SetCopies(int32_t copies);
  int32_t GetCopies() const;
  bool HasPrinter() const { return mDC != nullptr; }
  HDC GetDC() const { return mDC; }
  const AFPalette& GetPalette() const { return mPalette; }
  int32_t GetState() const { return mState; }

  // Change the printer's settings; RecreateDC makes them take effect.
  void SetOrientation(bool landscape);
  void SetResolution(int32_t x, int32_t y);
  // The largest resolution the printer offers with equal horizontal and
  // vertical values. False, leaving the settings as they are, when the
  // printer offers none, more than 100, a value outside 1 to 30000 or no
  // square one.
  bool SelectHighestSquareResolution();
  bool RecreateDC();

  // Dots per inch, x horizontal and y vertical.
  UUPoint GetResolution() const;
  // In device pixels. Unless landscape is allowed, a page wider than high
  // is given upright.
  UURect GetPaperRect(bool allowLandscape) const;
  UURect GetPrintableArea(bool allowLandscape) const;
  UURect GetPaperSizeInTenthsOfMillimetre(bool allowLandscape) const;
  UURect GetPrintableAreaInTenthsOfMillimetre(bool allowLandscape) const;

  // The largest rectangle with the proportions of aspect, centred in
  // target; an aspect without proportions (no width or height) fits as
  // the empty rectangle at the target's corner.
  static UURect FitRect(const UURect& aspect, const UURect& target);

 protected:
  int32_t mState = kIdle;
  AFPalette mPalette;
  HDC mDC = nullptr;
  PRINTDLGA mPrintDialog{};

 private:
  int32_t RunJob(const char* documentName);
  int32_t PrintCopies();
  int32_t PrintOnePage(int32_t page);
  int32_t EndJob(const char* documentName);
  // Ends the job with result after unwinding what is open.
  int32_t Abandon(int32_t result);
  void Unwind();
  void CreatePrinterDC();
  void FreePrinter();
};
