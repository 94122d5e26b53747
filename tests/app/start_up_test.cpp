// Start-up: the icon read from an icon file and the one the program embeds, the title, and
// a window description that cannot be read.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "app/application_icon.h"
#include "app/form1.h"
#include "app/form2.h"
#include "app/program.h"
#include "formstream/resources.h"
#include "framework/controls/application.h"
#include "framework/core/exceptions.h"
#include "platform/headless/headless_backend.h"

namespace {
void Put(std::vector<uint8_t>& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

// An icon file with one 32-bit entry per size; pixel (x, y) of size s is B = x, G = y,
// R = s, A = 255, stored bottom-up with an empty mask after it.
std::vector<uint8_t> IconFile(const std::vector<int>& sizes) {
  std::vector<std::vector<uint8_t>> images;
  for (int s : sizes) {
    std::vector<uint8_t> dib;
    Put(dib, 40, 4), Put(dib, uint32_t(s), 4), Put(dib, uint32_t(2 * s), 4), Put(dib, 1, 2), Put(dib, 32, 2);
    for (int i = 0; i < 6; ++i) Put(dib, 0, 4);
    for (int y = s - 1; y >= 0; --y)
      for (int x = 0; x < s; ++x) dib.insert(dib.end(), {uint8_t(x), uint8_t(y), uint8_t(s), 255});
    dib.resize(dib.size() + size_t((s + 31) / 32 * 4 * s), 0);
    images.push_back(dib);
  }
  std::vector<uint8_t> file;
  Put(file, 0, 2), Put(file, 1, 2), Put(file, uint32_t(sizes.size()), 2);
  uint32_t offset = uint32_t(6 + 16 * sizes.size());
  for (size_t i = 0; i < sizes.size(); ++i) {
    file.insert(file.end(), {uint8_t(sizes[i]), uint8_t(sizes[i]), 0, 0});
    Put(file, 1, 2), Put(file, 32, 2), Put(file, uint32_t(images[i].size()), 4), Put(file, offset, 4);
    offset += uint32_t(images[i].size());
  }
  for (const auto& image : images) file.insert(file.end(), image.begin(), image.end());
  return file;
}

TEST(ApplicationIcon, TheEntryOfTheAskedSizeIsReadTopRowFirst) {
  const auto icon = ReadIconImage(IconFile({16, 32}), 32);
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->Width(), 32);
  EXPECT_EQ(icon->Height(), 32);
  for (auto [x, y] : {std::pair{0, 0}, {31, 0}, {5, 17}, {31, 31}}) {
    const uint8_t* p = icon->ScanLine(y) + 4 * x;
    EXPECT_EQ((std::vector<int>{p[0], p[1], p[2], p[3]}), (std::vector<int>{x, y, 32, 255})) << x << "," << y;
  }
  const auto small = ReadIconImage(IconFile({16, 32}), 16);
  ASSERT_NE(small, nullptr);
  EXPECT_EQ(small->ScanLine(3)[4 * 2 + 2], 16) << "the 16-pixel entry, not the first one found";
}

TEST(ApplicationIcon, AFileCutShortOrOfAnotherKindGivesNoImage) {
  const std::vector<uint8_t> file = IconFile({32});
  EXPECT_EQ(ReadIconImage(file, 48), nullptr) << "no entry of that size";
  for (size_t cut : {size_t(0), size_t(5), size_t(20), size_t(60), file.size() - 1})
    EXPECT_EQ(ReadIconImage(std::span(file.data(), cut), 32), nullptr) << "cut at " << cut;
  std::vector<uint8_t> cursor = file;
  cursor[2] = 2;
  EXPECT_EQ(ReadIconImage(cursor, 32), nullptr) << "a cursor file";
  std::vector<uint8_t> farOffset = file;
  farOffset[18] = 0xFF, farOffset[19] = 0xFF, farOffset[20] = 0xFF, farOffset[21] = 0x7F;
  EXPECT_EQ(ReadIconImage(farOffset, 32), nullptr) << "an offset beyond the end";
  std::vector<uint8_t> hugeSize = file;
  hugeSize[14] = 0xFF, hugeSize[15] = 0xFF, hugeSize[16] = 0xFF, hugeSize[17] = 0xFF;
  EXPECT_EQ(ReadIconImage(hugeSize, 32), nullptr) << "a byte count beyond the end";
  std::vector<uint8_t> eightBit = file;
  eightBit[22 + 14] = 8;
  EXPECT_EQ(ReadIconImage(eightBit, 32), nullptr) << "only 32-bit entries are read";
}

TEST(ApplicationIcon, TheProgramCarriesItsIconAndGivesItToEveryWindow) {
  std::ifstream in(VELMORATH_ICON_FILE, std::ios::binary);
  ASSERT_TRUE(in) << VELMORATH_ICON_FILE;
  const std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const auto expected = ReadIconImage(file, kApplicationIconSize);
  ASSERT_NE(expected, nullptr);
  const auto embedded = ApplicationIconImage();
  ASSERT_NE(embedded, nullptr);
  for (int y = 0; y < kApplicationIconSize; ++y)
    ASSERT_EQ(std::memcmp(embedded->ScanLine(y), expected->ScanLine(y), 4 * kApplicationIconSize), 0) << "row " << y;

  auto backend = CreateHeadlessBackend();
  {
    TApplication application;
    StartVelmorath(application, *backend, "/usr/bin/velmorath");
    EXPECT_EQ(application.Title(), "velmorath");
    ASSERT_EQ(backend->Icon().Width(), kApplicationIconSize);
    for (int y = 0; y < kApplicationIconSize; ++y)
      ASSERT_EQ(std::memcmp(backend->Icon().ScanLine(y), expected->ScanLine(y), 4 * kApplicationIconSize), 0);
  }
}
// The About window's description replaced by bytes that are no form description: the
// main window exists, the About window's reference stays empty and the failure passes on
// to main(), which reports it and ends with a non-zero status.
TEST(StartUp, AWindowThatCannotBeReadEndsStartUpWithTheFailure) {
  const auto original = FindResource("TFORM2");
  ASSERT_TRUE(original.has_value());
  static const uint8_t kNotAForm[] = {'T', 'P', 'F', '0', 0xFF, 0xFF, 0xFF};
  RegisterResource("TFORM2", kNotAForm, sizeof kNotAForm);
  auto backend = CreateHeadlessBackend();
  {
    TApplication application;
    std::string message;
    try {
      StartVelmorath(application, *backend, "/usr/bin/velmorath");
    } catch (const Exception& e) {
      message = e.Message();
    }
    EXPECT_FALSE(message.empty()) << "the failure carries the reader's message";
    EXPECT_NE(Form1, nullptr);
    EXPECT_EQ(Form2, nullptr);
  }
  RegisterResource("TFORM2", original->data(), original->size());
  EXPECT_EQ(Form1, nullptr);
}
}  // namespace
