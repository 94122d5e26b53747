#include "jpeg_fixtures.h"

#include <cstdlib>

uint8_t PatternSample(int x, int y, int component) {
  switch (component) {
    case 0: return uint8_t(x * 3 + ((x * y) >> 4));
    case 1: return uint8_t(y * 2 + (x >> 1));
    default: return uint8_t(128 + ((x ^ y) & 63) - (y & 31));
  }
}

TBytes MakeJpeg(const TJpegRecipe& recipe) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = JDIMENSION(recipe.Width);
  info.image_height = JDIMENSION(recipe.Height);
  info.input_components = recipe.Grey ? 1 : recipe.Cmyk ? 4 : recipe.TwoComponents ? 2 : 3;
  info.in_color_space = recipe.Grey            ? JCS_GRAYSCALE
                        : recipe.Cmyk          ? JCS_CMYK
                        : recipe.TwoComponents ? JCS_UNKNOWN
                                               : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, recipe.Quality, TRUE);
  if (recipe.Progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> row(size_t(recipe.Width * info.input_components));
  while (info.next_scanline < info.image_height) {
    const int y = int(info.next_scanline);
    for (int x = 0; x < recipe.Width; ++x)
      for (int c = 0; c < info.input_components; ++c)
        row[size_t(x * info.input_components + c)] = PatternSample(x, y, c);
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  TBytes file(buffer, buffer + size);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return file;
}

TLibraryImage LibraryDecode(const TBytes& file, const std::function<void(jpeg_decompress_struct&)>& configure) {
  jpeg_decompress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  errors.emit_message = [](j_common_ptr, int) {};
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, file.data(), (unsigned long)file.size());
  jpeg_read_header(&info, TRUE);
  if (info.out_color_space == JCS_RGB) info.out_color_space = JCS_EXT_BGR;
  if (configure) configure(info);
  jpeg_start_decompress(&info);
  TLibraryImage image;
  image.Width = int(info.output_width);
  image.Height = int(info.output_height);
  image.Components = info.output_components;
  const size_t stride = size_t(image.Width * image.Components);
  image.Samples.resize(stride * size_t(image.Height));
  while (info.output_scanline < info.output_height) {
    JSAMPROW rows[1] = {image.Samples.data() + stride * info.output_scanline};
    jpeg_read_scanlines(&info, rows, 1);
  }
  if (info.quantize_colors)
    for (int c = 0; c < info.out_color_components; ++c)
      image.ColorMap.emplace_back(info.colormap[c], info.colormap[c] + info.actual_number_of_colors);
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return image;
}

TMemoryStream StoredValue(const TBytes& file) {
  TMemoryStream stream;
  const auto count = int32_t(file.size());
  stream.WriteBuffer(&count, 4);
  if (count > 0) stream.WriteBuffer(file.data(), count);
  stream.SetPosition(0);
  return stream;
}

TMemoryStream StreamOf(const TBytes& bytes) {
  TMemoryStream stream;
  if (!bytes.empty()) stream.WriteBuffer(bytes.data(), int64_t(bytes.size()));
  stream.SetPosition(0);
  return stream;
}
