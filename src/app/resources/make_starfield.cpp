// Generates the star-field picture of the start panel: 570 x 438, a deep sky with a faint
// band of milky light and a few thousand stars of varied brightness and colour.
//   vnx-make-starfield OUT.jpg
#include <cstddef>
#include <cstdio>
// clang-format off
#include <jpeglib.h>
// clang-format on

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: vnx-make-starfield OUT.jpg\n");
    return 2;
  }
  const int w = 570, h = 438;
  std::vector<float> rgb(static_cast<size_t>(w) * h * 3, 0.0f);
  std::mt19937 rng(20090623);
  std::uniform_real_distribution<float> u(0, 1);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      // A diagonal band of diffuse light over a near-black sky.
      const float d = std::abs((x - w * 0.5f) * 0.55f - (y - h * 0.5f)) / (h * 0.35f);
      const float band = std::exp(-d * d) * 0.10f;
      float* p = &rgb[(static_cast<size_t>(y) * w + x) * 3];
      p[0] = 0.01f + band * 0.8f;
      p[1] = 0.012f + band * 0.75f;
      p[2] = 0.03f + band;
    }
  auto plot = [&](float cx, float cy, float radius, float r, float g, float b) {
    const int x0 = std::max(0, static_cast<int>(cx - radius * 3));
    const int x1 = std::min(w - 1, static_cast<int>(cx + radius * 3));
    const int y0 = std::max(0, static_cast<int>(cy - radius * 3));
    const int y1 = std::min(h - 1, static_cast<int>(cy + radius * 3));
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) {
        const float dd = ((x - cx) * (x - cx) + (y - cy) * (y - cy)) / (radius * radius);
        const float k = std::exp(-dd);
        float* p = &rgb[(static_cast<size_t>(y) * w + x) * 3];
        p[0] += r * k;
        p[1] += g * k;
        p[2] += b * k;
      }
  };
  for (int i = 0; i < 4000; ++i) {
    const float bright = std::pow(u(rng), 6.0f) * 1.6f + 0.05f;
    const float tint = u(rng);
    const float r = bright * (0.8f + 0.3f * tint), b = bright * (1.1f - 0.3f * tint);
    plot(u(rng) * w, u(rng) * h, 0.45f + bright * 0.9f, r, bright, b);
  }
  std::vector<unsigned char> bytes(rgb.size());
  for (size_t i = 0; i < rgb.size(); ++i)
    bytes[i] = static_cast<unsigned char>(std::clamp(rgb[i], 0.0f, 1.0f) * 255.0f + 0.5f);

  FILE* out = std::fopen(argv[1], "wb");
  if (!out) return 1;
  jpeg_compress_struct info{};
  jpeg_error_mgr err{};
  info.err = jpeg_std_error(&err);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, out);
  info.image_width = w;
  info.image_height = h;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 88, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = &bytes[static_cast<size_t>(info.next_scanline) * w * 3];
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::fclose(out);
  return 0;
}
