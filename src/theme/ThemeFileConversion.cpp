#include "theme/ThemeFileConversion.h"

#include <algorithm>
#include <memory>
#include <optional>

#include "ifeg/Ifeg.h"
#include "pictures/Ani2.h"
#include "pictures/Bmp.h"
#include "base/MemoryShortage.h"
#include "platform/SystemErrorText.h"
#include "base/Cp1251.h"
#include "base/FileIO.h"
#include "base/Limits.h"
#include "pictures/FileProbes.h"
#include "pictures/Jpeg.h"
#include "pictures/PictureHeader.h"
#include "pictures/Png.h"
#include "pictures/RawImage.h"
#include "base/SsfError.h"
#include "theme/FileKind.h"
#include "theme/ThemeContainer.h"
#include "platform/PathText.h"

namespace ssf {

namespace {

namespace fs = std::filesystem;

using Kind = PreviewPicture::Kind;

using Imported = ThemeFileBytes;

PreviewPicture Bitmap(Image image) { return PreviewPicture{Kind::kBitmap, std::move(image), {}}; }
PreviewPicture PngPreview(Image image) { return PreviewPicture{Kind::kPng, std::move(image), {}}; }
PreviewPicture JpegPreview(Image image, Bytes jpeg) {
  return PreviewPicture{Kind::kJpeg, std::move(image), std::move(jpeg)};
}

// The extension as the dialog's user typed it, dot included, upper case. Everything from the
// last dot of the file name, so ".bmp" alone counts as a BMP file.
std::string UpperExtension(const fs::path& file) {
  const std::string name = Utf8FromPath(file.filename());
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : AsciiUpper(name.substr(dot));
}

// Byte length of a file, without reading it: a length check must not read a huge file first.
uint64_t FileLength(const fs::path& file) {
  std::error_code ec;
  const uintmax_t n = fs::file_size(file, ec);
  if (ec) throw SsfError("Не удалось прочитать файл: " + Utf8FromPath(file) + " (" + SystemErrorText(ec) + ")");
  return n;
}

// One import: the file and its theme file's map entry; a refusal is kept for the caller.
class Importer {
 public:
  Importer(const fs::path& file, const TTHemeFiles& entry, uint32_t ifg_max_error, const FitPolicy& fit)
      : file_(file), entry_(entry), ifg_max_error_(ifg_max_error), fit_(fit) {}

  const std::optional<Refusal>& refusal() const { return refusal_; }

  std::optional<Imported> Run() {
    const std::string ext = UpperExtension(file_);
    const std::string& kind = entry_.f_type;
    // A theme file that alone would make the theme larger than any theme that opens (a map of
    // a stranger's may ask for one) is refused before any picture is read: the work could
    // never be saved.
    const int64_t stored = FixedStoredSize();
    if (stored > kMaxContainerSize) {
      Refuse("Файл темы займёт " + std::to_string(stored) + " байт, а открыть можно тему не более " +
                 std::to_string(kMaxContainerSize) + " байт.",
             kMsgError);
      return std::nullopt;
    }
    switch (KindOf(kind)) {
      case FileKind::kColorTab: return ColorTab();
      case FileKind::kAni2: return Ani2(ext);
      case FileKind::kJpg:
      case FileKind::kRaw:
      case FileKind::kIfg: return Picture(kind, ext);
      case FileKind::kOther: break;
    }
    return std::nullopt;
  }

 private:
  // A decoded input of the picture kinds: the opaque picture to convert and what the
  // preview shows of it.
  struct Input {
    enum class From { kBmp, kJpeg, kPng, kRaw, kIfeg } from;
    Image picture;
    PreviewPicture preview;
    Bytes data;  // the file as read
    bool other_size = false;  // to be fitted
  };

  bool MayFit() const { return fit_.always || fit_.ask; }

  // How to fit a picture of another size: nothing when the user cancelled.
  std::optional<FitChoice> Choose(const Image& picture) {
    if (fit_.always) return fit_.always;
    return fit_.ask(FitQuestion{picture, static_cast<uint32_t>(entry_.f_width),
                                static_cast<uint32_t>(entry_.f_height), entry_.f_type, Utf8FromPath(file_.filename())});
  }

  // The theme file made from a fitted picture, shown as it is stored.
  Imported StoreFitted(const Image& fitted, const std::string& kind, bool has_alpha_channel) {
    Bytes stored = EncodeThemePicture(fitted, kind, has_alpha_channel);
    PreviewPicture preview = MakePreviewPicture(stored, entry_);
    return Imported{std::move(stored), std::move(preview)};
  }

  bool Refuse(std::string text, int kind = kMsgWarning) {
    refusal_ = Refusal{kind, std::move(text)};
    return false;
  }

  bool SameSize(int64_t width, int64_t height) const { return width == entry_.f_width && height == entry_.f_height; }

  // A picture of another size goes on to be fitted when fitting may be asked for.
  bool SizeFitsOrMayFit(int64_t width, int64_t height) { return MayFit() || SizeFits(width, height); }

  bool SizeFits(int64_t width, int64_t height) {
    if (SameSize(width, height)) return true;
    return Refuse(PictureSizeMessage(width, height, entry_.f_width, entry_.f_height), kMsgError);
  }

  // The size the header declares against the map, before the pixels are decoded: a small
  // file claiming a huge picture is refused without the allocation. Unknown headers pass;
  // the decoder refuses them. A picture that will be fitted is bounded by the decoders'
  // own picture limits instead.
  bool HeaderSizeFits(ByteSpan data) {
    const std::optional<PictureSize> size = ReadPictureHeaderSize(data);
    return !size || SizeFitsOrMayFit(size->width, size->height);
  }

  bool LengthIs(uint64_t expected, const char* message) {
    if (FileLength(file_) == expected) return true;
    return Refuse(message);
  }

  // The length every file of the entry's kind has (RAW, ANI2, COLORTAB); 0 for the others.
  int64_t FixedStoredSize() const {
    const auto pixels = static_cast<int64_t>(PixelCount());
    switch (KindOf(entry_.f_type)) {
      case FileKind::kRaw: return pixels * 2;
      case FileKind::kAni2: return static_cast<int64_t>(kAni2HeaderSize) + pixels * 3;
      case FileKind::kColorTab: return entry_.f_size;
      default: return 0;
    }
  }

  uint64_t PixelCount() const {
    return static_cast<uint64_t>(std::max(entry_.f_width, 0)) * static_cast<uint64_t>(std::max(entry_.f_height, 0));
  }

  // A bitmap of another size than the entry's, fitted without a question: it is read row by
  // row, so a large picture (or a small RLE file of one) costs about the fitted picture
  // rather than the whole one.
  bool FitsBmpByRows(ByteSpan data) const {
    if (!fit_.always || data.size() < 2 || data[0] != 'B' || data[1] != 'M') return false;
    const std::optional<PictureSize> size = ReadPictureHeaderSize(data);
    return size && size->width > 0 && size->height > 0 && !SameSize(size->width, size->height);
  }

  std::optional<Imported> FitBmpByRows(ByteSpan data, const std::string& kind) {
    std::unique_ptr<PictureRows> rows;
    try {
      rows = OpenBmpRows(data);
    } catch (const SsfError&) {
      Refuse(kNotBmpMessage);
      return std::nullopt;
    }
    const Image fitted = FitForThemeFile(*rows, static_cast<uint32_t>(entry_.f_width),
                                         static_cast<uint32_t>(entry_.f_height), kind, *fit_.always);
    return StoreFitted(fitted, kind, false);
  }

  std::optional<Input> LoadBmp(Bytes data) {
    if (data.size() >= 2 && data[0] == 'B' && data[1] == 'M' && !HeaderSizeFits(data)) return std::nullopt;
    Image picture;
    try {
      picture = DecodeBmp(data);
    } catch (const SsfError&) {
      // Whatever the bitmap reader refuses is "not a BMP" to the user.
      Refuse(kNotBmpMessage);
      return std::nullopt;
    }
    if (!SizeFitsOrMayFit(picture.width, picture.height)) return std::nullopt;
    PreviewPicture preview = Bitmap(picture);
    const bool other = !SameSize(picture.width, picture.height);
    return Input{Input::From::kBmp, std::move(picture), std::move(preview), {}, other};
  }

  std::optional<Input> LoadJpeg() {
    Bytes data = ReadWholeFile(file_);
    if (!IsJFIF(data)) {
      Refuse(kNotJpegMessage);
      return std::nullopt;
    }
    if (!HeaderSizeFits(data)) return std::nullopt;
    Image picture = DecodeJpeg(data);  // a damaged JFIF file is an error, not a refusal
    if (!SizeFitsOrMayFit(picture.width, picture.height)) return std::nullopt;
    PreviewPicture preview = JpegPreview(picture, data);
    const bool other = !SameSize(picture.width, picture.height);
    return Input{Input::From::kJpeg, std::move(picture), std::move(preview), std::move(data), other};
  }

  std::optional<PngPicture> LoadPng() {
    Bytes data = ReadWholeFile(file_);
    if (data.size() >= 2 && data[0] == 0x89 && data[1] == 'P' && !HeaderSizeFits(data)) return std::nullopt;
    PngPicture png;
    try {
      png = DecodePng(data);
    } catch (const PngSignatureError&) {
      Refuse(kNotPngMessage);
      return std::nullopt;
    }
    if (!SizeFitsOrMayFit(png.image.width, png.image.height)) return std::nullopt;
    return png;
  }

  std::optional<Input> LoadRaw(const char* wrong_length) {
    if (!LengthIs(PixelCount() * 2, wrong_length)) return std::nullopt;
    Bytes data = ReadWholeFile(file_);
    if (data.size() != PixelCount() * 2) {  // changed since it was measured
      Refuse(wrong_length);
      return std::nullopt;
    }
    Image picture = RawToImage(data, static_cast<uint32_t>(entry_.f_width), static_cast<uint32_t>(entry_.f_height));
    PreviewPicture preview = Bitmap(picture);
    return Input{Input::From::kRaw, std::move(picture), std::move(preview), std::move(data)};
  }

  std::optional<Input> LoadIfeg() {
    Bytes data = ReadWholeFile(file_);
    if (!IsIFEG(data)) {
      Refuse(kNotIfegMessage);
      return std::nullopt;
    }
    if (!SizeFitsOrMayFit(GetHeaderWidth(data), GetHeaderHeight(data))) return std::nullopt;
    Image picture;
    try {
      DecodeIFG(data, picture);
    } catch (const SsfError& e) {
      throw SsfError(std::string(e.what()) + ": " + Utf8FromPath(file_));
    }
    PreviewPicture preview = Bitmap(picture);
    const bool other = !SameSize(picture.width, picture.height);
    return Input{Input::From::kIfeg, std::move(picture), std::move(preview), std::move(data), other};
  }

  // The JPG, RAW and IFG kinds take the same five inputs.
  std::optional<Imported> Picture(const std::string& kind, const std::string& ext) {
    std::optional<Input> in;
    if (ext == ".BMP") {
      Bytes data = ReadWholeFile(file_);
      if (FitsBmpByRows(data)) return FitBmpByRows(data, kind);
      in = LoadBmp(std::move(data));
    } else if (ext == ".JPG" || ext == ".JPEG") {
      in = LoadJpeg();
    } else if (ext == ".PNG") {
      std::optional<PngPicture> png = LoadPng();
      if (png) {
        const bool other = !SameSize(png->image.width, png->image.height);
        in = Input{Input::From::kPng, FlattenOverBlack(*png), PngPreview(std::move(png->image)), {}, other};
      }
    } else if (ext == ".RAW") {
      in = LoadRaw(kind == "JPG" ? kWrongFileSizeMessage : kWrongLoadSizeMessage);
    } else if (ext == ".IFG") {
      in = LoadIfeg();
    } else {
      return std::nullopt;  // an extension the kind does not take: nothing happens
    }
    if (!in) return std::nullopt;
    if (in->other_size) {
      std::optional<FitChoice> choice = Choose(in->picture);
      if (!choice) return std::nullopt;
      const Image fitted = FitForThemeFile(in->picture, static_cast<uint32_t>(entry_.f_width),
                                           static_cast<uint32_t>(entry_.f_height), kind, *choice);
      return StoreFitted(fitted, kind, false);
    }

    using From = Input::From;
    if (kind == "JPG") {
      if (in->from == From::kJpeg) return Imported{std::move(in->data), std::move(in->preview)};
      Bytes jpeg = EncodeJpeg(in->picture, 100);
      if (in->from == From::kRaw || in->from == From::kIfeg) {
        // These two rows show the JPEG that is stored, not the picture it was made from.
        Image shown = DecodeJpeg(jpeg);
        PreviewPicture preview = JpegPreview(std::move(shown), jpeg);
        return Imported{std::move(jpeg), std::move(preview)};
      }
      return Imported{std::move(jpeg), std::move(in->preview)};
    }
    if (kind == "RAW") {
      Bytes raw = in->from == From::kRaw ? std::move(in->data) : ImageToRaw(in->picture);
      return Imported{std::move(raw), std::move(in->preview)};
    }
    if (in->from == From::kIfeg) return Imported{std::move(in->data), std::move(in->preview)};
    // A RAW file's values go in unchanged: its picture's shifted channels would come back
    // one unit off through the encoder's rounding.
    Bytes ifg = in->from == From::kRaw ? EncodeIFGRgb565(in->data, static_cast<uint32_t>(entry_.f_width),
                                                         static_cast<uint32_t>(entry_.f_height), ifg_max_error_)
                                       : EncodeIFG(in->picture, 16, 1, ifg_max_error_);
    if (ifg_max_error_ > 0) {
      // A lossy file is not the picture it came from: show what is stored.
      Image stored;
      DecodeIFG(ifg, stored);
      return Imported{std::move(ifg), Bitmap(std::move(stored))};
    }
    return Imported{std::move(ifg), std::move(in->preview)};
  }

  std::optional<Imported> Ani2(const std::string& ext) {
    if (ext == ".PNG") {
      std::optional<PngPicture> png = LoadPng();
      if (!png) return std::nullopt;
      if (!SameSize(png->image.width, png->image.height)) return FitAni2(png->image, png->has_alpha_channel);
      Bytes ani2 = ImageToAni2(png->image, png->has_alpha_channel);
      return Imported{std::move(ani2), PngPreview(std::move(png->image))};
    }
    if (ext != ".ANI2") return std::nullopt;
    Bytes data = ReadWholeFile(file_);
    if (!IsANI2(data)) {
      Refuse(kNotAni2Message);
      return std::nullopt;
    }
    const uint64_t own_pixels = static_cast<uint64_t>(GetHeaderWidth(data)) * GetHeaderHeight(data);
    if (MayFit() && !SameSize(GetHeaderWidth(data), GetHeaderHeight(data)) &&
        data.size() == kAni2HeaderSize + 3 * own_pixels) {
      return FitAni2(Ani2ToImage(data), true);
    }
    if (data.size() != kAni2HeaderSize + 3 * PixelCount()) {
      Refuse(kWrongLoadSizeMessage);
      return std::nullopt;
    }
    if (!SizeFits(GetHeaderWidth(data), GetHeaderHeight(data))) return std::nullopt;
    Image shown = Ani2ToImage(data);
    return Imported{std::move(data), PngPreview(std::move(shown))};
  }

  std::optional<Imported> FitAni2(const Image& picture, bool has_alpha_channel) {
    std::optional<FitChoice> choice = Choose(picture);
    if (!choice) return std::nullopt;
    const Image fitted = FitForThemeFile(picture, static_cast<uint32_t>(entry_.f_width),
                                         static_cast<uint32_t>(entry_.f_height), "ANI2", *choice);
    return StoreFitted(fitted, "ANI2", has_alpha_channel);
  }

  std::optional<Imported> ColorTab() {
    // The content is the colour table's own business; only its length is checked.
    if (!LengthIs(static_cast<uint64_t>(std::max(entry_.f_size, 0)), kWrongLoadSizeMessage)) return std::nullopt;
    Bytes data = ReadWholeFile(file_);
    if (data.size() != static_cast<uint64_t>(std::max(entry_.f_size, 0))) {  // changed since it was measured
      Refuse(kWrongLoadSizeMessage);
      return std::nullopt;
    }
    return Imported{std::move(data), std::nullopt};
  }

  std::optional<Refusal> refusal_;
  const fs::path& file_;
  const TTHemeFiles& entry_;
  uint32_t ifg_max_error_;
  const FitPolicy& fit_;
};

}  // namespace

std::string PictureSizeMessage(int64_t width, int64_t height, int64_t need_width, int64_t need_height) {
  return "Размеры загружаемого изображения должны соответствовать заданным в карте темы!\r\n"
         "Загружаемый размер: " +
         std::to_string(width) + "x" + std::to_string(height) + ", необходим: " + std::to_string(need_width) + "x" +
         std::to_string(need_height);
}

Bytes EncodeThemePicture(const Image& picture, const std::string& kind, bool has_alpha_channel) {
  if (kind == "JPG") return EncodeJpeg(picture, 100);
  if (kind == "RAW") return ImageToRaw(picture);
  if (kind == "IFG") return EncodeIFG(picture, 16, 1);
  return ImageToAni2(picture, has_alpha_channel);
}

const char* ImportFilter(const std::string& kind) {
  switch (KindOf(kind)) {
    case FileKind::kJpg:
    case FileKind::kRaw:
    case FileKind::kIfg: return kImportFilterPictures;
    case FileKind::kAni2: return kImportFilterAni2;
    case FileKind::kColorTab: return kImportFilterColorTab;
    case FileKind::kOther: break;
  }
  return "";
}

Converted<ThemeFileBytes> ConvertForThemeFile(const fs::path& file, const TTHemeFiles& entry,
                                              const ImportOptions& options) {
  Importer importer(file, entry, options.ifg_max_error, options.fit);
  try {
    std::optional<ThemeFileBytes> bytes = importer.Run();
    return {std::move(bytes), importer.refusal()};
  } catch (const SsfError& e) {
    // A decoder's error says what is wrong; the user also needs to know with which file.
    if (std::string(e.what()).find(Utf8FromPath(file)) != std::string::npos) throw;
    throw SsfError(std::string(e.what()) + ": " + Utf8FromPath(file));
  } catch (const std::bad_alloc&) {
    throw SsfError(OutOfMemoryText(file));
  }
}

namespace {

constexpr uint32_t kIconSide32 = kIconSide;

// The JPEG, PNG and IFEG rows name no map: their message says 44x44 outright.
std::string Not44Message(int64_t width, int64_t height) {
  return "Размеры загружаемого изображения должны быть равны 44х44!\r\nЗагружаемый размер: " +
         std::to_string(width) + "x" + std::to_string(height);
}

bool Is44(int64_t width, int64_t height) { return width == kIconSide32 && height == kIconSide32; }

Converted<Image> IconRefusal(std::string text, int kind) { return {std::nullopt, Refusal{kind, std::move(text)}}; }
Converted<Image> IconPicture(Image picture) { return {std::move(picture), std::nullopt}; }

}  // namespace

namespace {

Converted<Image> ReadIconPicture(const fs::path& file) {
  const std::string ext = UpperExtension(file);
  if (ext == ".BMP") {
    Bytes data = ReadWholeFile(file);
    Image picture;
    try {
      picture = DecodeBmp(data);
    } catch (const SsfError&) {
      return IconRefusal(kNotBmpMessage, kMsgWarning);
    }
    if (!Is44(picture.width, picture.height)) {
      // The BMP row keeps the theme map's wording with a fixed 44x44.
      return IconRefusal(PictureSizeMessage(picture.width, picture.height, kIconSide, kIconSide), kMsgError);
    }
    return IconPicture(std::move(picture));
  }
  if (ext == ".JPG" || ext == ".JPEG") {
    Bytes data = ReadWholeFile(file);
    if (!IsJFIF(data)) return IconRefusal(kNotJpegMessage, kMsgWarning);
    Image picture = DecodeJpeg(data);
    if (!Is44(picture.width, picture.height)) return IconRefusal(Not44Message(picture.width, picture.height), kMsgError);
    return IconPicture(std::move(picture));
  }
  if (ext == ".PNG") {
    Bytes data = ReadWholeFile(file);
    PngPicture png;
    try {
      png = DecodePng(data);
    } catch (const PngSignatureError&) {
      return IconRefusal(kNotPngMessage, kMsgWarning);
    }
    if (!Is44(png.image.width, png.image.height)) {
      return IconRefusal(Not44Message(png.image.width, png.image.height), kMsgError);
    }
    return IconPicture(FlattenOverBlack(png));
  }
  if (ext == ".RAW") {
    if (GetFileSize(file) != static_cast<int32_t>(kIconBytes)) return IconRefusal(kWrongFileSizeMessage, kMsgWarning);
    Bytes data = ReadWholeFile(file);
    return IconPicture(RawToImage(data, kIconSide32, kIconSide32));
  }
  if (ext == ".IFG") {
    Bytes data = ReadWholeFile(file);
    if (!IsIFEG(data)) return IconRefusal(kNotIfegMessage, kMsgWarning);
    const uint16_t width = GetHeaderWidth(data);
    const uint16_t height = GetHeaderHeight(data);
    if (!Is44(width, height)) return IconRefusal(Not44Message(width, height), kMsgError);
    Image picture;
    try {
      DecodeIFG(data, picture);
    } catch (const SsfError& e) {
      throw SsfError(std::string(e.what()) + ": " + Utf8FromPath(file));
    }
    return IconPicture(std::move(picture));
  }
  return {};  // another extension: nothing happens
}

}  // namespace

Converted<Image> ConvertIconPicture(const fs::path& file) {
  return ReadingFile(file, [&] { return ReadIconPicture(file); });
}

}  // namespace ssf
