#include "framework/graphics/font_face.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cerrno>
#include <cmath>

#include "framework/core/exceptions.h"
#include "framework/graphics/text_codepage.h"

namespace {
constexpr int kDefaultCellHeight = 13;
constexpr int kMaxEmPixels = 2048;

int CeilPixels(FT_Pos v) { return int((v + 63) >> 6); }
int RoundPixels(FT_Pos v) { return int((v + 32) >> 6); }
// A font-unit distance at the face's current size, rounded to whole pixels.
int ScaleUnits(FT_Face face, FT_Long units) { return RoundPixels(FT_MulFix(units, face->size->metrics.y_scale)); }
int ScaleUnitsX(FT_Face face, FT_Long units) { return RoundPixels(FT_MulFix(units, face->size->metrics.x_scale)); }

// A face file is read with read calls, not mapped whole: FreeType then keeps only the
// tables it loads (and the glyph cache the glyphs), where a mapping would keep resident
// every page around each glyph outline ever read, once per face at each size.
unsigned long ReadFontFile(FT_Stream stream, unsigned long offset, unsigned char* buffer, unsigned long count) {
  // A count of 0 is a seek, which fails (non-zero) past the end.
  if (count == 0) return offset > stream->size ? 1 : 0;
  const int fd = int(stream->descriptor.value);
  unsigned long done = 0;
  while (done < count) {
    const ssize_t n = pread(fd, buffer + done, count - done, off_t(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += (unsigned long)(n);
  }
  return done;
}

void CloseFontFile(FT_Stream stream) { close(int(stream->descriptor.value)); }

FT_Stream OpenFontFile(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat st {};
  if (fstat(fd, &st) != 0 || st.st_size <= 0) {
    close(fd);
    return nullptr;
  }
  auto* stream = new FT_StreamRec{};
  stream->size = (unsigned long)(st.st_size);
  stream->descriptor.value = fd;
  stream->read = ReadFontFile;
  stream->close = CloseFontFile;
  return stream;
}
}  // namespace

TFontFace::TFontFace(FT_LibraryRec_* library, const TFontFile& file, int height, bool bold, bool italic)
    : FPath(file.Path) {
  FStream = OpenFontFile(file.Path);
  if (FStream == nullptr) throw EOutOfResources(rs::SOutOfResources);
  FT_Open_Args args{};
  args.flags = FT_OPEN_STREAM;
  args.stream = FStream;
  // FreeType closes the file when the face goes, or at once when opening it fails.
  if (FT_Open_Face(library, &args, file.Index, &FFace) != 0) {
    delete FStream;
    throw EOutOfResources(rs::SOutOfResources);
  }
  try {
    Setup(file, height, bold, italic);
  } catch (...) {
    FT_Done_Face(FFace);  // the destructor does not run for a constructor that throws
    delete FStream;
    throw;
  }
}

void TFontFace::Setup(const TFontFile& file, int height, bool bold, bool italic) {
  if (!FT_IS_SCALABLE(FFace)) throw EOutOfResources(rs::SOutOfResources);
  const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(FFace, FT_SFNT_OS2));
  if (os2 != nullptr && os2->usWeightClass != 0) FFaceWeight = os2->usWeightClass;
  FSynthBold = bold && FFaceWeight < 600 && file.Weight < 600;
  FSynthItalic = italic && !file.Italic && (FFace->style_flags & FT_STYLE_FLAG_ITALIC) == 0;

  // Heights beyond the largest em size are clamped (negating INT_MIN would overflow).
  int em = height < -kMaxEmPixels ? kMaxEmPixels : -height;
  if (height >= 0) {
    // A cell height: the largest em size whose cell does not exceed it.
    const int cell = height == 0 ? kDefaultCellHeight : std::min(height, 4 * kMaxEmPixels);
    const int unitsCell = std::max<int>(1, FFace->ascender - FFace->descender);
    em = std::clamp(int(std::lround(double(cell) * FFace->units_per_EM / unitsCell)), 1, kMaxEmPixels);
    while (em > 1 && CellHeightAt(em) > cell) --em;
    while (em < kMaxEmPixels && CellHeightAt(em + 1) <= cell) ++em;
  }
  SelectEm(std::clamp(em, 1, kMaxEmPixels));
  ComputeMetrics();
  FMetric.Weight = bold ? 700 : 400;
  FMetric.Italic = italic;
  FMetric.FaceName = file.Family;
}

TFontFace::~TFontFace() {
  FT_Done_Face(FFace);
  delete FStream;
}

int TFontFace::CellHeightAt(int em) {
  SelectEm(em);
  return CeilPixels(FFace->size->metrics.ascender) + CeilPixels(-FFace->size->metrics.descender);
}

void TFontFace::SelectEm(int em) {
  FEmPixels = em;
  if (FT_Set_Pixel_Sizes(FFace, 0, FT_UInt(em)) != 0) throw EOutOfResources(rs::SOutOfResources);
}

void TFontFace::ComputeMetrics() {
  const FT_Size_Metrics& m = FFace->size->metrics;
  FMetric.Ascent = CeilPixels(m.ascender);
  FMetric.Descent = CeilPixels(-m.descender);
  FMetric.Height = FMetric.Ascent + FMetric.Descent;
  FMetric.InternalLeading = FMetric.Height - FEmPixels;
  FMetric.MaxCharWidth = CeilPixels(m.max_advance);
  const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(FFace, FT_SFNT_OS2));
  FMetric.AveCharWidth = os2 != nullptr && os2->xAvgCharWidth > 0 ? ScaleUnitsX(FFace, os2->xAvgCharWidth) : Advance('x');
  FMetric.PitchAndFamily = kTrueTypeFontBit | (FT_IS_FIXED_WIDTH(FFace) ? 0 : kVariablePitchBit);

  FUnderline.Thickness = std::max(1, ScaleUnits(FFace, FFace->underline_thickness));
  FUnderline.Offset = std::max(1, -ScaleUnits(FFace, FFace->underline_position));
  if (os2 != nullptr && os2->yStrikeoutSize > 0) {
    FStrikeOut.Thickness = std::max(1, ScaleUnits(FFace, os2->yStrikeoutSize));
    FStrikeOut.Offset = -ScaleUnits(FFace, os2->yStrikeoutPosition);
  } else {
    FStrikeOut = {-FMetric.Ascent / 3, FUnderline.Thickness};
  }
}

const TGlyphImage& TFontFace::Glyph(uint8_t ch) {
  std::unique_ptr<TGlyphImage>& slot = FGlyphs[ch];
  if (!slot) slot = Render(ch);
  return *slot;
}

std::unique_ptr<TGlyphImage> TFontFace::Render(uint8_t ch) {
  auto glyph = std::make_unique<TGlyphImage>();
  if (ch < 0x20) return glyph;
  if (FT_Load_Char(FFace, DecodeTextByte(ch), FT_LOAD_DEFAULT) != 0) return glyph;
  FT_GlyphSlot slot = FFace->glyph;
  if (FSynthItalic) FT_GlyphSlot_Oblique(slot);
  if (FSynthBold) FT_GlyphSlot_Embolden(slot);
  glyph->Advance = RoundPixels(slot->advance.x);
  if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0 || slot->bitmap.pixel_mode != FT_PIXEL_MODE_GRAY)
    return glyph;
  const FT_Bitmap& bitmap = slot->bitmap;
  glyph->Left = slot->bitmap_left;
  glyph->Top = slot->bitmap_top;
  glyph->Width = int(bitmap.width);
  glyph->Rows = int(bitmap.rows);
  glyph->Coverage.resize(size_t(glyph->Width) * size_t(glyph->Rows));
  for (int y = 0; y < glyph->Rows; ++y) {
    const uint8_t* row = bitmap.buffer + ptrdiff_t(y) * bitmap.pitch;
    std::copy(row, row + glyph->Width, glyph->Coverage.begin() + ptrdiff_t(y) * glyph->Width);
  }
  return glyph;
}
