/* Writes the small JPEG seed files of fuzz/corpus/jpeg: one per colour layout and scan
 * structure the glue must handle or refuse. Build: cc make_jpeg_seeds.c -ljpeg; run in the
 * corpus folder. Each file gets a leading settings byte (see jpeg_fuzz.cpp). */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <jpeglib.h>

static void write_seed(const char* name, unsigned char settings, int w, int h, int comps, J_COLOR_SPACE in,
                       J_COLOR_SPACE out, int progressive, int restart) {
  struct jpeg_compress_struct c;
  struct jpeg_error_mgr e;
  unsigned char* mem = NULL;
  unsigned long size = 0;
  c.err = jpeg_std_error(&e);
  jpeg_create_compress(&c);
  jpeg_mem_dest(&c, &mem, &size);
  c.image_width = (JDIMENSION)w;
  c.image_height = (JDIMENSION)h;
  c.input_components = comps;
  c.in_color_space = in;
  jpeg_set_defaults(&c);
  jpeg_set_colorspace(&c, out);
  jpeg_set_quality(&c, 75, TRUE);
  if (progressive) jpeg_simple_progression(&c);
  c.restart_interval = (unsigned)restart;
  jpeg_start_compress(&c, TRUE);
  unsigned char* row = malloc((size_t)(w * comps));
  while (c.next_scanline < c.image_height) {
    for (int x = 0; x < w * comps; ++x) row[x] = (unsigned char)((x * 7 + (int)c.next_scanline * 13) & 0xFF);
    JSAMPROW rows[1] = {row};
    jpeg_write_scanlines(&c, rows, 1);
  }
  jpeg_finish_compress(&c);
  FILE* f = fopen(name, "wb");
  fputc(settings, f);
  fwrite(mem, 1, size, f);
  fclose(f);
  free(row);
  free(mem);
  jpeg_destroy_compress(&c);
}

int main(void) {
  write_seed("baseline_rgb", 0x00, 16, 12, 3, JCS_RGB, JCS_YCbCr, 0, 0);
  write_seed("baseline_rgb_8bit", 0x01, 16, 12, 3, JCS_RGB, JCS_YCbCr, 0, 0);
  write_seed("baseline_rgb_work_palette", 0x41, 9, 7, 3, JCS_RGB, JCS_YCbCr, 0, 0);
  write_seed("progressive_each_scan", 0x03, 24, 17, 3, JCS_RGB, JCS_YCbCr, 1, 0);
  write_seed("progressive_each_scan_palette", 0x43, 24, 17, 3, JCS_RGB, JCS_YCbCr, 1, 0);
  write_seed("progressive_24", 0x02, 24, 17, 3, JCS_RGB, JCS_YCbCr, 1, 0);
  write_seed("grey", 0x00, 10, 10, 1, JCS_GRAYSCALE, JCS_GRAYSCALE, 0, 0);
  write_seed("grey_progressive", 0x02, 10, 10, 1, JCS_GRAYSCALE, JCS_GRAYSCALE, 1, 0);
  write_seed("cmyk_8bit", 0x01, 8, 8, 4, JCS_CMYK, JCS_CMYK, 0, 0);
  write_seed("ycck_24", 0x00, 8, 8, 4, JCS_CMYK, JCS_YCCK, 0, 0);
  write_seed("two_components_8bit", 0x01, 8, 8, 2, JCS_UNKNOWN, JCS_UNKNOWN, 0, 0);
  write_seed("restarts_scaled", 0x18, 40, 33, 3, JCS_RGB, JCS_YCbCr, 0, 1);
  write_seed("fast_grey_out", 0x24, 16, 16, 3, JCS_RGB, JCS_YCbCr, 0, 0);
  write_seed("one_pixel", 0x00, 1, 1, 3, JCS_RGB, JCS_YCbCr, 0, 0);
  return 0;
}
