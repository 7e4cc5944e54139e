// The raw and ANI2 conversions of `ssftool convert` and the import/export paths, in
// memory. The first byte picks the path; for raw files the next four give the size the
// theme map would. Each conversion must refuse with SsfError or produce a file that
// converts back to the same picture.
#include "FuzzTargets.h"
#include "pictures/Ani2.h"
#include "pictures/Bmp.h"
#include "pictures/Png.h"
#include "pictures/RawImage.h"
#include "base/SsfError.h"

namespace ssf::fuzz {

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

// raw -> picture -> raw gives the same bytes; the picture survives BMP.
void RawPath(ByteSpan in) {
  if (in.size() < 4) return;
  // Sides up to 1023 keep one run's picture small; the size check has its own tests.
  const uint32_t width = ReadU16LE(in, 0) & 0x3FF;
  const uint32_t height = ReadU16LE(in, 2) & 0x3FF;
  const ByteSpan raw = in.subspan(4);
  const Image image = RawToImage(raw, width, height);
  const Bytes back = ImageToRaw(image);
  Check(back.size() == size_t{width} * height * 2);
  Check(std::equal(back.begin(), back.end(), raw.begin()));
  Check(DecodeBmp(EncodeBmp(image)) == image);
}

// ANI2 -> picture -> ANI2 keeps the pixels and the alpha's six bits; ANI2 -> PNG -> ANI2
// gives the same file.
void Ani2Path(ByteSpan in) {
  const Image image = Ani2ToImage(in);
  const Bytes ani2 = ImageToAni2(image, true);
  Check(ani2.size() == kAni2HeaderSize + image.PixelCount() * 3);
  Check(std::equal(ani2.begin() + 4, ani2.begin() + kAni2HeaderSize, in.begin() + 4));
  for (size_t i = kAni2HeaderSize; i < ani2.size(); ++i) {
    const bool alpha = (i - kAni2HeaderSize) % 3 == 0;
    Check(ani2[i] == (alpha ? (in[i] & 63) : in[i]));
  }
  const Bytes png = Ani2BytesToPng(in);
  Check(PngBytesToAni2(png) == ani2);
}

// PNG -> ANI2 reads back as a picture of the PNG's size.
void PngPath(ByteSpan in) {
  const PngPicture picture = DecodePng(in);
  const Image image = Ani2ToImage(PngBytesToAni2(in));
  Check(image.width == picture.image.width && image.height == picture.image.height);
}

// BMP -> raw reads back at the BMP's size.
void BmpPath(ByteSpan in) {
  const Image bmp = DecodeBmp(in);
  const Bytes raw = ImageToRaw(bmp);
  Check(ImageToRaw(RawToImage(raw, bmp.width, bmp.height)) == raw);
}

}  // namespace

void FuzzConvert(std::span<const uint8_t> data) {
  if (data.empty()) return;
  const ByteSpan in = data.subspan(1);
  try {
    switch (data[0] & 3) {
      case 0: RawPath(in); break;
      case 1: Ani2Path(in); break;
      case 2: PngPath(in); break;
      default: BmpPath(in); break;
    }
  } catch (const SsfError&) {
  }
}

}  // namespace ssf::fuzz
