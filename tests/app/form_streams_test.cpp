// The two embedded window descriptions as the build compiles them: their exact sizes, the
// order in which they create the controls, the settings they carry, and the pictures and
// glyphs inside them, read back through the same classes the windows use.
#include <gtest/gtest.h>

#include <map>

#include "formstream/resources.h"
#include "framework/core/stream.h"
#include "framework/graphics/bitmap.h"
#include "pictures/jpeg_image.h"
#include "pictures/jpeg_settings.h"
#include "tests/app/stored_form.h"

namespace {
struct TCataloguePhoto {
  int BoxWidth, BoxHeight, Width, Height;
  int32_t Bytes;
};
// Image1 to Image16: the box, the picture's pixels and the JPEG file's bytes.
const TCataloguePhoto kPhotos[16] = {
    {689, 361, 1021, 528, 154122}, {409, 169, 403, 168, 53310}, {689, 361, 701, 350, 75810},
    {689, 513, 1024, 768, 133685}, {441, 305, 450, 311, 33193}, {505, 345, 500, 345, 33534},
    {273, 217, 274, 212, 16327},   {273, 209, 274, 212, 14248}, {689, 385, 773, 426, 74677},
    {689, 393, 771, 438, 74486},   {689, 401, 770, 447, 77091}, {369, 265, 367, 267, 21791},
    {369, 265, 367, 267, 22863},   {641, 217, 635, 214, 39455}, {593, 201, 607, 205, 38034},
    {449, 537, 451, 540, 51306},
};

std::span<const uint8_t> Resource(const char* name) {
  auto found = FindResource(name);
  if (!found) throw std::runtime_error(std::string("no resource ") + name);
  return *found;
}

const TStoredComponent& Form1() {
  static const TStoredComponent form = ReadStoredForm(Resource("TFORM1"));
  return form;
}
const TStoredComponent& Form2() {
  static const TStoredComponent form = ReadStoredForm(Resource("TFORM2"));
  return form;
}

const TStoredComponent& Control(const TStoredComponent& form, const std::string& name) {
  const TStoredComponent* c = form.Descendant(name);
  if (c == nullptr) throw std::runtime_error("no component " + name);
  return *c;
}

// The stored value of `property` as text, for comparing settings at a glance.
std::string Setting(const TStoredComponent& c, const std::string& property) {
  const TStoredValue* v = c.Find(property);
  if (v == nullptr) return "<not stored>";
  switch (v->Tag) {
    case TValueType::vaInt8:
    case TValueType::vaInt16:
    case TValueType::vaInt32: return std::to_string(v->Integer);
    case TValueType::vaString: return "'" + v->Text + "'";
    case TValueType::vaSet: {
      std::string s = "[";
      for (const std::string& e : v->Set) s += (s.size() > 1 ? ", " : "") + e;
      return s + "]";
    }
    case TValueType::vaList: {
      std::string s = "(";
      for (const TStoredValue& item : v->List) s += (s.size() > 1 ? " " : "") + std::to_string(item.Integer);
      return s + ")";
    }
    default: return v->Text;
  }
}

void ExpectSettings(const TStoredComponent& c, const std::map<std::string, std::string>& expected) {
  for (const auto& [property, value] : expected) EXPECT_EQ(Setting(c, property), value) << c.Name << "." << property;
}

uint32_t Le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
uint16_t Be16(const uint8_t* p) { return uint16_t(p[0] << 8 | p[1]); }

struct TJpegHeader {
  bool JfifFirst = false;  // the first segment after the start of image is a JFIF APP0
  int FrameMarker = 0;     // 0xC0 baseline, 0xC2 progressive, ...
  int Precision = 0, Width = 0, Height = 0, Components = 0;
  size_t CommentBytes = 0;  // comment segments, headers included
};

// Walks the marker segments up to the start of scan.
TJpegHeader ReadJpegHeader(const std::vector<uint8_t>& f) {
  TJpegHeader h;
  if (f.size() < 4 || f[0] != 0xFF || f[1] != 0xD8) throw std::runtime_error("no start of image");
  size_t pos = 2;
  bool first = true;
  while (pos + 4 <= f.size()) {
    if (f[pos] != 0xFF) throw std::runtime_error("marker expected");
    const int marker = f[pos + 1];
    const size_t length = Be16(&f[pos + 2]);
    if (pos + 2 + length > f.size()) throw std::runtime_error("segment runs past the file");
    const uint8_t* body = &f[pos + 4];
    if (first) h.JfifFirst = marker == 0xE0 && length >= 16 && std::equal(body, body + 5, "JFIF");
    if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
      h.FrameMarker = marker;
      h.Precision = body[0];
      h.Height = Be16(body + 1);
      h.Width = Be16(body + 3);
      h.Components = body[5];
    }
    if (marker == 0xFE) h.CommentBytes += 2 + length;
    if (marker == 0xDA) return h;
    pos += 2 + length;
    first = false;
  }
  throw std::runtime_error("no start of scan");
}

class WindowContent : public ::testing::Test {
 protected:
  void SetUp() override {
    SetScreenDepthQuery([] { return 24; });
    InitializeJpegDefaults();
  }
  void TearDown() override {
    SetScreenDepthQuery({});
    InitializeJpegDefaults();
  }
};

TEST_F(WindowContent, TheStreamsHaveTheirExactSizesAndUseOnlyTheBasicTags) {
  EXPECT_EQ(Resource("TFORM1").size(), 924859u);
  EXPECT_EQ(Resource("TFORM2").size(), 529u);
  EXPECT_EQ(Resource("TForm1").data(), Resource("TFORM1").data()) << "found by class name in any case";
  using enum TValueType;
  const std::vector<TValueType> allowed{vaList, vaInt8, vaInt16, vaInt32, vaString, vaIdent, vaFalse, vaTrue, vaBinary, vaSet};
  for (const TStoredComponent* form : {&Form1(), &Form2()})
    for (TValueType tag : TagsUsed(*form))
      EXPECT_NE(std::find(allowed.begin(), allowed.end(), tag), allowed.end()) << form->Name << " uses tag " << int(tag);
}

TEST_F(WindowContent, TheMainWindowCreatesItsControlsInTheDescribedOrder) {
  const TStoredComponent& form = Form1();
  EXPECT_EQ(form.ClassName, "TForm1");
  EXPECT_EQ(form.Name, "Form1");
  std::vector<std::string> expected{"WkLEDDisplay1"};
  for (int i = 1; i <= 16; ++i) expected.push_back("Image" + std::to_string(i));
  for (const char* n : {"WkClockStatus1", "WkBitBtn1", "WkBitBtn2", "WkPageControl1"}) expected.push_back(n);
  EXPECT_EQ(form.ChildNames(), expected);
  const std::map<std::string, std::string> classes{{"WkLEDDisplay1", "TWkLEDDisplay"}, {"WkClockStatus1", "TWkClockStatus"},
                                                   {"WkBitBtn1", "TWkBitBtn"}, {"WkBitBtn2", "TWkBitBtn"},
                                                   {"WkPageControl1", "TWkPageControl"}};
  for (const TStoredComponent& c : form.Children) {
    const auto named = classes.find(c.Name);
    EXPECT_EQ(c.ClassName, named != classes.end() ? named->second : "TImage") << c.Name;
  }

  const TStoredComponent& pages = Control(form, "WkPageControl1");
  EXPECT_EQ(pages.ChildNames(), (std::vector<std::string>{"WkTabSheet1", "WkTabSheet2", "TabSheet1", "TabSheet2",
                                                           "TabSheet3", "TabSheet4", "TabSheet5", "TabSheet6"}));
  const std::vector<std::vector<int>> buttons{{1, 2}, {3, 4}, {5, 6}, {7, 8}, {9, 10, 11}, {12, 13}, {14, 15, 16}, {}};
  for (size_t p = 0; p < pages.Children.size(); ++p) {
    const TStoredComponent& page = pages.Children[p];
    EXPECT_EQ(page.ClassName, "TWkTabSheet");
    std::vector<std::string> names;
    for (int b : buttons[p]) names.push_back("WkRadioButton" + std::to_string(b));
    EXPECT_EQ(page.ChildNames(), names) << page.Name;
    for (const TStoredComponent& button : page.Children) {
      EXPECT_EQ(button.ClassName, "TWkRadioButton");
      EXPECT_TRUE(button.Children.empty());
    }
  }
}

TEST_F(WindowContent, TheWindowsCarryTheirSettings) {
  ExpectSettings(Form1(), {{"Left", "140"}, {"Top", "96"}, {"BorderStyle", "bsDialog"}, {"Caption", "'Velmorath V1.4'"},
                           {"ClientWidth", "959"}, {"ClientHeight", "614"}, {"Color", "clSkyBlue"},
                           {"Font.Name", "'MS Sans Serif'"}, {"Font.Height", "-11"}, {"Font.Style", "[]"},
                           {"Font.Color", "clWindowText"}, {"Font.Charset", "DEFAULT_CHARSET"},
                           {"PixelsPerInch", "96"}, {"TextHeight", "13"}, {"DesignSize", "(959 614)"}});
  ExpectSettings(Form2(), {{"Left", "257"}, {"Top", "194"}, {"BorderStyle", "bsToolWindow"}, {"Caption", "'About'"},
                           {"ClientWidth", "543"}, {"ClientHeight", "64"}, {"Color", "clBtnFace"},
                           {"Font.Height", "-11"}, {"Font.Style", "[]"}, {"PixelsPerInch", "96"}, {"TextHeight", "13"},
                           {"Visible", "<not stored>"}});
  EXPECT_EQ(Form2().ChildNames(), (std::vector<std::string>{"WkLEDDisplay1", "WkLEDDisplay2"}));
  ExpectSettings(Control(Form2(), "WkLEDDisplay1"), {{"Left", "0"}, {"Top", "0"}, {"Width", "545"}, {"Height", "30"},
                                                     {"Caption", "'Velmorath v1.4 by Dunvel'"}, {"SegOnColor", "clRed"},
                                                     {"Scrolling", "True"}});
  const TStoredComponent& contact = Control(Form2(), "WkLEDDisplay2");
  ExpectSettings(contact, {{"Top", "28"}, {"Width", "545"}, {"Height", "37"}, {"SegOnColor", "clActiveCaption"},
                           {"Scrolling", "<not stored>"}});
  const std::string caption = contact.Find("Caption")->Text;
  ASSERT_TRUE(caption.starts_with(" My ICQ : ")) << caption;
  const std::string number = caption.substr(10);
  EXPECT_TRUE(number.size() >= 5 && number.find_first_not_of("0123456789") == std::string::npos) << caption;

  ExpectSettings(Control(Form1(), "WkLEDDisplay1"), {{"Left", "8"}, {"Top", "8"}, {"Width", "945"}, {"Height", "49"},
                                                     {"Caption", "'Velmorath v1.4 by Dunvel'"}, {"Scrolling", "True"}});
  ExpectSettings(Control(Form1(), "WkClockStatus1"),
                 {{"Left", "808"}, {"Top", "584"}, {"Width", "145"}, {"Height", "25"},
                  {"FillColor", "clGradientActiveCaption"}, {"Font.Name", "'MS Sans Serif'"}, {"Font.Height", "-13"},
                  {"Font.Style", "[fsBold]"}, {"ParentFont", "False"}});
  for (int b = 1; b <= 2; ++b)
    ExpectSettings(Control(Form1(), "WkBitBtn" + std::to_string(b)),
                   {{"Left", b == 1 ? "8" : "144"}, {"Top", "584"}, {"Width", "105"}, {"Height", "25"},
                    {"Caption", b == 1 ? "'Close'" : "'About'"}, {"TabOrder", std::to_string(b - 1)},
                    {"OnClick", "WkBitBtn" + std::to_string(b) + "Click"}, {"Color", "15791348"},
                    {"Font.Height", "-13"}, {"Font.Style", "[fsBold]"}, {"ParentFont", "False"},
                    {"HighlightColor", "16026986"}, {"HotTrack", "True"}, {"HotTrackColor", "3983359"},
                    {"NumGlyphs", "2"}});
}

TEST_F(WindowContent, ThePageControlAndItsPagesAndRadioButtonsCarryTheirSettings) {
  ExpectSettings(Control(Form1(), "WkPageControl1"),
                 {{"Left", "8"}, {"Top", "64"}, {"Width", "242"}, {"Height", "505"}, {"ActivePage", "TabSheet5"},
                  {"TabIndex", "6"}, {"Anchors", "[akLeft, akTop, akRight, akBottom]"},
                  {"Color", "clGradientInactiveCaption"}, {"ParentColor", "False"}, {"Font.Name", "'Verdana'"},
                  {"Font.Height", "-13"}, {"Font.Style", "[fsBold]"}, {"ParentFont", "False"},
                  {"FlatColor", "clBackground"}, {"HotTrackColor", "clActiveCaption"}, {"ImagePosition", "ipBottom"},
                  {"ShowFocusRect", "False"}, {"ShowShadow", "False"}, {"TextOrientation", "orVertical"},
                  {"TabOrientation", "toLeft"}, {"TabOrder", "2"}, {"TabStop", "False"}, {"FixedDimension", "23"}});
  const std::map<std::string, std::string> captions{
      {"WkTabSheet1", "'T610-T630'"}, {"WkTabSheet2", "'Z600'"}, {"TabSheet1", "'Z800'"},
      {"TabSheet2", "'K300-K500-K700'"}, {"TabSheet3", "'K600'"}, {"TabSheet4", "'P900'"},
      {"TabSheet5", "'W550-W600-W900'"}, {"TabSheet6", "<not stored>"}};
  for (const auto& [page, caption] : captions)
    ExpectSettings(Control(Form1(), page), {{"Caption", caption}, {"Color", "clGradientInactiveCaption"}});
  ExpectSettings(Control(Form1(), "TabSheet6"), {{"TabVisible", "False"}, {"DisabledIndex", "0"}});
  ExpectSettings(Control(Form1(), "WkTabSheet1"),
                 {{"Font.Name", "'Verdana'"}, {"Font.Height", "-13"}, {"Font.Style", "[fsBold]"}, {"ParentFont", "False"}});

  const std::map<int, std::string> widths{{1, "137"}, {2, "137"}, {14, "153"}, {15, "145"}, {16, "153"}};
  const std::map<int, std::string> names{{11, "'Test point 3'"}, {14, "'Test point W550'"}, {15, "'Test point W600'"},
                                         {16, "'Test point W900'"}};
  for (const TStoredComponent& page : Control(Form1(), "WkPageControl1").Children)
    for (size_t k = 0; k < page.Children.size(); ++k) {
      const TStoredComponent& button = page.Children[k];
      const int n = std::stoi(button.Name.substr(13));
      const std::string caption = names.contains(n) ? names.at(n) : "'Test point " + std::to_string(k + 1) + "'";
      ExpectSettings(button, {{"Left", "16"}, {"Top", std::to_string(32 + 48 * int(k))}, {"Height", "17"},
                              {"Width", widths.contains(n) ? widths.at(n) : "115"}, {"Caption", caption},
                              {"TabOrder", std::to_string(k)}, {"OnClick", button.Name + "Click"},
                              {"FrameColor", "8409372"}, {"HighlightColor", "2203937"}, {"HotTrack", "True"},
                              {"HotTrackColor", "3983359"}, {"HotTrackColorType", "htctActual"},
                              {"Checked", "<not stored>"}, {"ParentFont", "<not stored>"}});
    }
}

TEST_F(WindowContent, EveryImageViewHoldsItsBaselineJpegOfTheTablesSize) {
  for (int i = 1; i <= 16; ++i) {
    SCOPED_TRACE("Image" + std::to_string(i));
    const TCataloguePhoto& photo = kPhotos[i - 1];
    const TStoredComponent& view = Control(Form1(), "Image" + std::to_string(i));
    ExpectSettings(view, {{"Left", "264"}, {"Top", "64"}, {"Width", std::to_string(photo.BoxWidth)},
                          {"Height", std::to_string(photo.BoxHeight)}, {"Proportional", "True"}, {"Visible", "False"}});
    const TStoredValue* data = view.Find("Picture.Data");
    ASSERT_NE(data, nullptr);
    ASSERT_EQ(data->Tag, TValueType::vaBinary);
    const std::vector<uint8_t>& block = data->Bytes;
    ASSERT_EQ(block.size(), size_t(1 + 10 + 4 + photo.Bytes));
    EXPECT_EQ(std::string(block.begin(), block.begin() + 11), "\x0ATJPEGImage");
    EXPECT_EQ(int32_t(Le32(&block[11])), photo.Bytes);

    const std::vector<uint8_t> file(block.begin() + 15, block.end());
    const TJpegHeader header = ReadJpegHeader(file);
    EXPECT_TRUE(header.JfifFirst);
    EXPECT_EQ(header.FrameMarker, 0xC0) << "baseline";
    EXPECT_EQ(header.Precision, 8);
    EXPECT_EQ(header.Components, 3);
    EXPECT_EQ(header.Width, photo.Width);
    EXPECT_EQ(header.Height, photo.Height);
    EXPECT_LT(header.CommentBytes, file.size() / 40) << "the picture, not the filling, makes the file";
    EXPECT_EQ(file[file.size() - 2], 0xFF);
    EXPECT_EQ(file.back(), 0xD9) << "ends with the end-of-image marker";

    // The picture class reads the value and decodes the whole photograph.
    TMemoryStream stored;
    stored.WriteBuffer(block.data() + 11, int64_t(block.size() - 11));
    stored.SetPosition(0);
    TJPEGImage image;
    image.ReadStoredData(stored);
    EXPECT_EQ(image.Width(), photo.Width);
    EXPECT_EQ(image.Height(), photo.Height);
    const TBitmap& bitmap = image.DecodeToBitmap();
    EXPECT_EQ(bitmap.Width(), photo.Width);
    EXPECT_EQ(bitmap.Height(), photo.Height);
  }
}

TEST_F(WindowContent, EachButtonHoldsItsOwnTwoCellGlyph) {
  std::vector<uint8_t> glyphs[2];
  for (int b = 1; b <= 2; ++b) {
    SCOPED_TRACE("WkBitBtn" + std::to_string(b));
    const TStoredValue* data = Control(Form1(), "WkBitBtn" + std::to_string(b)).Find("Glyph.Data");
    ASSERT_NE(data, nullptr);
    const std::vector<uint8_t>& block = data->Bytes;
    ASSERT_EQ(block.size(), 1594u);
    EXPECT_EQ(Le32(&block[0]), 1590u);
    const uint8_t* bmp = &block[4];
    EXPECT_EQ(std::string(bmp, bmp + 2), "BM");
    EXPECT_EQ(Le32(bmp + 2), 1590u) << "file size";
    EXPECT_EQ(Le32(bmp + 10), 1078u) << "pixel offset";
    EXPECT_EQ(Le32(bmp + 14), 40u) << "information header";
    EXPECT_EQ(int32_t(Le32(bmp + 18)), 32);
    EXPECT_EQ(int32_t(Le32(bmp + 22)), 16) << "positive: rows bottom-up";
    EXPECT_EQ(Le16(bmp + 26), 1);
    EXPECT_EQ(Le16(bmp + 28), 8);
    EXPECT_EQ(Le32(bmp + 30), 0u) << "uncompressed";
    EXPECT_EQ(Le32(bmp + 34), 512u);
    EXPECT_EQ(Le32(bmp + 46), 256u) << "colour-table entries";
    // The first stored row is the bottom one; its first pixel indexes the colour table.
    const uint8_t* entry = bmp + 54 + 4 * bmp[1078];
    EXPECT_EQ((std::vector<int>{entry[2], entry[1], entry[0]}), (std::vector<int>{236, 233, 216}));

    TMemoryStream stored;
    stored.WriteBuffer(block.data(), int64_t(block.size()));
    stored.SetPosition(0);
    TBitmap glyph;
    glyph.ReadStoredData(stored);
    EXPECT_EQ(glyph.Width(), 32);
    EXPECT_EQ(glyph.Height(), 16);
    EXPECT_EQ(glyph.PixelFormat(), pf8bit);
    EXPECT_EQ(glyph.PixelRGB(0, 15), RGB(236, 233, 216));
    EXPECT_NE(glyph.PixelRGB(8, 8), RGB(236, 233, 216)) << "the normal cell has a picture";
    EXPECT_NE(glyph.PixelRGB(24, 8), glyph.PixelRGB(8, 8)) << "the disabled cell looks different";
    glyphs[b - 1] = block;
  }
  EXPECT_NE(glyphs[0], glyphs[1]);
}
}  // namespace
