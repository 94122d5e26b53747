#include <stdexcept>
#include <vector>

#include "framework/core/exceptions.h"
#include "jpeg_test_support.h"
#include "pictures/jpeg_glue.h"

namespace {
struct TReport {
  TProgressStage Stage;
  int Percent;
  bool RedrawNow;
  TRect Rect;
};

class JpegProgress : public JpegTest {
 protected:
  void SetUp() override {
    JpegTest::SetUp();
    image.OnProgress = [this](TObject* sender, TProgressStage stage, uint8_t percent, bool redraw, const TRect& rect,
                              const std::string&) {
      EXPECT_EQ(sender, &image);
      reports.push_back({stage, percent, redraw, rect});
    };
    context.Create(&image);
    info().output_width = 640;
    info().output_height = 480;
    context.Progress.Library.pass_limit = 480;
    context.Progress.Library.total_passes = 1;
  }
  jpeg_decompress_struct& info() { return context.Info; }
  void At(uint64_t now, long counter, JDIMENSION scanline) {
    context.Progress.Library.pass_counter = counter;
    info().output_scanline = scanline;
    ReportJpegProgress(reinterpret_cast<j_common_ptr>(&info()), now);
  }

  TJPEGImage image;
  TDecodeContext context;
  std::vector<TReport> reports;
};

TEST_F(JpegProgress, ReportsAtMostEvery500MillisecondsAfterTheFirstCall) {
  At(1000, 48, 48);  // the first call only starts the clock
  At(1400, 96, 96);  // too soon
  EXPECT_TRUE(reports.empty());
  At(1500, 120, 120);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].Stage, psRunning);
  EXPECT_EQ(reports[0].Percent, 25);
  EXPECT_EQ(reports[0].Rect, (TRect{0, 0, 640, 120}));
  EXPECT_TRUE(reports[0].RedrawNow);
  At(2000, 122, 122);  // two more rows: 25 % still, nothing to say
  EXPECT_EQ(reports.size(), 1u);
  At(2600, 240, 240);
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[1].Percent, 50);
  EXPECT_EQ(reports[1].Rect, (TRect{0, 120, 640, 240}));
}

TEST_F(JpegProgress, PercentCountsCompletedPassesAndANewPassReportsToTheBottom) {
  context.Progress.Library.total_passes = 2;
  At(1000, 0, 0);
  At(2000, 400, 400);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].Percent, 41);  // (400/480 + 0) * 100 / 2, truncated
  context.Progress.Library.completed_passes = 1;
  At(3000, 2, 2);  // the second pass started over at the top
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[1].Percent, 50);
  EXPECT_EQ(reports[1].Rect, (TRect{0, 400, 640, 480}));
}

TEST_F(JpegProgress, AFewRowsDoNotAskForARedraw) {
  At(1000, 0, 0);
  At(2000, 24, 3);  // 5 %, three rows
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_FALSE(reports[0].RedrawNow);
}

TEST_F(JpegProgress, AHandlerFailureLeavesThroughTheBoundary) {
  image.OnProgress = [](TObject*, TProgressStage, uint8_t, bool, const TRect&, const std::string&) {
    throw EAbort("");
  };
  At(1000, 0, 0);
  context.Progress.Library.pass_counter = 240;
  auto step = [](void* p) { ReportJpegProgress(static_cast<j_common_ptr>(p), 5000); };
  EXPECT_FALSE(RunGuarded(context.Errors, step, &info()));
  EXPECT_THROW(RaiseJpegFailure(context.Errors), EAbort);
}

// The source keeps a read position of its own: the shared stream's is neither used nor moved.
TEST(JpegGlue, TheSourceReadsFromItsOwnPosition) {
  TMemoryStream stream;
  const TBytes file = MakeJpeg({.Width = 8, .Height = 6});
  stream.WriteBuffer(file.data(), int64_t(file.size()));
  TDecodeContext context;
  context.Create(nullptr);
  context.ReadHeader(&stream);
  EXPECT_EQ(context.Info.image_width, 8u);
  EXPECT_EQ(stream.Position(), int64_t(file.size()));
}

TEST(JpegGlue, LibraryErrorsRaiseEJpegWithTheMessageCode) {
  TDecodeContext context;
  context.Create(nullptr);
  try {
    context.ReadHeader(nullptr);
    FAIL() << "read a header from nothing";
  } catch (const EInvalidGraphic& e) {
    ASSERT_NE(dynamic_cast<const EJPEG*>(&e), nullptr);
    EXPECT_EQ(static_cast<const EJPEG&>(e).Code, 42);
    EXPECT_STREQ(e.what(), "JPEG error #42");
  }
}
}  // namespace
