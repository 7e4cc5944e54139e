// ssftool convert IN OUT [--size WxH] [--fit crop|pad|stretch [--dither]] [--max-error N]:
// converts a picture by the two file extensions, with --fit to the size --size gives.
//
// Each format has a decoder into a Picture and an encoder from one, so every readable kind
// goes to every writable kind. A route names a pair whose encoding differs from the
// format's own (ANI2 to PNG keeps all of its alpha at 16 bits, as the export does).
#include <algorithm>
#include <cctype>
#include <optional>
#include <string>

#include "cli/Commands.h"
#include "ifeg/Ifeg.h"
#include "pictures/Ani2.h"
#include "pictures/Bmp.h"
#include "base/MemoryShortage.h"
#include "base/FileIO.h"
#include "base/RussianPlural.h"
#include "pictures/FileProbes.h"
#include "pictures/FitPicture.h"
#include "pictures/Jpeg.h"
#include "pictures/PictureHeader.h"
#include "pictures/Png.h"
#include "pictures/RawImage.h"
#include "base/SsfError.h"
#include "platform/PathText.h"

namespace ssf::cli {

namespace {

struct Options {
  std::optional<uint32_t> width, height;  // --size WxH
  uint32_t max_error = 0;                 // --max-error N, for IFEG output
  std::optional<FitMode> fit;             // --fit: the picture brought to --size
  bool dither = false;                    // --dither, with --fit, for RGB565 outputs
};

// What passes between a decoder and an encoder: the picture and whether its alpha is a
// real alpha channel (a PNG's single transparent colour is not). A source of RGB565 values
// (RAW, ANI2) also hands them over, blended over black, as a raw file's bytes: formats
// without alpha take those values unchanged, not the picture's shifted 8-bit channels,
// which the IFEG encoder's rounding would move by one unit.
struct Picture : PngPicture {
  Bytes rgb565;
};

using DecodeFn = Picture (*)(ByteSpan, const Options&);
using EncodeFn = Bytes (*)(const Picture&, const Options&);

struct Format {
  const char* name;
  const char* extensions[3];  // lower case, with the dot; unused slots null
  DecodeFn decode;
  EncodeFn encode;
};

using ConvertFn = ScratchBuffer (*)(ByteSpan);

struct Route {
  const char* from;
  const char* to;
  EncodeFn encode = nullptr;    // instead of the target format's own
  ConvertFn convert = nullptr;  // the whole way in one step, without a picture in between
};

Picture Opaque(Image image) { return Picture{{std::move(image), false}, {}}; }

Picture ReadBmp(ByteSpan data, const Options&) { return Opaque(DecodeBmp(data)); }
Picture ReadJpeg(ByteSpan data, const Options& o) {
  // A picture to be fitted is decoded no larger than the fitting needs: a camera picture
  // fitted to a phone's screen at 1/8 of its sides, a sixty-fourth of its pixels.
  if (o.fit) {
    if (const std::optional<PictureSize> size = ReadPictureHeaderSize(data);
        size && size->width > 0 && size->height > 0 && size->width <= kMaxImageSide && size->height <= kMaxImageSide) {
      const FitSize need = FittedWholeSize(static_cast<uint32_t>(size->width), static_cast<uint32_t>(size->height),
                                           *o.width, *o.height, *o.fit);
      return Opaque(DecodeJpegAtLeast(data, need.width, need.height));
    }
  }
  return Opaque(DecodeJpeg(data));
}
Picture ReadPng(ByteSpan data, const Options&) { return Picture{DecodePng(data), {}}; }
Picture ReadIfg(ByteSpan data, const Options&) {
  if (!IsIfgData(data)) throw SsfError("Файл не является IFEG-изображением (нет подписи IFEG)");
  Image image;
  DecodeIFG(data, image);
  return Opaque(std::move(image));
}
Picture ReadAni2(ByteSpan data, const Options&) {
  if (!IsANI2(data)) throw SsfError("Файл не является ANI2-изображением (нет подписи ANI2)");
  return Picture{{Ani2ToImage(data), true}, Ani2ToRawOverBlack(data)};
}
Picture ReadRaw(ByteSpan data, const Options& o) {
  if (!o.width || !o.height) throw UsageError{"в файле .raw нет размера: укажите --size WxH"};
  Picture p = Opaque(RawToImage(data, *o.width, *o.height));
  p.rgb565.assign(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(p.image.PixelCount() * 2));
  return p;
}

// Formats without alpha take the picture flattened over black, as the import does. An
// opaque picture is used as it stands rather than copied.
template <typename Encode>
Bytes Flattened(const Picture& p, Encode&& encode) {
  if (p.image.HasAlpha() && !p.rgb565.empty()) return encode(RawToImage(p.rgb565, p.image.width, p.image.height));
  return p.image.HasAlpha() ? encode(FlattenOverBlack(p)) : encode(p.image);
}
Bytes WriteBmp(const Picture& p, const Options&) { return Flattened(p, [](const Image& i) { return EncodeBmp(i); }); }
Bytes WriteJpeg(const Picture& p, const Options&) { return Flattened(p, [](const Image& i) { return EncodeJpeg(i, 100); }); }
Bytes WritePng(const Picture& p, const Options&) { return EncodePng(p.image); }
Bytes WriteRaw(const Picture& p, const Options&) {
  if (!p.rgb565.empty()) return p.rgb565;
  return Flattened(p, [](const Image& i) { return ImageToRaw(i); });
}
Bytes WriteIfg(const Picture& p, const Options& o) {
  if (!p.rgb565.empty()) return EncodeIFGRgb565(p.rgb565, p.image.width, p.image.height, o.max_error);
  return Flattened(p, [&o](const Image& i) { return EncodeIFG(i, 16, 1, o.max_error); });
}
Bytes WriteAni2(const Picture& p, const Options&) { return ImageToAni2(p.image, p.has_alpha_channel); }

Bytes WriteAni2AsPng(const Picture& p, const Options&) { return EncodePngRgba16(p.image); }

// A picture without pixels, found by a route that converts in one step.
struct EmptyPicture {
  uint32_t width, height;
};

ScratchBuffer ConvertAni2ToPng(ByteSpan data) {
  if (!IsANI2(data)) throw SsfError("Файл не является ANI2-изображением (нет подписи ANI2)");
  const uint32_t width = ReadU16LE(data, 4), height = ReadU16LE(data, 6);
  if (width == 0 || height == 0) throw EmptyPicture{width, height};
  return Ani2ToPngScratch(data);
}

const Format kFormats[] = {
    {"bmp", {".bmp"}, ReadBmp, WriteBmp},
    {"jpg", {".jpg", ".jpeg"}, ReadJpeg, WriteJpeg},
    {"png", {".png"}, ReadPng, WritePng},
    {"raw", {".raw"}, ReadRaw, WriteRaw},
    {"ifg", {".ifg"}, ReadIfg, WriteIfg},
    {"ani2", {".ani2"}, ReadAni2, WriteAni2},
};

const Route kRoutes[] = {
    {"ani2", "png", WriteAni2AsPng, ConvertAni2ToPng},
    // Rows decoded straight into the file's bytes, with no picture in between: the same bytes, faster.
    {"jpg", "bmp", nullptr, JpegToBmp},
    {"png", "raw", nullptr, PngToRaw},
};

std::string LowerExtension(const std::filesystem::path& path) {
  std::string ext = Utf8FromPath(path.extension());
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext;
}

const Format* FindFormat(const std::filesystem::path& path) {
  const std::string ext = LowerExtension(path);
  for (const Format& f : kFormats) {
    for (const char* e : f.extensions) {
      if (e && ext == e) return &f;
    }
  }
  return nullptr;
}

uint32_t ParseSide(const std::string& text, const std::string& whole) {
  if (text.empty() || text.size() > 5 || !std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); })) {
    throw UsageError{"--size: нужно WxH, например 240x320, а не '" + whole + "'"};
  }
  return static_cast<uint32_t>(std::stoul(text));
}

// A header without pixels is no picture to other programs; refused before anything is written.
[[noreturn]] void RefuseEmpty(uint32_t width, uint32_t height, const std::filesystem::path& out) {
  throw SsfError("Пустое изображение " + std::to_string(width) + "x" + std::to_string(height) +
                 " не записывается: " + Utf8FromPath(out));
}

ScratchBuffer ConvertDirectly(const Route& route, ByteSpan input, const std::filesystem::path& in,
                              const std::filesystem::path& out) {
  try {
    return route.convert(input);
  } catch (const EmptyPicture& e) {
    RefuseEmpty(e.width, e.height, out);
  } catch (const SsfError& e) {
    throw SsfError(std::string(e.what()) + ": " + Utf8FromPath(in));
  }
}

Bytes DecodeThenEncode(const Format& from, EncodeFn encode, bool rgb565_output, ByteSpan input, const Options& options,
                       const std::filesystem::path& in, const std::filesystem::path& out) {
  Picture picture;
  try {
    picture = from.decode(input, options);
  } catch (const SsfError& e) {
    throw SsfError(std::string(e.what()) + ": " + Utf8FromPath(in));
  }
  if (picture.image.width == 0 || picture.image.height == 0) RefuseEmpty(picture.image.width, picture.image.height, out);
  if (options.fit) {
    try {
      picture.image = FitPicture(picture.image, *options.width, *options.height, *options.fit);
    } catch (const SsfError& e) {
      throw SsfError(std::string(e.what()) + ": " + Utf8FromPath(in));
    }
    picture.rgb565.clear();  // the source's own RGB565 values are not the fitted picture's
    if (options.dither && rgb565_output) DitherToRgb565(picture.image);
  }
  try {
    return encode(picture, options);
  } catch (const SsfError& e) {
    throw SsfError(std::string(e.what()) + ": " + Utf8FromPath(out));
  }
}

}  // namespace

int CmdConvert(Context& ctx, const std::vector<std::string>& arguments) {
  std::vector<std::string> args = arguments;
  std::vector<std::string> files;
  Options options;
  const FitOptions fit = TakeFitOptions(args);
  if (fit.mode) options.fit = ParseFitMode(*fit.mode);
  options.dither = fit.dither;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--size") {
      if (i + 1 >= args.size()) throw UsageError{"после --size нужно WxH"};
      const std::string& value = args[++i];
      const size_t x = value.find_first_of("xX");
      if (x == std::string::npos) throw UsageError{"--size: нужно WxH, например 240x320, а не '" + value + "'"};
      options.width = ParseSide(value.substr(0, x), value);
      options.height = ParseSide(value.substr(x + 1), value);
    } else if (args[i] == "--max-error") {
      if (i + 1 >= args.size()) throw UsageError{"после --max-error нужно число"};
      options.max_error = ParseMaxError(args[++i]);
    } else if (args[i].size() > 1 && args[i][0] == '-') {
      throw UsageError{"неизвестный параметр '" + args[i] + "'"};
    } else {
      files.push_back(args[i]);
    }
  }
  if (files.size() != 2) throw UsageError{"нужны входной и выходной файлы"};
  const std::filesystem::path in = PathFromUtf8(files[0]), out = PathFromUtf8(files[1]);

  const Format* from = FindFormat(in);
  const Format* to = FindFormat(out);
  if (!from) throw UsageError{"файлы '" + Utf8FromPath(in.extension()) + "' не читаются: " + Utf8FromPath(in)};
  if (!to) throw UsageError{"файлы '" + Utf8FromPath(out.extension()) + "' не записываются: " + Utf8FromPath(out)};
  const Route* route = nullptr;
  for (const Route& r : kRoutes) {
    if (std::string(r.from) == from->name && std::string(r.to) == to->name) route = &r;
  }
  const EncodeFn encode = route && route->encode ? route->encode : to->encode;
  if (options.fit && !options.width) throw UsageError{"--fit: нужен размер, к которому подогнать: --size WxH"};
  if (options.fit && (*options.width == 0 || *options.height == 0)) {
    throw UsageError{"--fit: размер --size должен быть не меньше 1x1"};
  }
  if (options.fit && std::string(from->name) == "raw") {
    throw UsageError{"--fit: у файла .raw нет своего размера, --size задаёт его, а не размер подгонки"};
  }
  if (std::string(from->name) == "raw" && !options.width) throw UsageError{"в файле .raw нет размера: укажите --size WxH"};
  if (options.max_error > 0 && std::string(to->name) != "ifg") throw UsageError{"--max-error только для записи в .ifg"};

  // Input and output of a direct route are pictures' worth of bytes, each written once before
  // it is read: not cleared first.
  std::optional<ScratchBuffer> direct;
  Bytes decoded;
  ReadingFile(in, [&] {
    const ScratchBuffer input = ReadWholeFileScratch(in);
    const std::string kind = to->name;
    const bool rgb565_output = kind == "raw" || kind == "ifg" || kind == "ani2";
    if (route && route->convert && !options.fit) {
      direct = ConvertDirectly(*route, input.span(), in, out);
    } else {
      decoded = DecodeThenEncode(*from, encode, rgb565_output, input.span(), options, in, out);
    }
  });
  const ByteSpan output = direct ? direct->span() : ByteSpan(decoded);
  WriteFileAtomic(out, output);
  ctx.out << Utf8FromPath(in) << " -> " << Utf8FromPath(out) << " ("
          << CountText(static_cast<int64_t>(output.size()), "байт", "байта", "байт") << ")\n";
  return kExitOk;
}

}  // namespace ssf::cli
