#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

#include "PictureSupport.h"
#include "pictures/Bmp.h"
#include "pictures/FileProbes.h"
#include "pictures/Jpeg.h"
#include "pictures/JpegWork.h"
#include "base/SsfError.h"

namespace ssf {
namespace {

// A greyscale or CMYK JPEG, which our encoder never makes, straight from libjpeg.
Bytes LibjpegFile(J_COLOR_SPACE space, int components, uint32_t width, uint32_t height) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = width;
  cinfo.image_height = height;
  cinfo.input_components = components;
  cinfo.in_color_space = space;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 100, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<uint8_t> row(static_cast<size_t>(width) * components);
  while (cinfo.next_scanline < height) {
    for (size_t i = 0; i < row.size(); ++i) row[i] = static_cast<uint8_t>(i * 16 + cinfo.next_scanline * 8);
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&cinfo, &r, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  Bytes out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

int MaxDifference(const Image& a, const Image& b) {
  int worst = 0;
  for (size_t i = 0; i < a.bgr.size(); ++i) worst = std::max(worst, std::abs(a.bgr[i] - b.bgr[i]));
  return worst;
}

TEST(Jpeg, EncodesBaselineJfifAtQuality100AndDecodesClose) {
  // A smooth picture: what JPEG is for, so quality 100 should come back within a few levels.
  Image image(33, 17);
  for (uint32_t y = 0; y < image.height; ++y) {
    for (uint32_t x = 0; x < image.width; ++x) {
      uint8_t* p = image.Pixel(x, y);
      p[0] = static_cast<uint8_t>(x * 4), p[1] = static_cast<uint8_t>(y * 8), p[2] = static_cast<uint8_t>(128 + x * 2 - y);
    }
  }
  const Bytes jpeg = EncodeJpeg(image);
  EXPECT_TRUE(IsJFIF(jpeg)) << "the import only takes JFIF files, so ours must be one";
  bool baseline = false;
  for (size_t i = 0; i + 1 < jpeg.size(); ++i) baseline |= jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0;
  EXPECT_TRUE(baseline) << "SOF0 marker";
  EXPECT_TRUE(test::AllQuantisationStepsAreOne(jpeg)) << "quality 100";
  EXPECT_FALSE(test::AllQuantisationStepsAreOne(EncodeJpeg(image, 95)));
  const Image back = DecodeJpeg(jpeg);
  ASSERT_EQ(back.width, 33u);
  ASSERT_EQ(back.height, 17u);
  EXPECT_FALSE(back.HasAlpha());
  EXPECT_LE(MaxDifference(back, image), 6);
  EXPECT_LT(EncodeJpeg(image, 10).size(), jpeg.size());
}

// The smallest of the scales 1/8 .. 8/8 whose sides (rounded up, as libjpeg does) keep the
// size asked for; never larger than the picture. The scaled picture stays the picture.
TEST(Jpeg, DecodesAtTheSmallestScaleThatKeepsTheSize) {
  const Bytes jpeg = EncodeJpeg(test::SmoothPicture(400, 300), 90);
  const struct {
    uint32_t width, height, want_width, want_height;
  } cases[] = {
      {43, 32, 50, 38},      // 1/8
      {51, 32, 100, 75},     // 2/8: 1/8 is one pixel short across
      {43, 39, 100, 75},     // ... or down
      {150, 1, 150, 113},    // 3/8
      {399, 300, 400, 300},  // 8/8
      {1000, 1000, 400, 300},
      {0, 0, 50, 38},
  };
  for (const auto& c : cases) {
    const Image scaled = DecodeJpegAtLeast(jpeg, c.width, c.height);
    EXPECT_EQ(scaled.width, c.want_width) << c.width << "x" << c.height;
    EXPECT_EQ(scaled.height, c.want_height) << c.width << "x" << c.height;
  }
  const Image eighth = DecodeJpegAtLeast(jpeg, 43, 32);
  const Image whole = DecodeJpeg(jpeg);
  for (uint32_t y = 0; y < eighth.height - 1; ++y) {  // each pixel about the mean of its 8x8 block
    for (uint32_t x = 0; x < eighth.width; ++x) {
      for (int c = 0; c < 3; ++c) {
        int sum = 0;
        for (uint32_t v = 0; v < 8; ++v) {
          for (uint32_t u = 0; u < 8; ++u) sum += whole.Pixel(x * 8 + u, y * 8 + v)[c];
        }
        EXPECT_NEAR(eighth.Pixel(x, y)[c], sum / 64, 3) << x << "," << y;
      }
    }
  }
}

// Decoded straight into a BMP file's rows, bottom-up, the file is EncodeBmp's of the decoded
// picture, row padding of every width included, for colour, greyscale and CMYK files.
TEST(Jpeg, StraightIntoBmpIsTheEncodedPicture) {
  std::vector<Bytes> files = {LibjpegFile(JCS_GRAYSCALE, 1, 5, 3), LibjpegFile(JCS_CMYK, 4, 6, 2)};
  for (uint32_t width = 1; width <= 4; ++width) files.push_back(EncodeJpeg(test::Gradient(width, 3), 90));
  for (const Bytes& jpeg : files) {
    const ScratchBuffer bmp = JpegToBmp(jpeg);
    EXPECT_EQ(Bytes(bmp.data(), bmp.data() + bmp.size()), EncodeBmp(DecodeJpeg(jpeg)));
  }
}

TEST(Jpeg, DecodesGreyscale) {
  const Image grey = DecodeJpeg(LibjpegFile(JCS_GRAYSCALE, 1, 8, 4));
  ASSERT_EQ(grey.width, 8u);
  for (size_t i = 0; i < grey.PixelCount(); ++i) {
    EXPECT_EQ(grey.bgr[i * 3], grey.bgr[i * 3 + 1]);
    EXPECT_EQ(grey.bgr[i * 3], grey.bgr[i * 3 + 2]);
  }
}

// Smooth ink samples, so quality 100 keeps them within a few levels.
uint8_t InkSample(uint32_t x, uint32_t y, int channel) {
  return static_cast<uint8_t>(30 + x * 6 + y * 4 + channel * 40);
}

// A 16x12 CMYK picture stored as CMYK or YCCK, with or without the Adobe marker.
Bytes CmykJpeg(J_COLOR_SPACE stored_as, bool adobe_marker) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = 16;
  cinfo.image_height = 12;
  cinfo.input_components = 4;
  cinfo.in_color_space = JCS_CMYK;
  jpeg_set_defaults(&cinfo);
  jpeg_set_colorspace(&cinfo, stored_as);
  cinfo.write_Adobe_marker = adobe_marker ? TRUE : FALSE;
  jpeg_set_quality(&cinfo, 100, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<uint8_t> row(16 * 4);
  while (cinfo.next_scanline < cinfo.image_height) {
    for (uint32_t x = 0; x < 16; ++x) {
      for (int c = 0; c < 4; ++c) row[x * 4 + static_cast<size_t>(c)] = InkSample(x, cinfo.next_scanline, c);
    }
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&cinfo, &r, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  Bytes out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

TEST(Jpeg, DecodesCmykAndYcckIntoRgb) {
  const struct {
    const char* name;
    J_COLOR_SPACE stored_as;
    bool adobe_marker;  // Adobe's writers store inverted inks: 0 is full ink
  } cases[] = {
      {"CMYK with the Adobe marker", JCS_CMYK, true},
      {"CMYK without a marker", JCS_CMYK, false},
      {"YCCK (always with the marker)", JCS_YCCK, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Bytes jpeg = CmykJpeg(c.stored_as, c.adobe_marker);
    EXPECT_FALSE(IsJFIF(jpeg)) << "still no JPG theme file";
    const Image image = DecodeJpeg(jpeg);
    ASSERT_EQ(image.width, 16u);
    ASSERT_EQ(image.height, 12u);
    int worst = 0;
    for (uint32_t y = 0; y < 12; ++y) {
      for (uint32_t x = 0; x < 16; ++x) {
        auto ink = [&](int channel) {
          const int v = InkSample(x, y, channel);
          return c.adobe_marker ? 255 - v : v;  // 0..255 as the amount of ink
        };
        const int k = ink(3);
        for (int channel = 0; channel < 3; ++channel) {  // cyan, magenta, yellow -> red, green, blue
          const int expected = (255 - ink(channel)) * (255 - k) / 255;
          worst = std::max(worst, std::abs(image.Pixel(x, y)[2 - channel] - expected));
        }
      }
    }
    EXPECT_LE(worst, 4);
  }
}

TEST(Jpeg, RefusesDamagedAndCutShortFiles) {
  const Bytes good = EncodeJpeg(test::Gradient(40, 40));
  Bytes garbage_after_soi = good;
  for (size_t i = 2; i < 40; ++i) garbage_after_soi[i] = 0x11;
  Bytes huge = EncodeJpeg(test::Gradient(8, 8));
  for (size_t i = 0; i + 8 < huge.size(); ++i) {
    if (huge[i] == 0xFF && huge[i + 1] == 0xC0) {  // SOF0: height at +5, width at +7, big-endian
      huge[i + 5] = 0xFF, huge[i + 6] = 0xF0, huge[i + 7] = 0xFF, huge[i + 8] = 0xF0;
      break;
    }
  }
  const struct {
    const char* name;
    Bytes data;
  } cases[] = {
      {"empty", {}},
      {"not a JPEG", Bytes{'B', 'M', 1, 2, 3, 4, 5, 6}},
      {"cut in the header", Bytes(good.begin(), good.begin() + 100)},
      {"cut in the pixels", Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(good.size() * 2 / 3))},
      {"garbage after the start marker", garbage_after_soi},
      {"over the size limit", huge},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_THROW(DecodeJpeg(c.data), SsfError);
  }
  EXPECT_THROW(EncodeJpeg(Image(0, 0)), SsfError);
}

TEST(Jpeg, LibraryFaultsAreToldInRussianWithLibjpegsWordsAfter) {
  const Bytes good = EncodeJpeg(test::Gradient(40, 40));
  Bytes not_soi = good;
  not_soi[1] = 0x00;
  const struct {
    const char* name;
    Bytes data;
    const char* text;
  } cases[] = {
      {"cut in the pixels", Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(good.size() * 2 / 3)),
       "Файл JPEG повреждён: файл кончается раньше, чем данные изображения (Premature end of JPEG file)"},
      {"no start marker", not_soi, "Файл JPEG повреждён: это не файл JPEG: нет метки начала (Not a JPEG file: starts with 0xff 0x00)"},
  };
  for (const auto& c : cases) {
    try {
      DecodeJpeg(c.data);
      ADD_FAILURE() << c.name << ": decoded";
    } catch (const SsfError& e) {
      EXPECT_EQ(std::string(e.what()), c.text) << c.name;
    }
  }
}

// A greyscale progressive JPEG whose scan script sends each AC coefficient on its own, in
// `refinements` + 1 passes of successive approximation: 1 + 63 * (refinements + 1) scans.
Bytes ManyScanJpeg(int refinements) {
  std::vector<jpeg_scan_info> script;
  script.push_back({1, {0}, 0, 0, 0, 0});
  for (int k = 1; k < 64; ++k) {
    script.push_back({1, {0}, k, k, 0, refinements});
    for (int a = refinements; a > 0; --a) script.push_back({1, {0}, k, k, a, a - 1});
  }
  jpeg_compress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = cinfo.image_height = 8;
  cinfo.input_components = 1;
  cinfo.in_color_space = JCS_GRAYSCALE;
  jpeg_set_defaults(&cinfo);
  cinfo.scan_info = script.data();
  cinfo.num_scans = static_cast<int>(script.size());
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<uint8_t> row(8);
  while (cinfo.next_scanline < 8) {
    for (size_t i = 0; i < row.size(); ++i) row[i] = static_cast<uint8_t>(i * 30 + cinfo.next_scanline * 3);
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&cinfo, &r, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  Bytes out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

// Thousands of scans take libjpeg minutes; a file with more than the cap is refused.
TEST(Jpeg, ProgressiveScansAreCapped) {
  EXPECT_EQ(DecodeJpeg(ManyScanJpeg(5)).width, 8u);  // 379 scans
  try {
    DecodeJpeg(ManyScanJpeg(9));  // 631 scans
    ADD_FAILURE() << "accepted";
  } catch (const SsfError& e) {
    EXPECT_NE(std::string(e.what()).find("сканов"), std::string::npos) << e.what();
  }
}

// The work of every scan counts, not the number of scans: a few hundred empty scans over a
// large picture are refused from the markers before anything is decoded or allocated, and
// the same scans over a small picture decode.
TEST(Jpeg, WorkOfAllScansOverAllBlocksIsBounded) {
  const Bytes small = test::EmptyScanJpeg(64, 32, 497);  // 499 scans of 32 blocks
  EXPECT_EQ(CountJpegWork(small).scans, 499);
  EXPECT_EQ(CountJpegWork(small).block_passes, 499u * 32);
  EXPECT_EQ(DecodeJpeg(small).width, 64u);

  const Bytes large = test::EmptyScanJpeg(16384, 4096, 497);  // the same scans of 1M blocks each
  EXPECT_LT(large.size(), 200000u);
  EXPECT_EQ(CountJpegWork(large).block_passes, 499u * 2048 * 512);
  for (auto decode : {+[](ByteSpan d) { DecodeJpeg(d); }, +[](ByteSpan d) { JpegToBmp(d); }}) {
    try {
      decode(large);
      ADD_FAILURE() << "decoded";
    } catch (const SsfError& e) {
      EXPECT_NE(std::string(e.what()).find("обходят блоки 8x8 523239424 раз"), std::string::npos) << e.what();
    }
  }
}

// The count follows libjpeg's: an interleaved scan covers whole MCUs, a scan of one
// component that component's own blocks (4:2:0 at 17x9: MCUs 2x1 of 6 blocks; Y 3x2, Cb 2x1).
TEST(Jpeg, BlocksOfEachScanFollowTheSampling) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = 17;
  cinfo.image_height = 9;
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_simple_progression(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<uint8_t> row(17 * 3, 128);
  while (cinfo.next_scanline < 9) {
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&cinfo, &r, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  const Bytes jpeg(buffer, buffer + size);
  std::free(buffer);
  // libjpeg's script for YCbCr: DC of all (twice), then Y AC 4 times, Cb and Cr AC twice each.
  const JpegWork work = CountJpegWork(jpeg);
  EXPECT_EQ(work.scans, 10);
  EXPECT_EQ(work.block_passes, 2u * 12 + 4u * 6 + 4u * 2);
  EXPECT_EQ(DecodeJpeg(jpeg).width, 17u);
}

}  // namespace
}  // namespace ssf
