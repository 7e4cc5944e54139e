#include "theme/PictureFit.h"

#include "ifeg/Ifeg.h"
#include "pictures/Jpeg.h"
#include "pictures/Png.h"
#include "pictures/RawImage.h"

namespace ssf {

Image FitForThemeFile(const Image& picture, uint32_t width, uint32_t height, const std::string& kind,
                      const FitChoice& choice) {
  ImageRows rows(picture);
  return FitForThemeFile(rows, width, height, kind, choice);
}

Image FitForThemeFile(PictureRows& picture, uint32_t width, uint32_t height, const std::string& kind,
                      const FitChoice& choice) {
  Image fitted = FitPicture(picture, width, height, choice.mode);
  if (choice.dither && IsRgb565Kind(kind)) DitherToRgb565(fitted);
  return fitted;
}

Image AsStored(const Image& picture, const std::string& kind) {
  const Image opaque = picture.HasAlpha() ? FlattenOverBlack(picture) : picture;
  if (kind == "JPG") return DecodeJpeg(EncodeJpeg(opaque, 100));
  if (kind == "IFG") {
    Image shown;
    DecodeIFG(EncodeIFG(opaque, 16, 1), shown);
    return shown;
  }
  if (IsRgb565Kind(kind)) return RawToImage(ImageToRaw(opaque), opaque.width, opaque.height);
  return opaque;
}

}  // namespace ssf
