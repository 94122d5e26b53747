// The picture container: the graphic class registry, the stored "Data" value and copying.
#include <algorithm>
#include <string>

#include "framework/core/exceptions.h"
#include "framework/core/stream.h"
#include "framework/typeinfo/class_info.h"
#include "jpeg_test_support.h"
#include "pictures/picture.h"
#include "pictures/picture_classes.h"

namespace {
// A graphic registered only by the tests that need it, with a descendant.
class TTestGraphic : public TBitmap {
 public:
  VM_CLASS()
};
class TDerivedTestGraphic : public TTestGraphic {
 public:
  VM_CLASS()
};
}  // namespace

const TClassInfo& TTestGraphic::ClassInfo() {
  static const TClassInfo info = DefineClass<TTestGraphic, TBitmap>("TTestGraphic");
  return info;
}
const TClassInfo& TDerivedTestGraphic::ClassInfo() {
  static const TClassInfo info = DefineClass<TDerivedTestGraphic, TTestGraphic>("TDerivedTestGraphic");
  return info;
}

namespace {
class PictureTest : public JpegTest {
 protected:
  void SetUp() override {
    JpegTest::SetUp();
    RegisterPictureClasses();
  }
  void TearDown() override {
    UnregisterGraphicClass(TTestGraphic::ClassInfo());
    JpegTest::TearDown();
  }
  // The stored picture value: the class name as a short string, then `rest`.
  static TMemoryStream PictureValue(const std::string& className, const TBytes& rest) {
    TBytes bytes(1, uint8_t(className.size()));
    for (char c : className) bytes.push_back(uint8_t(c));
    for (uint8_t b : rest) bytes.push_back(b);
    return StreamOf(bytes);
  }
  static TBytes JpegStored(const TBytes& file) { return StoredValue(file).Bytes(); }
  static std::vector<std::string> Rows() {
    std::vector<std::string> rows;
    for (const TFileFormat& f : GraphicFileFormats())
      rows.push_back(f.Extension + " " + f.Description + " " + f.GraphicClass->Name);
    return rows;
  }
};

TEST_F(PictureTest, TheRegistryHoldsTheBitmapsThenTheJpegRowsOnceHoweverOftenStartUpRuns) {
  RegisterPictureClasses();
  EXPECT_EQ(Rows(), (std::vector<std::string>{"bmp Bitmaps TBitmap", "jpeg JPEG Image File TJPEGImage",
                                              "jpg JPEG Image File TJPEGImage"}));
}

TEST_F(PictureTest, RegisteringAppendsWithTheExtensionLowerCasedAndUnregisteringTakesDescendantsToo) {
  RegisterFileFormat("TST", "Test pictures", TTestGraphic::ClassInfo());
  RegisterFileFormat("dtst", "Derived test pictures", TDerivedTestGraphic::ClassInfo());
  ASSERT_EQ(Rows().size(), 5u);
  EXPECT_EQ(Rows()[3], "tst Test pictures TTestGraphic");
  UnregisterGraphicClass(TTestGraphic::ClassInfo());
  EXPECT_EQ(Rows().size(), 3u) << "the derived class's row goes with its base";
  EXPECT_EQ(FindGraphicClass("TDerivedTestGraphic"), nullptr);
  EXPECT_THROW(RegisterFileFormat("x", "not a graphic", TPicture::ClassInfo()), EInvalidGraphic);
  EXPECT_THROW(RegisterFileFormat("x", "abstract", TGraphic::ClassInfo()), EInvalidGraphic);
}

TEST_F(PictureTest, ClassNamesAreFoundExactlyAndCaseSensitively) {
  EXPECT_EQ(FindGraphicClass("TJPEGImage"), &TJPEGImage::ClassInfo());
  EXPECT_EQ(FindGraphicClass("TBitmap"), &TBitmap::ClassInfo());
  EXPECT_EQ(FindGraphicClass("tjpegimage"), nullptr);
  EXPECT_EQ(FindGraphicClass("jpeg"), nullptr) << "the extension plays no part";
  EXPECT_EQ(FindGraphicClass("TMetafile"), nullptr);
}

TEST_F(PictureTest, AStoredJpegBecomesAJpegGraphicWithTheHeaderSizeOnly) {
  TPicture picture;
  int changes = 0;
  picture.OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, &picture);
    ++changes;
  };
  TMemoryStream value = PictureValue("TJPEGImage", JpegStored(MakeJpeg({.Width = 403, .Height = 168})));
  picture.ReadData(value);
  auto* jpeg = dynamic_cast<TJPEGImage*>(picture.Graphic());
  ASSERT_NE(jpeg, nullptr);
  EXPECT_EQ(picture.Width(), 403);
  EXPECT_EQ(picture.Height(), 168);
  EXPECT_EQ(jpeg->DecodedBitmap(), nullptr) << "loading never decodes";
  EXPECT_EQ(value.Position(), value.Size());
  EXPECT_GE(changes, 1);
}

TEST_F(PictureTest, AnUnknownOrUnsupportedClassNameGivesAnEmptyPicture) {
  for (const char* name : {"TFoo", "TMetafile", "TIcon", "tjpegimage", ""}) {
    TPicture picture;
    TBitmap old;
    old.SetSize(2, 2);
    picture.SetGraphic(&old);
    ASSERT_NE(picture.Graphic(), nullptr);
    TMemoryStream value = PictureValue(name, {1, 2, 3, 4, 0xFF});
    picture.ReadData(value);
    EXPECT_EQ(picture.Graphic(), nullptr) << name;
    EXPECT_EQ(picture.Width(), 0);
    EXPECT_EQ(picture.Height(), 0);
  }
}

TEST_F(PictureTest, AFailingGraphicReadPassesTheErrorOnAndKeepsTheOldGraphic) {
  TPicture picture;
  TBitmap old;
  old.SetSize(3, 2);
  picture.SetGraphic(&old);
  const TGraphic* before = picture.Graphic();
  // A count larger than the block, a negative count, and a header the library rejects.
  const TBytes tooLong{0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xD8};
  const TBytes negative{0xFE, 0xFF, 0xFF, 0xFF};
  const TBytes garbage = JpegStored({0x00, 0x11, 0x22, 0x33});
  for (const TBytes& rest : {tooLong, negative, garbage}) {
    TMemoryStream value = PictureValue("TJPEGImage", rest);
    EXPECT_ANY_THROW(picture.ReadData(value));
    EXPECT_EQ(picture.Graphic(), before);
    EXPECT_EQ(picture.Width(), 3);
  }
  TMemoryStream negativeBitmap = PictureValue("TBitmap", negative);
  EXPECT_THROW(picture.ReadData(negativeBitmap), EInvalidGraphic);
  TMemoryStream shortName = StreamOf({10, 'T', 'J', 'P'});
  EXPECT_THROW(picture.ReadData(shortName), EReadError) << "a name running past the block";
  EXPECT_EQ(picture.Graphic(), before);
}

TEST_F(PictureTest, AZeroCountJpegLoadsAndFailsOnlyWhenDrawn) {
  TPicture picture;
  TMemoryStream value = PictureValue("TJPEGImage", {0, 0, 0, 0});
  picture.ReadData(value);
  ASSERT_NE(picture.Graphic(), nullptr);
  EXPECT_FALSE(picture.Graphic()->Empty());
  EXPECT_EQ(picture.Width(), 0);
  TBitmap target;
  target.SetSize(4, 4);
  try {
    target.Canvas().StretchDraw({0, 0, 4, 4}, *picture.Graphic());
    FAIL() << "drew an empty JPEG";
  } catch (const EJPEG& e) {
    EXPECT_EQ(e.Code, 42);
  }
}

TEST_F(PictureTest, WritingStoresTheClassNameThenTheGraphicsOwnData) {
  const TBytes file = MakeJpeg({.Width = 20, .Height = 10});
  TPicture picture;
  TMemoryStream value = PictureValue("TJPEGImage", JpegStored(file));
  picture.ReadData(value);
  TMemoryStream written;
  picture.WriteData(written);
  EXPECT_EQ(written.Bytes(), value.Bytes());
  ASSERT_EQ(written.Bytes().size(), 1 + 10 + 4 + file.size());
  EXPECT_EQ(std::string(written.Bytes().begin() + 1, written.Bytes().begin() + 11), "TJPEGImage");

  TPicture empty;
  TMemoryStream none;
  empty.WriteData(none);
  EXPECT_EQ(none.Bytes(), TBytes{0});
  TMemoryStream read = StreamOf({0});
  picture.ReadData(read);
  EXPECT_EQ(picture.Graphic(), nullptr) << "length 0: no graphic";
}

TEST_F(PictureTest, CopyingTakesACopyOfTheGraphicAndNothingEmpties) {
  TPicture source;
  TMemoryStream value = PictureValue("TJPEGImage", JpegStored(MakeJpeg({.Width = 30, .Height = 40})));
  source.ReadData(value);
  TPicture copy;
  copy.CopyFrom(&source);
  ASSERT_NE(copy.Graphic(), nullptr);
  EXPECT_NE(copy.Graphic(), source.Graphic()) << "a graphic of its own";
  EXPECT_EQ(copy.Graphic()->GetClassInfo().Name, "TJPEGImage");
  EXPECT_TRUE(copy.Graphic()->SameAs(*source.Graphic()));
  EXPECT_EQ(copy.Width(), 30);

  TBitmap bitmap;
  bitmap.SetSize(7, 5);
  copy.CopyFrom(&bitmap);
  ASSERT_NE(dynamic_cast<TBitmap*>(copy.Graphic()), nullptr);
  EXPECT_NE(copy.Graphic(), &bitmap);
  EXPECT_EQ(copy.Height(), 5);

  copy.CopyFrom(nullptr);
  EXPECT_EQ(copy.Graphic(), nullptr);
  TPicture emptySource;
  source.CopyFrom(&emptySource);
  EXPECT_EQ(source.Graphic(), nullptr);
  TCanvas unrelated;
  EXPECT_THROW(copy.CopyFrom(&unrelated), EConvertError);
}

TEST_F(PictureTest, GraphicChangesAndProgressReachThePictureOwner) {
  struct TCounter : IChangeNotifier {
    int Count = 0;
    void Changed() override { ++Count; }
  } notifier;
  TPicture picture;
  std::vector<std::string> order;
  picture.OnChange = [&](TObject*) { order.push_back("change"); };
  picture.SetNotifier(&notifier);
  std::vector<TProgressStage> stages;
  picture.OnProgress = [&](TObject* sender, TProgressStage stage, uint8_t, bool, const TRect&, const std::string&) {
    EXPECT_EQ(sender, picture.Graphic());
    stages.push_back(stage);
  };
  TMemoryStream value = PictureValue("TJPEGImage", JpegStored(MakeJpeg({.Width = 16, .Height = 16})));
  picture.ReadData(value);
  const int afterLoad = notifier.Count;
  EXPECT_GE(afterLoad, 1);
  EXPECT_EQ(int(order.size()), afterLoad) << "the callback, then the notifier, for every change";
  picture.Graphic()->SetTransparent(true);
  EXPECT_EQ(notifier.Count, afterLoad + 1);
  dynamic_cast<TJPEGImage*>(picture.Graphic())->DecodeToBitmap();
  EXPECT_EQ(stages, (std::vector<TProgressStage>{psStarting, psEnding}));
}

TEST_F(PictureTest, AChangeHandlerThatRaisesLeavesThePictureHoldingTheNewGraphic) {
  TPicture picture;
  picture.OnChange = [](TObject*) { throw EInvalidOperation("refused"); };
  TBitmap bitmap;
  bitmap.SetSize(4, 3);
  EXPECT_THROW(picture.SetGraphic(&bitmap), EInvalidOperation);
  ASSERT_NE(picture.Graphic(), nullptr);
  picture.OnChange = nullptr;
  EXPECT_EQ(picture.Graphic()->Width(), 4) << "the graphic held is alive and whole";
}
}  // namespace
