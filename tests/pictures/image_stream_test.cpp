// Image views read from and written to form descriptions, with their pictures as "Data".
#include <cstdio>
#include <string>

#include "formstream/stream_reader.h"
#include "formstream/stream_writer.h"
#include "formstream/text_form.h"
#include "image_test_support.h"

namespace {
std::string Hex(const TBytes& bytes) {
  std::string text;
  char digits[3];
  for (uint8_t b : bytes) {
    std::snprintf(digits, sizeof digits, "%02X", b);
    text += digits;
  }
  return text;
}

// The picture value: the class name as a short string, then `rest`.
TBytes PictureData(const std::string& className, const TBytes& rest) {
  TBytes bytes(1, uint8_t(className.size()));
  for (char c : className) bytes.push_back(uint8_t(c));
  for (uint8_t b : rest) bytes.push_back(b);
  return bytes;
}

class ImageStreamTest : public ImageTest {
 protected:
  // Reads a form with one image view whose picture value is `data`, followed by `after`.
  TImage* LoadImage(TForm& form, const TBytes& data, const std::string& after) {
    const std::string text = "object Form1: TForm\n  Left = 0\n  object Image1: TImage\n    Left = 264\n"
                             "    Top = 64\n    Width = 689\n    Height = 361\n    Picture.Data = {" +
                             Hex(data) + "}\n" + after + "  end\nend\n";
    TMemoryStream stream;
    TextToBinary(text, stream, "");
    stream.SetPosition(0);
    TStreamReader reader(stream);
    reader.ReadRootComponent(form);
    return dynamic_cast<TImage*>(form.FindComponent("Image1"));
  }
};

TEST_F(ImageStreamTest, AnUnknownClassLoadsEmptyAndTheLoaderReadsOnAfterTheBlock) {
  TForm form(nullptr);
  TImage* image = LoadImage(form, PictureData("TMetafile", {0x04, 0, 0, 0, 0xD7, 0xCD, 0xC6, 0x9A}),
                            "    Proportional = True\n    Visible = False\n");
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->Picture()->Graphic(), nullptr);
  EXPECT_TRUE(image->Proportional()) << "the property after the block was read";
  EXPECT_FALSE(image->Visible());
  EXPECT_EQ(image->Left(), 264);
}

TEST_F(ImageStreamTest, AStoredPhotographLoadsWithItsHeaderAndWritesBackTheSameBytes) {
  const TBytes file = MakeJpeg({.Width = 1021, .Height = 528});
  const TBytes data = PictureData("TJPEGImage", StoredValue(file).Bytes());
  TForm form(nullptr);
  TImage* image = LoadImage(form, data, "    Proportional = True\n");
  ASSERT_NE(image, nullptr);
  ASSERT_NE(dynamic_cast<TJPEGImage*>(image->Picture()->Graphic()), nullptr);
  EXPECT_EQ(Jpeg(*image).DecodedBitmap(), nullptr) << "loading reads sizes only";
  EXPECT_EQ(image->DestRect(), (TRect{0, 0, 689, 356}));

  TMemoryStream written;
  {
    TStreamWriter writer(written);
    writer.WriteRootComponent(form);
  }
  written.SetPosition(0);
  const std::string text = BinaryToText(written);
  EXPECT_NE(text.find("Picture.Data"), std::string::npos);
  TForm again(nullptr);
  written.SetPosition(0);
  TStreamReader reader(written);
  reader.ReadRootComponent(again);
  auto* copy = dynamic_cast<TImage*>(again.FindComponent("Image1"));
  ASSERT_NE(copy, nullptr);
  TMemoryStream original, reread;
  image->Picture()->WriteData(original);
  copy->Picture()->WriteData(reread);
  EXPECT_EQ(reread.Bytes(), data);
  EXPECT_EQ(original.Bytes(), data);
}

TEST_F(ImageStreamTest, AnEmptyPictureIsNotStored) {
  TForm form(nullptr);
  auto* image = new TImage(&form);
  image->SetName("Image1");
  image->SetParent(&form);
  TMemoryStream written;
  {
    TStreamWriter writer(written);
    writer.WriteRootComponent(form);
  }
  written.SetPosition(0);
  EXPECT_EQ(BinaryToText(written).find("Picture.Data"), std::string::npos);
}

TEST_F(ImageStreamTest, AHeaderTheLibraryRejectsFailsTheLoadWithTheLibrarysCode) {
  TForm form(nullptr);
  try {
    LoadImage(form, PictureData("TJPEGImage", StoredValue({0xFF, 0xD8, 0x00, 0x01}).Bytes()), "");
    FAIL() << "a broken header loaded";
  } catch (const EReadError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Error reading Image1.Picture.Data: JPEG error #", 0), 0u) << e.what();
  }
}
}  // namespace
