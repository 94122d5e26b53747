// The picture generator's exact-size files: the quality search, the comment filling and
// the small pictures' file layouts.
#include <gtest/gtest.h>

#include <cstdio>
#include <jpeglib.h>

#include "tools/assets/exact_jpeg.h"
#include "tools/assets/noise.h"
#include "tools/assets/small_pictures.h"

namespace {
std::vector<uint8_t> NoisyPicture(int w, int h) {
  TRandom random(7);
  std::vector<uint8_t> rgb;
  for (int i = 0; i < w * h; ++i)
    for (int c = 0; c < 3; ++c) rgb.push_back(uint8_t(96 + 40 * c + random.Below(60)));
  return rgb;
}

struct TDecoded {
  int Width = 0, Height = 0, Components = 0;
  bool Progressive = true;
  std::string Comment;
};

TDecoded Decode(const std::vector<uint8_t>& file) {
  jpeg_decompress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_decompress(&info);
  jpeg_save_markers(&info, JPEG_COM, 0xFFFF);
  jpeg_mem_src(&info, file.data(), file.size());
  jpeg_read_header(&info, TRUE);
  TDecoded d{int(info.image_width), int(info.image_height), info.num_components, bool(info.progressive_mode), ""};
  for (jpeg_saved_marker_ptr m = info.marker_list; m != nullptr; m = m->next)
    if (m->marker == JPEG_COM) d.Comment.append(reinterpret_cast<const char*>(m->data), m->data_length);
  jpeg_start_decompress(&info);
  std::vector<uint8_t> row(size_t(info.output_width) * size_t(info.output_components));
  while (info.output_scanline < info.output_height) {
    JSAMPROW r = row.data();
    jpeg_read_scanlines(&info, &r, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return d;
}

TEST(ExactJpeg, FillsToTheTargetWithTheHighestQualityThatLeavesRoomForTheComment) {
  const std::vector<uint8_t> rgb = NoisyPicture(120, 80);
  const size_t natural90 = EncodeJpeg(rgb, 120, 80, 90, {}).size();
  const TJpegFit fit = EncodeExactJpeg(rgb, 120, 80, natural90 + 100, "about this picture");
  EXPECT_EQ(fit.File.size(), natural90 + 100);
  EXPECT_GE(fit.Quality, 90);
  EXPECT_LT(EncodeJpeg(rgb, 120, 80, fit.Quality, {}).size() + 4 + 18, natural90 + 101);
  if (fit.Quality < 100) {
    EXPECT_GT(EncodeJpeg(rgb, 120, 80, fit.Quality + 1, {}).size() + 4 + 18, natural90 + 100)
        << "one step more would not have fitted";
  }
  const TDecoded d = Decode(fit.File);
  EXPECT_EQ(d.Width, 120);
  EXPECT_EQ(d.Height, 80);
  EXPECT_EQ(d.Components, 3);
  EXPECT_FALSE(d.Progressive);
  EXPECT_TRUE(d.Comment.starts_with("about this picture"));
  EXPECT_EQ(d.Comment.size() + 4, fit.File.size() - fit.NaturalSize);
}

TEST(ExactJpeg, ATargetBelowTheLowestQualityIsRefused) {
  const std::vector<uint8_t> rgb = NoisyPicture(64, 64);
  EXPECT_THROW(EncodeExactJpeg(rgb, 64, 64, 300, "x"), std::runtime_error);
  EXPECT_THROW(EncodeJpeg(rgb, 64, 63, 90, {}), std::invalid_argument) << "pixel count must match the size";
}

TEST(ExactJpeg, CommentSegmentsSplitAnyFillIntoValidSegments) {
  EXPECT_TRUE(CommentSegments("c", 0).empty());
  for (size_t tooSmall : {1u, 2u, 3u}) EXPECT_THROW(CommentSegments("c", tooSmall), std::runtime_error);
  EXPECT_EQ(CommentSegments("comment", 4), std::vector<std::string>{""});
  EXPECT_EQ(CommentSegments("comment", 9), std::vector<std::string>{"comme"});
  EXPECT_EQ(CommentSegments("ab", 8), std::vector<std::string>{"ab  "});
  for (size_t fill : {65537u, 65538u, 65540u, 65541u, 131074u, 200000u}) {
    const std::vector<std::string> segments = CommentSegments("ab", fill);
    size_t total = 0;
    for (const std::string& s : segments) {
      EXPECT_LE(s.size(), 65533u);
      total += 4 + s.size();
    }
    EXPECT_EQ(total, fill);
    EXPECT_TRUE(segments[0].starts_with("ab"));
  }
}

TEST(SmallPictures, TheIconFileHoldsA32AndA16PixelImageAt32Bits) {
  const std::vector<uint8_t> icon = MakeIconFile();
  auto le16 = [&](size_t at) { return icon[at] | icon[at + 1] << 8; };
  auto le32 = [&](size_t at) { return uint32_t(le16(at)) | uint32_t(le16(at + 2)) << 16; };
  ASSERT_GE(icon.size(), 38u);
  EXPECT_EQ(le16(0), 0);
  EXPECT_EQ(le16(2), 1);
  ASSERT_EQ(le16(4), 2);
  const int sizes[] = {32, 16};
  for (int i = 0; i < 2; ++i) {
    const size_t entry = 6 + 16 * size_t(i);
    EXPECT_EQ(icon[entry], sizes[i]);
    EXPECT_EQ(icon[entry + 1], sizes[i]);
    EXPECT_EQ(le16(entry + 6), 32) << "bits per pixel";
    const uint32_t bytes = le32(entry + 8), offset = le32(entry + 12);
    ASSERT_LE(size_t(offset) + bytes, icon.size());
    const int s = sizes[i];
    EXPECT_EQ(bytes, 40u + uint32_t(s * s * 4) + uint32_t(((s + 31) / 32) * 4 * s)) << "header, pixels, mask";
    EXPECT_EQ(le32(offset + 4), uint32_t(s));
    EXPECT_EQ(le32(offset + 8), uint32_t(2 * s)) << "colour rows and mask rows";
    const uint8_t cornerAlpha = icon[offset + 40 + 3];  // bottom-left pixel, outside the rounded board
    const uint8_t centreAlpha = icon[offset + 40 + size_t((s / 2) * s + s / 2) * 4 + 3];
    EXPECT_EQ(cornerAlpha, 0);
    EXPECT_EQ(centreAlpha, 255);
  }
}

TEST(SmallPictures, GlyphFilesAreTwoCellBitmapsOnTheTransparentColour) {
  for (TGlyphKind kind : {gkClose, gkAbout}) {
    const std::vector<uint8_t> file = MakeGlyphFile(kind);
    ASSERT_EQ(file.size(), 1590u);
    const uint8_t* corner = &file[54 + 4 * file[1078]];
    EXPECT_EQ((std::vector<int>{corner[2], corner[1], corner[0]}),
              (std::vector<int>{kGlyphBackground[0], kGlyphBackground[1], kGlyphBackground[2]}));
  }
  EXPECT_NE(MakeGlyphFile(gkClose), MakeGlyphFile(gkAbout));
}
}  // namespace
