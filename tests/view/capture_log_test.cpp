#include <gtest/gtest.h>

#include <string>

#include "tests/view/support/view_rig.h"

using namespace corvane;
using corvane::recording::TViewRig;

namespace {

class CaptureLog : public ::testing::Test {
 protected:
  TZuzeRI& view() { return *rig.View; }
  const std::string& file() { return rig.Disk.Files[TCaptureLog::kFileName]; }
  TViewRig rig;
};

TEST_F(CaptureLog, TwoPeriodsAccumulateWithoutSeparators) {
  EXPECT_FALSE(rig.Disk.Files.contains("ZUZERI.LOG"));
  view().SetLog(true);
  EXPECT_TRUE(view().Log());
  EXPECT_EQ(file(), "<Open>");
  view().WriteText("ab\r\n");
  view().SetLog(true);  // no second marker
  view().WriteByte('c');
  view().SetLog(false);
  view().SetLog(false);
  view().WriteText("not captured");
  view().SetLog(true);
  view().WriteText("d");
  view().SetLog(false);
  EXPECT_EQ(file(), "<Open>ab\r\nc<Close><Open>d<Close>");
}

TEST_F(CaptureLog, RawBytesAreStoredBeforeTranslationAndInterpretation) {
  view().SetXlat(false);  // the screen translates received text
  view().SetLog(true);
  view().WriteText("\xE9");
  EXPECT_EQ(view().Screen().Lines[1]->Chars[0], 0x82);  // translated only on screen
  view().WriteText(std::string("\x1b[2J\x1a\x00\xFF", 7));
  EXPECT_EQ(file(), std::string("<Open>\xE9\x1b\x5b\x32\x4a\x1a\x00\xFF", 14));
}

TEST_F(CaptureLog, EachWriteReachesTheFileInOnePieceBeforeTheScreen) {
  view().SetLog(true);
  rig.Disk.Ops.clear();
  view().WriteText("xy");
  view().WriteByte('z');
  view().WriteText("");
  EXPECT_EQ(rig.Disk.Ops, (std::vector<std::string>{"Write 2", "Flush", "Write 1", "Flush"}));
  EXPECT_EQ(file(), "<Open>xyz");
}

// A failing capture file must not hide what the host sends: it is closed,
// capture goes off and the error is raised once, after the text is shown.
TEST_F(CaptureLog, AWriteOrFlushFailureEndsCaptureOnceAndTheTextIsStillShown) {
  for (const bool flushFails : {false, true}) {
    TViewRig r;
    r.View->SetLog(true);
    (flushFails ? r.Disk.FlushError : r.Disk.WriteError) = 28;  // disk full
    r.View->Screen().SetCursor(3, 0);
    r.ClearRecords();
    try {
      r.View->WriteText("zw");
      ADD_FAILURE() << "no error raised";
    } catch (const EInOutError& e) {
      EXPECT_EQ(e.ErrorCode, 28);
    }
    EXPECT_EQ(r.View->Screen().Lines[3]->Chars[1], 'w');
    EXPECT_FALSE(r.Window.CallsStartingWith("Invalidate").empty());
    EXPECT_FALSE(r.View->Log());
    EXPECT_EQ(r.Disk.Ops.back(), "Close");
    EXPECT_NO_THROW(r.View->WriteByte('!'));
    EXPECT_EQ(r.View->Screen().Lines[3]->Chars[2], '!');
  }
}

TEST_F(CaptureLog, ReopeningAppendsAfterTheLastByteEvenAfterCtrlZ) {
  rig.Disk.Files["ZUZERI.LOG"] = std::string("old\x1a tail");
  view().SetLog(true);
  view().WriteText("\x1a!");
  view().SetLog(false);
  view().SetLog(true);
  EXPECT_EQ(file(), std::string("old\x1a tail<Open>\x1a!<Close><Open>"));
  EXPECT_EQ(rig.Disk.Ops.front(), "OpenAppend");
}

TEST_F(CaptureLog, AMissingFileIsCreated) {
  view().SetLog(true);
  EXPECT_EQ(rig.Disk.Ops[0], "OpenAppend");
  EXPECT_EQ(rig.Disk.Ops[1], "Rewrite");
  EXPECT_EQ(file(), "<Open>");
}

TEST_F(CaptureLog, SwitchingOnWhenTheFileCannotBeOpenedOrCreatedRaisesAndStaysOff) {
  rig.Disk.OpenAppendError = 5;
  rig.Disk.RewriteError = 5;
  try {
    view().SetLog(true);
    FAIL() << "no error raised";
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.ErrorCode, 5);
  }
  EXPECT_FALSE(view().Log());
  view().WriteText("still shown");  // received data is not lost
  EXPECT_EQ(view().Screen().Lines[1]->Chars[0], 's');
  EXPECT_NO_THROW(view().SetLog(false));
}

TEST_F(CaptureLog, ANameThatIsNotARegularFileIsRefusedAndNotReplaced) {
  rig.Disk.OpenAppendError = platform::kNotARegularFile;
  try {
    view().SetLog(true);
    FAIL() << "no error raised";
  } catch (const EInOutError& e) {
    EXPECT_STREQ(e.what(), "ZUZERI.LOG is not a regular file");
  }
  EXPECT_FALSE(view().Log());
  EXPECT_EQ(rig.Disk.Ops, std::vector<std::string>{"OpenAppend"});
}

TEST_F(CaptureLog, AFailedOpeningMarkerClosesTheFileAndStaysOff) {
  rig.Disk.WriteError = 28;
  EXPECT_THROW(view().SetLog(true), EInOutError);
  EXPECT_FALSE(view().Log());
  EXPECT_EQ(rig.Disk.Ops.back(), "Close");
}

TEST_F(CaptureLog, SwitchingOffClosesTheFileEvenWhenTheMarkerFails) {
  view().SetLog(true);
  rig.Disk.WriteError = 28;
  EXPECT_THROW(view().SetLog(false), EInOutError);
  EXPECT_FALSE(view().Log());
  EXPECT_EQ(rig.Disk.Ops.back(), "Close");

  rig.Disk.WriteError = 0;
  rig.Disk.CloseError = 5;
  view().SetLog(true);
  EXPECT_THROW(view().SetLog(false), EInOutError);
  EXPECT_FALSE(view().Log());
}

TEST_F(CaptureLog, DestroyingTheViewClosesAnOpenPeriod) {
  view().SetLog(true);
  view().WriteText("q");
  rig.View.reset();
  EXPECT_EQ(file(), "<Open>q<Close>");
}

TEST_F(CaptureLog, DestroyingTheViewSurvivesAFailingCloseMarker) {
  view().SetLog(true);
  rig.Disk.WriteError = 28;
  EXPECT_NO_THROW(rig.View.reset());
  EXPECT_EQ(rig.Disk.Ops.back(), "Close");
}

TEST_F(CaptureLog, LocallyEchoedKeysAreCaptured) {
  view().LocalEcho = true;
  view().SetLog(true);
  char key = 'k';
  view().KeyPress(key);
  EXPECT_EQ(file(), "<Open>k");
}

}  // namespace
