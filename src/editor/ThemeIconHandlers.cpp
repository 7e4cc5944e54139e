#include "editor/ThemeIconHandlers.h"

#include <optional>

#include "ifeg/Ifeg.h"
#include "pictures/Bmp.h"
#include "base/Cp1251.h"
#include "base/FileIO.h"
#include "pictures/FileProbes.h"
#include "pictures/Jpeg.h"
#include "pictures/PixelFormats.h"
#include "pictures/Png.h"
#include "editor/ThemeUndo.h"
#include "pictures/RawImage.h"
#include "base/SsfError.h"
#include "theme/ThemeContainer.h"
#include "editor/ThemeFileImport.h"

namespace ssf {

namespace {

namespace fs = std::filesystem;

constexpr uint32_t kSide = kIconSide;

std::string UpperExtension(const fs::path& file) {
  const std::string name = file.filename().string();
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : AsciiUpper(name.substr(dot));
}

// The JPEG, PNG and IFEG rows name no map: their message says 44x44 outright.
std::string Not44Message(int64_t width, int64_t height) {
  return "Размеры загружаемого изображения должны быть равны 44х44!\r\nЗагружаемый размер: " +
         std::to_string(width) + "x" + std::to_string(height);
}

bool Is44(int64_t width, int64_t height) { return width == kSide && height == kSide; }

// The icon area exists only in themes whose map declares an icon.
bool HasIconArea(const Editor& ed) {
  return ed.state.HasIcon && ed.state.ThemeStream.Data().size() >= kIconOffset + kIconBytes;
}

void Remember(Editor& ed, const char* key, const fs::path& chosen) {
  try {
    ed.settings.WriteString("ThemePaths", key, (chosen.parent_path() / "").string());
  } catch (const SsfError&) {
    // A read-only settings file must not stop the icon command.
  }
}

// The 44x44 picture of the icon, or nullopt after the user was told why not.
std::optional<Image> LoadIconPicture(Ui& ui, const fs::path& file, const std::string& ext) {
  if (ext == ".BMP") {
    Bytes data = ReadWholeFile(file);
    Image picture;
    try {
      picture = DecodeBmp(data);
    } catch (const SsfError&) {
      ui.ShowMsg(kNotBmpMessage, kMsgWarning);
      return std::nullopt;
    }
    if (!Is44(picture.width, picture.height)) {
      // The BMP row keeps the theme map's wording with a fixed 44x44.
      ui.ShowMsg(PictureSizeMessage(picture.width, picture.height, kSide, kSide), kMsgError);
      return std::nullopt;
    }
    return picture;
  }
  if (ext == ".JPG" || ext == ".JPEG") {
    Bytes data = ReadWholeFile(file);
    if (!IsJFIF(data)) {
      ui.ShowMsg(kNotJpegMessage, kMsgWarning);
      return std::nullopt;
    }
    Image picture = DecodeJpeg(data);
    if (!Is44(picture.width, picture.height)) {
      ui.ShowMsg(Not44Message(picture.width, picture.height), kMsgError);
      return std::nullopt;
    }
    return picture;
  }
  if (ext == ".PNG") {
    Bytes data = ReadWholeFile(file);
    PngPicture png;
    try {
      png = DecodePng(data);
    } catch (const PngSignatureError&) {
      ui.ShowMsg(kNotPngMessage, kMsgWarning);
      return std::nullopt;
    }
    if (!Is44(png.image.width, png.image.height)) {
      ui.ShowMsg(Not44Message(png.image.width, png.image.height), kMsgError);
      return std::nullopt;
    }
    return FlattenOverBlack(png);
  }
  if (ext == ".RAW") {
    if (GetFileSize(file) != static_cast<int32_t>(kIconBytes)) {
      ui.ShowMsg(kWrongFileSizeMessage, kMsgWarning);
      return std::nullopt;
    }
    Bytes data = ReadWholeFile(file);
    return RawToImage(data, kSide, kSide);
  }
  if (ext == ".IFG") {
    Bytes data = ReadWholeFile(file);
    if (!IsIFEG(data)) {
      ui.ShowMsg(kNotIfegMessage, kMsgWarning);
      return std::nullopt;
    }
    const uint16_t width = GetHeaderWidth(data);
    const uint16_t height = GetHeaderHeight(data);
    if (!Is44(width, height)) {
      ui.ShowMsg(Not44Message(width, height), kMsgError);
      return std::nullopt;
    }
    Image picture;
    try {
      DecodeIFG(data, picture);
    } catch (const SsfError& e) {
      throw SsfError(std::string(e.what()) + ": " + file.string());
    }
    return picture;
  }
  return std::nullopt;  // another extension: nothing happens
}

Image IconPicture(const Editor& ed) {
  const Bytes& data = ed.state.ThemeStream.Data();
  CheckRange(data.size(), kIconOffset, kIconBytes, "иконка темы");
  Image icon(kSide, kSide);
  size_t pos = kIconOffset;
  for (uint32_t y = 0; y < kSide; ++y) {
    for (uint32_t x = 0; x < kSide; ++x, pos += 2) RGB565ToPixel(ReadU16LE(data, pos), icon.Pixel(x, y));
  }
  return icon;
}

const char* const kIconExtensions[] = {".bmp", ".jpg", ".png", ".raw", ".ifg"};

}  // namespace

void StoreThemeIcon(Editor& ed, const Image& picture) {
  if (picture.width != kSide || picture.height != kSide) {
    throw SsfError("Иконка темы должна быть 44x44, а не " + std::to_string(picture.width) + "x" +
                   std::to_string(picture.height));
  }
  Bytes& data = ed.state.ThemeStream.Data();
  CheckRange(data.size(), kIconOffset, kIconBytes, "иконка темы");
  UndoScope undo(ed, {}, true);
  size_t pos = kIconOffset;
  for (uint32_t y = 0; y < kSide; ++y) {
    for (uint32_t x = 0; x < kSide; ++x, pos += 2) WriteU16LE(data, pos, PixelToRGB565(picture.Pixel(x, y)));
  }
  ed.state.ThemeStream.SetPosition(pos);
  ed.state.ThemeModified = true;
  undo.Commit();
  // The window keeps the picture as loaded, not its 16-bit stored form, until the theme
  // is opened again.
  ed.view.IMG_ThemeIcon = picture;
}

bool LoadThemeIconFile(Editor& ed, const fs::path& file) {
  if (!HasIconArea(ed)) throw SsfError("У этой темы нет иконки (карта темы её не объявляет)");
  std::optional<Image> picture = LoadIconPicture(ed.ui, file, UpperExtension(file));
  if (!picture) return false;
  StoreThemeIcon(ed, *picture);
  return true;
}

void IMG_ThemeIconClick(Editor& ed) {
  if (!HasIconArea(ed)) return;
  FileDialogRequest request;
  request.filter = kImportFilterPictures;
  request.initial_dir = ed.settings.ReadString("ThemePaths", "ThemeIconOpen");
  std::optional<FileDialogResult> chosen = ed.ui.OpenDialog(request);
  if (!chosen) return;
  Remember(ed, "ThemeIconOpen", chosen->path);
  LoadThemeIconFile(ed, chosen->path);
}

int IconSaveFilterIndex(const std::string& extension) {
  const std::string ext = AsciiUpper(extension);
  if (ext == ".JPEG") return 2;
  for (int i = 0; i < 5; ++i) {
    if (ext == AsciiUpper(kIconExtensions[i])) return i + 1;
  }
  return 0;
}

void SaveThemeIconFile(const Editor& ed, const fs::path& file, int filter_index) {
  Bytes out;
  if (filter_index == 4) {
    const Bytes& data = ed.state.ThemeStream.Data();
    CheckRange(data.size(), kIconOffset, kIconBytes, "иконка темы");
    out.assign(data.begin() + kIconOffset, data.begin() + kIconOffset + kIconBytes);
  } else {
    // What the window shows: the loaded picture after a load, else the stored icon.
    const Image& shown = ed.view.IMG_ThemeIcon;
    const Image icon = shown.width == kSide && shown.height == kSide ? shown : IconPicture(ed);
    switch (filter_index) {
      case 1: out = EncodeBmp(icon); break;
      case 2: out = EncodeJpeg(icon, 100); break;
      case 3: out = EncodePng(icon); break;
      case 5: out = EncodeIFG(icon, 16, 1); break;
      default: throw SsfError("Неизвестный формат иконки (фильтр " + std::to_string(filter_index) + ")");
    }
  }
  WriteFileAtomic(file, out);
}

void PM_ExctractIMGClick(Editor& ed) {
  if (!HasIconArea(ed)) return;
  FileDialogRequest request;
  request.filter = kIconSaveFilter;
  request.initial_dir = ed.settings.ReadString("ThemePaths", "ThemeIconSave");
  request.ask_overwrite = true;
  std::optional<FileDialogResult> chosen = ed.ui.SaveDialog(request);
  if (!chosen) return;
  Remember(ed, "ThemeIconSave", chosen->path);
  const int index = chosen->filter_index >= 1 && chosen->filter_index <= 5 ? chosen->filter_index : 1;
  const fs::path target = ForceExtension(chosen->path, kIconExtensions[index - 1]);
  if (!ConfirmForcedName(ed.ui, chosen->path, target)) return;
  SaveThemeIconFile(ed, target, index);
}

void PM_DelIMGClick(Editor& ed) {
  if (!HasIconArea(ed)) return;
  ByteStream& stream = ed.state.ThemeStream;
  UndoScope undo(ed, {}, true);
  stream.SetPosition(kIconOffset);
  rt_memclr(stream, kIconBytes);
  // Clearing is a change like any other: without the flag it was lost on exit unasked.
  ed.state.ThemeModified = true;
  undo.Commit();
  ShowThemeIcon(ed);
}

}  // namespace ssf
