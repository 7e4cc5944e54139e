// ssftool convert IN OUT [--size WxH] [--max-error N]: converts a picture by the two file extensions.
//
// Each format has a decoder into a Picture and an encoder from one; a route lists which
// pairs are allowed and, where the generic decode-then-encode is not right, its own
// conversion. Adding a format is a row in kFormats plus its rows in kRoutes.
#include <algorithm>
#include <cctype>
#include <optional>
#include <string>

#include "cli/Commands.h"
#include "ifeg/Ifeg.h"
#include "pictures/Ani2.h"
#include "pictures/Bmp.h"
#include "base/FileIO.h"
#include "pictures/FileProbes.h"
#include "pictures/Jpeg.h"
#include "pictures/Png.h"
#include "pictures/RawImage.h"
#include "base/SsfError.h"

namespace ssf::cli {

namespace {

struct Options {
  std::optional<uint32_t> width, height;  // --size WxH
  uint32_t max_error = 0;                 // --max-error N, for IFEG output
};

// What passes between a decoder and an encoder: the picture and whether its alpha is a
// real alpha channel (a PNG's single transparent colour is not).
using Picture = PngPicture;

using DecodeFn = Picture (*)(ByteSpan, const Options&);
using EncodeFn = Bytes (*)(const Picture&, const Options&);
using ConvertFn = Bytes (*)(ByteSpan, const Options&);

struct Format {
  const char* name;
  const char* extensions[3];  // lower case, with the dot; unused slots null
  DecodeFn decode;            // null: cannot be read
  EncodeFn encode;            // null: cannot be written
};

struct Route {
  const char* from;
  const char* to;
  ConvertFn convert = nullptr;  // null: decode, then encode
};

Picture Opaque(Image image) { return Picture{std::move(image), false}; }

Picture ReadBmp(ByteSpan data, const Options&) { return Opaque(DecodeBmp(data)); }
Picture ReadJpeg(ByteSpan data, const Options&) { return Opaque(DecodeJpeg(data)); }
Picture ReadPng(ByteSpan data, const Options&) { return DecodePng(data); }
Picture ReadIfg(ByteSpan data, const Options&) {
  if (!IsIfgData(data)) throw SsfError("Файл не является IFEG-изображением (нет подписи IFEG)");
  Image image;
  DecodeIFG(data, image);
  return Opaque(std::move(image));
}
Picture ReadRaw(ByteSpan data, const Options& o) {
  if (!o.width || !o.height) throw UsageError{"a .raw file has no size in it: give --size WxH"};
  return Opaque(RawToImage(data, *o.width, *o.height));
}

// Formats without alpha take the picture flattened over black, as the import does.
Bytes WriteBmp(const Picture& p, const Options&) { return EncodeBmp(FlattenOverBlack(p)); }
Bytes WriteJpeg(const Picture& p, const Options&) { return EncodeJpeg(FlattenOverBlack(p), 100); }
Bytes WritePng(const Picture& p, const Options&) { return EncodePng(p.image); }
Bytes WriteRaw(const Picture& p, const Options&) { return ImageToRaw(FlattenOverBlack(p)); }
Bytes WriteIfg(const Picture& p, const Options& o) { return EncodeIFG(FlattenOverBlack(p), 16, 1, o.max_error); }
Bytes WriteAni2(const Picture& p, const Options&) { return ImageToAni2(p.image, p.has_alpha_channel); }

Bytes Ani2ToPngRoute(ByteSpan data, const Options&) {
  if (!IsANI2(data)) throw SsfError("Файл не является ANI2-изображением (нет подписи ANI2)");
  return Ani2BytesToPng(data);
}

const Format kFormats[] = {
    {"bmp", {".bmp"}, ReadBmp, WriteBmp},
    {"jpg", {".jpg", ".jpeg"}, ReadJpeg, WriteJpeg},
    {"png", {".png"}, ReadPng, WritePng},
    {"raw", {".raw"}, ReadRaw, WriteRaw},
    {"ifg", {".ifg"}, ReadIfg, WriteIfg},
    {"ani2", {".ani2"}, nullptr, WriteAni2},
};

const Route kRoutes[] = {
    {"bmp", "bmp"}, {"bmp", "jpg"}, {"bmp", "png"}, {"bmp", "raw"},
    {"jpg", "bmp"}, {"jpg", "jpg"}, {"jpg", "png"}, {"jpg", "raw"},
    {"png", "bmp"}, {"png", "jpg"}, {"png", "png"}, {"png", "raw"}, {"png", "ani2"},
    {"raw", "bmp"}, {"raw", "png"},
    {"bmp", "ifg"}, {"jpg", "ifg"}, {"png", "ifg"}, {"raw", "ifg"},
    {"ifg", "bmp"}, {"ifg", "jpg"}, {"ifg", "png"}, {"ifg", "raw"}, {"ifg", "ifg"},
    {"ani2", "png", Ani2ToPngRoute},
};

std::string LowerExtension(const std::filesystem::path& path) {
  std::string ext = path.extension().string();
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
    throw UsageError{"--size wants WxH, e.g. 240x320, not '" + whole + "'"};
  }
  return static_cast<uint32_t>(std::stoul(text));
}

}  // namespace

int CmdConvert(Context& ctx, const std::vector<std::string>& args) {
  std::vector<std::string> files;
  Options options;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--size") {
      if (i + 1 >= args.size()) throw UsageError{"--size needs WxH"};
      const std::string& value = args[++i];
      const size_t x = value.find_first_of("xX");
      if (x == std::string::npos) throw UsageError{"--size wants WxH, e.g. 240x320, not '" + value + "'"};
      options.width = ParseSide(value.substr(0, x), value);
      options.height = ParseSide(value.substr(x + 1), value);
    } else if (args[i] == "--max-error") {
      if (i + 1 >= args.size()) throw UsageError{"--max-error needs a number"};
      options.max_error = ParseMaxError(args[++i]);
    } else if (args[i].size() > 1 && args[i][0] == '-') {
      throw UsageError{"unknown option " + args[i]};
    } else {
      files.push_back(args[i]);
    }
  }
  if (files.size() != 2) throw UsageError{"needs an input and an output file"};
  const std::filesystem::path in = files[0], out = files[1];

  const Format* from = FindFormat(in);
  const Format* to = FindFormat(out);
  if (!from) throw UsageError{"cannot read '" + in.extension().string() + "' files: " + in.string()};
  if (!to) throw UsageError{"cannot write '" + out.extension().string() + "' files: " + out.string()};
  const Route* route = nullptr;
  for (const Route& r : kRoutes) {
    if (std::string(r.from) == from->name && std::string(r.to) == to->name) route = &r;
  }
  if (!route) throw UsageError{std::string("cannot convert .") + from->name + " to ." + to->name};
  if (std::string(from->name) == "raw" && !options.width) throw UsageError{"a .raw file has no size in it: give --size WxH"};
  if (options.max_error > 0 && std::string(to->name) != "ifg") throw UsageError{"--max-error is for .ifg output only"};

  const Bytes input = ReadWholeFile(in);
  Bytes output;
  try {
    if (route->convert) {
      output = route->convert(input, options);
    } else {
      if (!from->decode || !to->encode) throw SsfError("convert: no generic route for this pair");
      output = to->encode(from->decode(input, options), options);
    }
  } catch (const SsfError& e) {
    throw SsfError(std::string(e.what()) + ": " + in.string());
  }
  WriteFileAtomic(out, output);
  ctx.out << in.string() << " -> " << out.string() << " (" << output.size() << " bytes)\n";
  return kExitOk;
}

}  // namespace ssf::cli
