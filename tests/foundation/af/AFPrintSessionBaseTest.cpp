#include "foundation/af/AFPrintSessionBase.h"

#include "platform/win32/testhooks.h"
#include "tests/platform/win32/PrintFile.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

using vpl::test::PrintFile;

namespace {

constexpr LONG kTestDpi = 75;  // pages of few pixels, quick to write and read back
constexpr int32_t kCancelled = 2;

// Records every step of its jobs; a hook answers what the test sets for it
// and may act on the session first.
class RecordingSession : public AFPrintSessionBase {
 public:
  RecordingSession() : AFPrintSessionBase(AFPalette()) {}

  int32_t OpenPrinter(const char* name) override {
    return Step("open", AFPrintSessionBase::OpenPrinter(name));
  }
  int32_t OnDocumentStarted(const char* name) override {
    return Step("document started", AFPrintSessionBase::OnDocumentStarted(name));
  }
  int32_t OnPageStarted(int32_t page) override {
    return Step("page started " + std::to_string(page), AFPrintSessionBase::OnPageStarted(page));
  }
  int32_t OnPageEnded(int32_t page) override {
    return Step("page ended " + std::to_string(page), AFPrintSessionBase::OnPageEnded(page));
  }
  int32_t OnDocumentEnded(const char* name) override {
    return Step("document ended", AFPrintSessionBase::OnDocumentEnded(name));
  }
  int32_t ReleasePrinter(const char* name) override {
    return Step("release", AFPrintSessionBase::ReleasePrinter(name));
  }
  bool PrintPage(int32_t page) override {
    mPages.push_back(page);
    return Step("print " + std::to_string(page), kPrintDone) == kPrintDone;
  }
  bool PreparePrinting() override { return Step("prepare", kPrintDone) == kPrintDone; }
  void FinishPrinting() override { Step("finish", kPrintDone); }

  // The paper of the printer's settings, in tenths of a millimetre.
  void SetPaper(short width, short length) {
    auto* mode = static_cast<DEVMODEA*>(GlobalLock(mPrintDialog.hDevMode));
    mode->dmPaperWidth = width;
    mode->dmPaperLength = length;
    GlobalUnlock(mPrintDialog.hDevMode);
  }
  short PrintQuality() const {
    const short quality = static_cast<DEVMODEA*>(GlobalLock(mPrintDialog.hDevMode))->dmPrintQuality;
    GlobalUnlock(mPrintDialog.hDevMode);
    return quality;
  }

  std::vector<std::string> mCalls;
  std::vector<int32_t> mPages;
  std::map<std::string, int32_t> mAnswers;
  std::map<std::string, std::function<void(RecordingSession&)>> mActions;

 private:
  int32_t Step(const std::string& name, int32_t answer) {
    mCalls.push_back(name);
    if (auto action = mActions.find(name); action != mActions.end()) action->second(*this);
    auto set = mAnswers.find(name);
    return set != mAnswers.end() ? set->second : answer;
  }
};

class AFPrintSessionBaseTest : public testing::Test {
 protected:
  void SetUp() override { vpl::platform::SetPrinterResolutions({POINT{kTestDpi, kTestDpi}}); }
  void TearDown() override { vpl::platform::ResetPrinterResolutions(); }

  // Nothing of the job is left open.
  static void ExpectClosed(const RecordingSession& session) {
    EXPECT_EQ(session.GetState(), AFPrintSessionBase::kIdle);
    EXPECT_FALSE(session.HasPrinter());
  }
};

TEST_F(AFPrintSessionBaseTest, BaseHooksPrintOneCopyOfPageOneWhateverWasSetBefore) {
  PrintFile file;
  RecordingSession session;
  session.SetPageRange(2, 5);
  session.SetCopies(3);
  EXPECT_EQ(session.Print("Picture"), AFPrintSessionBase::kPrintDone);
  EXPECT_EQ(session.mCalls, (std::vector<std::string>{"prepare", "open", "document started",
                                                      "page started 1", "print 1", "page ended 1",
                                                      "document ended", "release", "finish"}));
  ExpectClosed(session);
  EXPECT_EQ(file.ReadInfo().pages, 1);
}

TEST_F(AFPrintSessionBaseTest, EveryCopyPrintsThePageRange) {
  PrintFile file;
  RecordingSession session;
  session.mActions["document started"] = [](RecordingSession& s) {
    s.SetPageRange(2, 3);
    s.SetCopies(2);
  };
  EXPECT_EQ(session.Print("Pictures"), AFPrintSessionBase::kPrintDone);
  EXPECT_EQ(session.mPages, (std::vector<int32_t>{2, 3, 2, 3}));
  EXPECT_EQ(file.ReadInfo().pages, 4);
  // A session runs another job as it ran the first.
  session.mActions.clear();
  EXPECT_EQ(session.Print("Again"), AFPrintSessionBase::kPrintDone);
  EXPECT_EQ(file.ReadInfo().pages, 1);
}

TEST_F(AFPrintSessionBaseTest, WithoutPrinterTheJobFailsAndReleasesWhatItHeld) {
  RecordingSession session;
  EXPECT_EQ(session.Print("Picture"), AFPrintSessionBase::kPrintFailed);
  EXPECT_EQ(session.mCalls, (std::vector<std::string>{"prepare", "open", "release", "finish"}));
  ExpectClosed(session);
}

TEST_F(AFPrintSessionBaseTest, RefusedPreparationRunsNothingElse) {
  PrintFile file;
  RecordingSession session;
  session.mAnswers["prepare"] = AFPrintSessionBase::kPrintFailed;
  EXPECT_EQ(session.Print("Picture"), AFPrintSessionBase::kPrintFailed);
  EXPECT_EQ(session.mCalls, (std::vector<std::string>{"prepare"}));
  EXPECT_FALSE(file.Exists());
}

// Every failure and every hook that ends the job unwinds it: the document
// is discarded and the printer released before the job answers.
TEST_F(AFPrintSessionBaseTest, FailuresAndEndingHooksUnwindTheJob) {
  struct Case {
    const char* name;
    std::function<void(RecordingSession&, PrintFile&)> arrange;
    int32_t result;
    size_t filesLeft;
  };
  const auto answer = [](const char* step, int32_t value) {
    return [=](RecordingSession& s, PrintFile&) { s.mAnswers[step] = value; };
  };
  const Case cases[] = {
      {"page not drawn", answer("print 1", AFPrintSessionBase::kPrintFailed),
       AFPrintSessionBase::kPrintPageFailed, 0},
      {"page start hook", answer("page started 1", kCancelled), kCancelled, 0},
      {"page end hook", answer("page ended 1", kCancelled), kCancelled, 0},
      {"document start hook", answer("document started", kCancelled), kCancelled, 0},
      // The document was complete before its hook ended the job.
      {"document end hook", answer("document ended", kCancelled), kCancelled, 1},
      {"StartPage fails",
       [](RecordingSession& s, PrintFile&) {
         s.mActions["document started"] = [](RecordingSession& t) { AbortDoc(t.GetDC()); };
       },
       AFPrintSessionBase::kPrintFailed, 0},
      {"StartDoc fails", [](RecordingSession&, PrintFile& f) { f.MoveIntoMissingDirectory(); },
       AFPrintSessionBase::kPrintFailed, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PrintFile file;
    RecordingSession session;
    c.arrange(session, file);
    EXPECT_EQ(session.Print("Picture"), c.result);
    ExpectClosed(session);
    EXPECT_EQ(file.FileCount(), c.filesLeft);
    ASSERT_GE(session.mCalls.size(), 2u);
    EXPECT_EQ(session.mCalls.end()[-2], "release");
    EXPECT_EQ(session.mCalls.back(), "finish");
  }
}

TEST_F(AFPrintSessionBaseTest, SelectsTheHighestSquareResolutionOnlyWhenThereIsOne) {
  struct Case {
    const char* name;
    std::vector<POINT> offered;
    bool selected;
    LONG resolution;  // after RecreateDC
  };
  const std::vector<POINT> tooMany(101, POINT{kTestDpi, kTestDpi});
  const Case cases[] = {
      {"highest square", {{150, 150}, {600, 300}, {300, 300}, {kTestDpi, kTestDpi}}, true, 300},
      {"none", {}, false, kTestDpi},
      {"more than 100", tooMany, false, kTestDpi},
      {"zero", {{0, 0}, {kTestDpi, kTestDpi}}, false, kTestDpi},
      {"beyond 30000", {{kTestDpi, kTestDpi}, {30001, 30001}}, false, kTestDpi},
      {"no square one", {{kTestDpi, 150}, {150, kTestDpi}}, false, kTestDpi},
  };
  PrintFile file;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingSession session;
    ASSERT_EQ(session.OpenPrinter("Picture"), AFPrintSessionBase::kPrintDone);
    const short quality = session.PrintQuality();
    vpl::platform::SetPrinterResolutions(c.offered);
    EXPECT_EQ(session.SelectHighestSquareResolution(), c.selected);
    if (!c.selected) {
      EXPECT_EQ(session.PrintQuality(), quality);
    }
    vpl::platform::SetPrinterResolutions({{kTestDpi, kTestDpi}, {300, 300}});
    ASSERT_TRUE(session.RecreateDC());
    EXPECT_EQ(session.GetResolution(), (UUPoint{c.resolution, c.resolution}));
    session.ReleasePrinter("");
  }
}

TEST_F(AFPrintSessionBaseTest, PageGeometryFollowsPaperResolutionAndOrientation) {
  struct Case {
    const char* name;
    short paperWidth, paperLength;  // tenths of a millimetre
    LONG resolution;
    bool landscape;
    bool allowLandscape;
    UURect paper, printable, paperTenths, printableTenths;
  };
  // 5 mm margins: 59 pixels at 300 dots per inch, 29 at 150.
  const Case cases[] = {
      {"A4 at 300", 2100, 2970, 300, false, false, UURect(0, 0, 2480, 3507),
       UURect(59, 59, 2421, 3448), UURect(0, 0, 2099, 2969), UURect(49, 49, 2049, 2919)},
      {"letter at 150", 2159, 2794, 150, false, false, UURect(0, 0, 1275, 1650),
       UURect(29, 29, 1246, 1621), UURect(0, 0, 2159, 2794), UURect(49, 49, 2109, 2744)},
      {"A4 landscape", 2100, 2970, 300, true, true, UURect(0, 0, 3507, 2480),
       UURect(59, 59, 3448, 2421), UURect(0, 0, 2969, 2099), UURect(49, 49, 2919, 2049)},
      {"A4 landscape given upright", 2100, 2970, 300, true, false, UURect(0, 0, 2480, 3507),
       UURect(59, 59, 2421, 3448), UURect(0, 0, 2099, 2969), UURect(49, 49, 2049, 2919)},
  };
  PrintFile file;
  vpl::platform::SetPrinterResolutions({{150, 150}, {300, 300}});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingSession session;
    ASSERT_EQ(session.OpenPrinter("Picture"), AFPrintSessionBase::kPrintDone);
    session.SetPaper(c.paperWidth, c.paperLength);
    session.SetResolution(c.resolution, c.resolution);
    session.SetOrientation(c.landscape);
    ASSERT_TRUE(session.RecreateDC());
    EXPECT_EQ(session.GetPaperRect(c.allowLandscape), c.paper);
    EXPECT_EQ(session.GetPrintableArea(c.allowLandscape), c.printable);
    EXPECT_EQ(session.GetPaperSizeInTenthsOfMillimetre(c.allowLandscape), c.paperTenths);
    EXPECT_EQ(session.GetPrintableAreaInTenthsOfMillimetre(c.allowLandscape), c.printableTenths);
    session.ReleasePrinter("");
  }
}

TEST_F(AFPrintSessionBaseTest, WithoutPrinterTheGeometryIsEmpty) {
  RecordingSession session;
  EXPECT_EQ(session.GetResolution(), (UUPoint{0, 0}));
  EXPECT_EQ(session.GetPaperSizeInTenthsOfMillimetre(true), UURect());
  EXPECT_EQ(session.GetPrintableAreaInTenthsOfMillimetre(false), UURect());
}

TEST_F(AFPrintSessionBaseTest, FitRectCentresTheLargestRectangleOfTheProportions) {
  struct Case {
    UURect aspect, target, fitted;
  };
  const Case cases[] = {
      {UURect(0, 0, 4, 3), UURect(0, 0, 1000, 1000), UURect(0, 125, 1000, 875)},
      {UURect(0, 0, 3, 4), UURect(0, 0, 1000, 1000), UURect(125, 0, 875, 1000)},
      {UURect(10, 10, 810, 610), UURect(100, 200, 1100, 700), UURect(267, 200, 933, 700)},
      {UURect(0, 0, 800, 600), UURect(59, 59, 2421, 3448), UURect(59, 868, 2421, 2639)},
      {UURect(0, 0, 0, 0), UURect(100, 200, 1100, 700), UURect(100, 200, 100, 200)},
      {UURect(0, 0, 0, 5), UURect(100, 200, 1100, 700), UURect(100, 200, 100, 200)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AFPrintSessionBase::FitRect(c.aspect, c.target), c.fitted);
  }
}

}  // namespace
