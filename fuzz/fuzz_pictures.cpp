// Every picture reader on the same bytes: each must either decode or throw SsfError.
#include <cstddef>
#include <cstdint>

#include "theme/Ani2.h"
#include "theme/Bmp.h"
#include "theme/Jpeg.h"
#include "theme/Png.h"
#include "theme/RawImage.h"
#include "theme/SsfError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const ssf::ByteSpan bytes(data, size);
  auto attempt = [](auto&& fn) {
    try {
      fn();
    } catch (const ssf::SsfError&) {
    }
  };
  attempt([&] { ssf::DecodeBmp(bytes); });
  attempt([&] { ssf::DecodePng(bytes); });
  attempt([&] { ssf::DecodeJpeg(bytes); });
  attempt([&] { ssf::Ani2ToImage(bytes); });
  attempt([&] { ssf::RawToImage(bytes, 16, 16); });
  return 0;
}
