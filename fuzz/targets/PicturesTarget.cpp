// Every picture reader on the same bytes: each must either decode or throw SsfError.
#include "FuzzTargets.h"
#include "pictures/Ani2.h"
#include "pictures/Bmp.h"
#include "pictures/Jpeg.h"
#include "pictures/Png.h"
#include "pictures/RawImage.h"
#include "base/SsfError.h"

namespace ssf::fuzz {

void FuzzPictures(std::span<const uint8_t> bytes) {
  auto attempt = [](auto&& fn) {
    try {
      fn();
    } catch (const SsfError&) {
    }
  };
  attempt([&] { DecodeBmp(bytes); });
  attempt([&] { DecodePng(bytes); });
  attempt([&] { DecodeJpeg(bytes); });
  attempt([&] { JpegToBmp(bytes); });
  attempt([&] { Ani2ToImage(bytes); });
  attempt([&] { RawToImage(bytes, 16, 16); });
}

}  // namespace ssf::fuzz
