#include "tests/widgets/status_pane_fixture.h"

#include "framework/graphics/canvas_text.h"

std::unique_ptr<TBitmap> StatusPaneTest::ShownPart(const TControl& pane, const TRect& rect) {
  auto part = std::make_unique<TBitmap>();
  part->SetPixelFormat(pf32bit);
  part->SetSize(rect.Width(), rect.Height());
  for (int y = 0; y < rect.Height(); ++y)
    for (int x = 0; x < rect.Width(); ++x)
      part->Canvas().SetPixel(x, y, TColor(Shown(pane, rect.Left + x, rect.Top + y)));
  return part;
}

std::unique_ptr<TBitmap> StatusPaneTest::ExpectedText(const TWkCustomStatusPane& pane, const std::string& text,
                                                      TColor textColor, int x, int y) {
  const TRect t = pane.GetTextRect();
  auto image = std::make_unique<TBitmap>();
  image->SetPixelFormat(pf32bit);
  image->SetSize(t.Width(), t.Height());
  TCanvas& canvas = image->Canvas();
  canvas.Font().CopyFrom(pane.Font());
  canvas.Font().SetColor(textColor);
  canvas.Brush().SetColor(pane.FillColor());
  const int align = pane.Alignment() == taRightJustify ? talRight : pane.Alignment() == taCenter ? talCenter : talLeft;
  canvas.SetTextAlign(align);
  canvas.TextRect({0, 0, t.Width(), t.Height()}, x - t.Left, y - t.Top, text);
  return image;
}

int StatusPaneTest::TextTop(const TWkCustomStatusPane& pane) {
  TCanvas measure;
  measure.Font().CopyFrom(pane.Font());
  const TRect t = pane.GetTextRect();
  return t.Top + (t.Height() - measure.TextHeight("Pp")) / 2;
}

int DifferingPixels(const TBitmap& a, const TBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return -1;
  int count = 0;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x) count += a.PixelRGB(x, y) != b.PixelRGB(x, y);
  return count;
}
