#include "theme/ExportFormats.h"

#include <array>

#include "ifeg/Ifeg.h"
#include "pictures/Bmp.h"
#include "base/Cp1251.h"
#include "pictures/Jpeg.h"
#include "pictures/Png.h"
#include "pictures/RawImage.h"
#include "base/SsfError.h"
#include "theme/FileKind.h"
#include "theme/FileNames.h"
#include "theme/ThemeHeader.h"

namespace ssf {
namespace {

constexpr std::array<const char*, 5> kPictureExtensions = {".bmp", ".jpg", ".png", ".raw", ".ifg"};
constexpr std::array<const char*, 2> kAni2Extensions = {".png", ".ani2"};
// The icon writes the picture formats in the same order.
constexpr const std::array<const char*, 5>& kIconExtensions = kPictureExtensions;

bool IsPictureKind(const std::string& kind) { return IsOpaquePictureKind(KindOf(kind)); }

// The opaque picture the BMP, JPEG, PNG, RAW and IFEG exports start from. A preview with
// transparency (a PNG shown after an import) is blended over black, as the import stores it.
Image OpaquePicture(const PreviewPicture& preview) {
  if (preview.image.HasAlpha()) return FlattenOverBlack(preview.image);
  return preview.image;
}

}  // namespace

std::string ProposedFileName(const std::string& caption) {
  // The caption comes from a map made by a stranger: without separators and never a name
  // that means a folder, so the file can only land in the folder chosen in the dialog.
  std::string name = StripFileNameChars(caption);
  std::erase(name, '\0');
  if (name == "." || name == "..") name = "_";
  return name;
}

std::string ExportFilter(const std::string& kind) {
  if (IsPictureKind(kind)) return kPictureExportFilter;
  if (kind == "ANI2") return kAni2ExportFilter;
  if (kind == "COLORTAB") return kColorTabFilter;
  return {};
}

std::string ExportExtension(const std::string& kind, int filter_index) {
  const size_t i = static_cast<size_t>(filter_index - 1);
  if (filter_index < 1) return {};
  if (IsPictureKind(kind) && i < kPictureExtensions.size()) return kPictureExtensions[i];
  if (kind == "ANI2" && i < kAni2Extensions.size()) return kAni2Extensions[i];
  if (kind == "COLORTAB" && filter_index == 1) return ".tab";
  return {};
}

int ExportFilterForExtension(const std::string& kind, const std::string& extension) {
  std::string ext = AsciiUpper(extension);
  if (ext == ".JPEG") ext = ".JPG";
  for (int index = 1; index <= 5; ++index) {
    const std::string candidate = ExportExtension(kind, index);
    if (!candidate.empty() && AsciiUpper(candidate) == ext) return index;
  }
  return 0;
}

bool ExportsFromPicture(const std::string& kind, int filter_index) {
  return IsPictureKind(kind) || (kind == "ANI2" && filter_index == 1);
}

Bytes ExportThemeFileBytes(const std::string& kind, int filter_index, const PreviewPicture& preview,
                           ByteSpan stored) {
  if (IsPictureKind(kind)) {
    if (preview.kind == PreviewPicture::Kind::kNone) throw SsfError("Нет изображения для сохранения: файл темы " + kind);
    switch (filter_index) {
      case 1: return EncodeBmp(OpaquePicture(preview));
      case 2:
        // A JPEG shown from its own bytes is written as those bytes: no second compression.
        if (preview.kind == PreviewPicture::Kind::kJpeg && !preview.jpeg_bytes.empty()) return preview.jpeg_bytes;
        return EncodeJpeg(OpaquePicture(preview), 100);
      case 3: return EncodePng(OpaquePicture(preview));
      case 4: return ImageToRaw(OpaquePicture(preview));
      case 5: return EncodeIFG(OpaquePicture(preview), 16, 1);
      default: break;
    }
  } else if (kind == "ANI2") {
    if (filter_index == 1) {
      if (preview.kind == PreviewPicture::Kind::kNone) throw SsfError("Нет изображения для сохранения: файл темы ANI2");
      return EncodePngRgba16(preview.image);
    }
    if (filter_index == 2) return Bytes(stored.begin(), stored.end());
  } else if (kind == "COLORTAB" && filter_index == 1) {
    return Bytes(stored.begin(), stored.end());
  }
  throw SsfError("Файл темы вида " + kind + " нельзя сохранить фильтром " + std::to_string(filter_index));
}

int IconSaveFilterIndex(const std::string& extension) {
  const std::string ext = AsciiUpper(extension);
  if (ext == ".JPEG") return 2;
  for (int i = 0; i < 5; ++i) {
    if (ext == AsciiUpper(kIconExtensions[static_cast<size_t>(i)])) return i + 1;
  }
  return 0;
}

std::string IconExtension(int filter_index) {
  if (filter_index < 1 || filter_index > static_cast<int>(kIconExtensions.size())) return {};
  return kIconExtensions[static_cast<size_t>(filter_index - 1)];
}

Bytes IconFileBytes(const Theme& theme, const Image& shown, int filter_index) {
  if (filter_index == 4) return ThemeIconBytes(theme);
  // What the window shows: the loaded picture after a load, else the stored icon.
  const Image icon = shown.width == kIconSide && shown.height == kIconSide ? shown : ThemeIconPicture(theme);
  switch (filter_index) {
    case 1: return EncodeBmp(icon);
    case 2: return EncodeJpeg(icon, 100);
    case 3: return EncodePng(icon);
    case 5: return EncodeIFG(icon, 16, 1);
    default: break;
  }
  throw SsfError("Неизвестный формат иконки (фильтр " + std::to_string(filter_index) + ")");
}

}  // namespace ssf
