#include "theme/ThemeFilePicture.h"

#include <string>

#include "base/SsfError.h"
#include "ifeg/Ifeg.h"
#include "pictures/Ani2.h"
#include "pictures/Jpeg.h"
#include "pictures/RawImage.h"
#include "theme/FileKind.h"

namespace ssf {
namespace {

uint32_t MapSide(int32_t value, const char* field) {
  if (value < 0) throw SsfError(std::string("Карта темы: отрицательное значение ") + field + ": " + std::to_string(value));
  return static_cast<uint32_t>(value);
}

}  // namespace

PreviewPicture MakePreviewPicture(ByteSpan stored, const TTHemeFiles& entry) {
  PreviewPicture picture;
  if (stored.empty()) return picture;
  switch (KindOf(entry.f_type)) {
    case FileKind::kJpg:
      picture.image = DecodeJpeg(stored);
      picture.jpeg_bytes.assign(stored.begin(), stored.end());
      picture.kind = PreviewPicture::Kind::kJpeg;
      break;
    case FileKind::kRaw:
      picture.image = RawToImage(stored, MapSide(entry.f_width, "ширины"), MapSide(entry.f_height, "высоты"));
      picture.kind = PreviewPicture::Kind::kBitmap;
      break;
    case FileKind::kAni2:
      picture.image = Ani2ToImage(stored);
      if (!picture.image.HasAlpha()) picture.image.AddAlpha();
      picture.kind = PreviewPicture::Kind::kPng;
      break;
    case FileKind::kIfg:
      if (!IsIfgData(stored)) throw SsfError("Файл темы не является IFEG-изображением (нет подписи IFEG)");
      DecodeIFG(stored, picture.image);
      picture.kind = PreviewPicture::Kind::kBitmap;
      break;
    case FileKind::kColorTab:
    case FileKind::kOther:
      break;
  }
  return picture;
}

}  // namespace ssf
