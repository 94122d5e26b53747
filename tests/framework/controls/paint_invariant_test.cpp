// The paint invariant under random use: after any sequence of invalidations, immediate
// repaints, visibility, z-order, bounds and clipping changes, once the loop has settled
// the window shows exactly what a full repaint of it shows.
#include <cstring>
#include <random>

#include "framework/graphics/bitmap.h"
#include "framework/graphics/png_export.h"
#include "tests/framework/controls/test_controls.h"

namespace {
// How a test control paints: all of its area, or a frame and an inner block only, so that
// whatever lies behind it shows through (and a missing erase shows up).
struct TLook {
  TColor Fill = clRed;
  bool Hollow = false;
};

void PaintLook(TCanvas& canvas, const TRect& client, const TLook& look) {
  canvas.Brush().SetColor(look.Fill);
  canvas.Brush().SetStyle(bsSolid);
  if (!look.Hollow) {
    canvas.FillRect(client);
    return;
  }
  canvas.FrameRect(client);
  canvas.FillRect({client.Left + client.Width() / 3, client.Top + client.Height() / 3,
                   client.Right - client.Width() / 3, client.Bottom - client.Height() / 3});
}

class TLookWindow : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  TLook Look;

 protected:
  void Paint() override { PaintLook(Canvas(), ClientRect(), Look); }
};

class TLookGraphic : public TGraphicControl {
 public:
  using TGraphicControl::TGraphicControl;
  TLook Look;

 protected:
  void Paint() override { PaintLook(Canvas(), ClientRect(), Look); }
};

constexpr TColor kPalette[] = {clMaroon, clGreen, clOlive, clNavy, clPurple, clTeal, clGray, clSilver,
                               clRed,    clLime,  clYellow, clBlue, clFuchsia, clAqua, clCream, clSkyBlue};
// Never painted by any control: a pixel left in it was painted by nobody.
constexpr TColor kUnpainted = TColor(0x00FE00FF);

class PaintInvariant : public ControlsTest {
 protected:
  std::mt19937 Random{20260101};
  std::unique_ptr<TLookWindow> Top;
  std::vector<TControl*> All;  // every control but the top-level window
  std::vector<TWinControl*> Windows;  // the top-level window too
  std::string Trace;  // the changes of the current step, for a failure report

  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(Random); }
  bool Chance(int percent) { return Pick(100) < percent; }
  TColor AnyColor() { return kPalette[Pick(int(std::size(kPalette)))]; }

  static void SetOpaque(TControl& c, bool on) {
    TControlStyle s = c.ControlStyle();
    if (on) s.Include(csOpaque);
    else s.Exclude(csOpaque);
    c.SetControlStyle(s);
  }
  static TLook& LookOf(TControl* c) {
    if (auto* w = dynamic_cast<TLookWindow*>(c)) return w->Look;
    return static_cast<TLookGraphic*>(c)->Look;
  }
  // Opaque controls cover their area, as csOpaque promises; the others may or may not.
  TLook NewLook(bool opaque) { return {AnyColor(), !opaque && Chance(50)}; }
  TRect RandomBounds(const TWinControl& parent) {
    const int w = parent.ClientWidth(), h = parent.ClientHeight();
    const int cw = 8 + Pick(std::max(1, w * 2 / 3)), ch = 8 + Pick(std::max(1, h * 2 / 3));
    return Bounds(Pick(std::max(1, w - cw / 2)) - 4, Pick(std::max(1, h - ch / 2)) - 4, cw, ch);
  }

  void AddChildren(TWinControl* parent, int depth) {
    const int windows = depth < 2 ? 2 + Pick(2) : 0;
    const int graphics = 1 + Pick(3);
    for (int i = 0; i < graphics; ++i) {
      auto* g = new TLookGraphic(Top.get());
      const bool opaque = Chance(40);
      SetOpaque(*g, opaque);
      g->Look = NewLook(opaque);
      g->SetBoundsRect(RandomBounds(*parent));
      g->SetParent(parent);
      All.push_back(g);
    }
    for (int i = 0; i < windows; ++i) {
      auto* w = new TLookWindow(Top.get());
      const bool opaque = Chance(30);
      SetOpaque(*w, opaque);
      w->Look = NewLook(opaque);
      w->SetColor(AnyColor());
      w->SetClipChildren(Chance(40));
      w->SetBoundsRect(RandomBounds(*parent));
      w->SetParent(parent);
      All.push_back(w);
      Windows.push_back(w);
      AddChildren(w, depth + 1);
    }
  }

  void Build() {
    Top = std::make_unique<TLookWindow>(nullptr);
    Top->Look = {clWhite, true};
    Top->SetColor(clBtnFace);
    Top->SetBounds(100, 50, 240, 180);
    Top->CreatePlatformWindow(*Backend);
    Windows.push_back(Top.get());
    AddChildren(Top.get(), 0);
  }

  // One change of the kind a control makes, each with the request for paint that goes
  // with it. Only controls whose paint covers them are invalidated without erasing.
  void RandomStep() {
    const size_t index = size_t(Pick(int(All.size())));
    TControl* c = All[index];
    TLook& look = LookOf(c);
    const bool opaque = c->ControlStyle().Contains(csOpaque);
    const int kind = Pick(11);
    Trace += " [kind " + std::to_string(kind) + " on control " + std::to_string(index) +
             (dynamic_cast<TWinControl*>(c) ? " window" : " graphic") + (opaque ? " opaque" : "") +
             (look.Hollow ? " hollow" : "") + "]";
    switch (kind) {
      case 0: look.Fill = AnyColor(); c->Invalidate(); break;
      case 1: look.Fill = AnyColor(); c->Repaint(); break;
      case 2:
        look.Fill = AnyColor();
        if (look.Hollow) c->Repaint();
        else c->Repaint(false);
        break;
      case 3:
        if (!look.Hollow) {
          look.Fill = AnyColor();
          c->InvalidateRect(c->ClientRect(), false);
        } else {
          c->InvalidateRect(RandomBounds(*c->Parent()), true);
        }
        break;
      case 4: Windows[size_t(Pick(int(Windows.size())))]->Update(); break;
      case 5: c->SetVisible(!c->Visible()); break;
      case 6: Chance(50) ? c->BringToFront() : c->SendToBack(); break;
      case 7: c->SetBoundsRect(RandomBounds(*c->Parent())); break;
      case 8: c->SetLeft(c->Left() + Pick(21) - 10); break;
      case 9:
        if (auto* w = dynamic_cast<TWinControl*>(c)) w->SetClipChildren(!w->ClipChildren());
        break;
      default:
        if (auto* w = dynamic_cast<TWinControl*>(c)) w->SetColor(AnyColor());
        else if (opaque) c->Repaint();
        break;
    }
  }

  // What the screen shows of the window, then the same after painting everything afresh
  // on a surface spoiled beforehand.
  std::unique_ptr<TBitmap> FullRepaint() {
    TBitmapImage& surface = Top->PlatformWindow()->Surface();
    TDrawContext spoil(&surface);
    spoil.FillRect({0, 0, surface.Width, surface.Height}, TBrushData{kUnpainted, bsSolid, nullptr});
    Top->InvalidateWithChildren(Top->ClientRect(), true);
    System.ProcessMessages();
    auto image = std::make_unique<TBitmap>();
    image->CopyFrom(&Platform(*Top).Presented());
    return image;
  }

  // The first pixel where the two differ, or (-1, -1).
  static TPoint FirstDifference(const TBitmap& a, const TBitmap& b) {
    const size_t rowBytes = size_t(a.Width()) * 4;
    for (int y = 0; y < a.Height(); ++y) {
      if (std::memcmp(a.ScanLine(y), b.ScanLine(y), rowBytes) == 0) continue;
      for (int x = 0; x < a.Width(); ++x)
        if (a.PixelRGB(x, y) != b.PixelRGB(x, y)) return {x, y};
    }
    return {-1, -1};
  }
  static bool Contains(const TBitmap& image, TColor color) {
    for (int y = 0; y < image.Height(); ++y)
      for (int x = 0; x < image.Width(); ++x)
        if (image.PixelRGB(x, y) == uint32_t(color)) return true;
    return false;
  }
};
}  // namespace

TEST_F(PaintInvariant, SettledWindowEqualsAFullRepaintAfterEveryRandomStep) {
  constexpr int kSteps = 3000;
  Build();
  ASSERT_GE(All.size(), 12u);
  System.ProcessMessages();
  for (int step = 0; step < kSteps; ++step) {
    Trace.clear();
    const int changes = 1 + Pick(3);
    for (int i = 0; i < changes; ++i) RandomStep();
    System.ProcessMessages();
    ASSERT_FALSE(System.PaintPending()) << "step " << step;
    TBitmap settled;
    settled.CopyFrom(&Platform(*Top).Presented());
    auto full = FullRepaint();
    ASSERT_FALSE(Contains(*full, kUnpainted)) << "step " << step << ": a full repaint left pixels unpainted";
    const TPoint at = FirstDifference(settled, *full);
    if (at.X >= 0) {
      SaveBitmapToPng(settled, "/tmp/paint_invariant_settled.png");
      SaveBitmapToPng(*full, "/tmp/paint_invariant_full.png");
    }
    ASSERT_EQ(at, (TPoint{-1, -1})) << "step " << step << ": settled pixels differ from a full repaint at ("
                                    << at.X << ", " << at.Y << "); images in /tmp/paint_invariant_*.png; changes:" << Trace;
  }
}
