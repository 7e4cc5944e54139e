// ssftool ifeg decode|encode|info: the IFEG codec on files.
#include <algorithm>
#include <cctype>
#include <string>

#include "cli/Commands.h"
#include "ifeg/Ifeg.h"
#include "pictures/Bmp.h"
#include "base/MemoryShortage.h"
#include "base/FileIO.h"
#include "pictures/Jpeg.h"
#include "pictures/Png.h"
#include "base/SsfError.h"

namespace ssf::cli {

namespace {

std::string LowerExtension(const std::filesystem::path& path) {
  std::string ext = path.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext;
}

Image DecodeIfgFile(const std::filesystem::path& in, IfgHeader* header = nullptr) {
  const Bytes data = ReadWholeFile(in);
  Image picture;
  try {
    if (!IsIfgData(data)) throw SsfError("Файл не является IFEG-изображением (нет подписи IFEG)");
    DecodeIFG(data, picture, header);
  } catch (const SsfError& e) {
    throw SsfError(std::string(e.what()) + ": " + in.string());
  }
  return picture;
}

int Decode(Context& ctx, const std::vector<std::string>& args) {
  if (args.size() != 2) throw UsageError{"decode needs IN.ifg and OUT.bmp, OUT.png or OUT.jpg"};
  const std::filesystem::path in = args[0], out = args[1];
  const std::string ext = LowerExtension(out);
  const bool jpeg = ext == ".jpg" || ext == ".jpeg";
  if (ext != ".bmp" && ext != ".png" && !jpeg) throw UsageError{"decode writes .bmp, .png or .jpg, not '" + ext + "'"};
  const Image picture = DecodeIfgFile(in);
  if (picture.width == 0 || picture.height == 0) {
    throw SsfError("Пустое изображение " + std::to_string(picture.width) + "x" + std::to_string(picture.height) +
                   " не записывается: " + out.string());
  }
  const Bytes bytes = ext == ".bmp" ? EncodeBmp(picture) : jpeg ? EncodeJpeg(picture, 100) : EncodePng(picture);
  WriteFileAtomic(out, bytes);
  ctx.out << in.string() << " -> " << out.string() << " (" << picture.width << "x" << picture.height
          << ", " << bytes.size() << " bytes)\n";
  return kExitOk;
}

int Encode(Context& ctx, const std::vector<std::string>& args) {
  std::vector<std::string> files;
  uint32_t mode = 1;
  uint32_t max_error = 0;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--mode") {
      if (i + 1 >= args.size()) throw UsageError{"--mode needs 1, 2 or 3"};
      const std::string& m = args[++i];
      if (m != "1" && m != "2" && m != "3") throw UsageError{"--mode wants 1, 2 or 3, not '" + m + "'"};
      mode = static_cast<uint32_t>(m[0] - '0');
    } else if (args[i] == "--max-error") {
      if (i + 1 >= args.size()) throw UsageError{"--max-error needs a number"};
      max_error = ParseMaxError(args[++i]);
    } else if (args[i].size() > 1 && args[i][0] == '-') {
      throw UsageError{"unknown option " + args[i]};
    } else {
      files.push_back(args[i]);
    }
  }
  if (files.size() != 2) throw UsageError{"encode needs IN.bmp|.png|.jpg and OUT.ifg"};
  const std::filesystem::path in = files[0], out = files[1];
  const std::string ext = LowerExtension(in);
  if (ext != ".bmp" && ext != ".png" && ext != ".jpg" && ext != ".jpeg") {
    throw UsageError{"encode reads .bmp, .png or .jpg, not '" + ext + "'"};
  }
  const Bytes data = ReadWholeFile(in);
  Bytes ifg;
  try {
    Image picture = ext == ".bmp"   ? DecodeBmp(data)
                    : ext == ".png" ? FlattenOverBlack(DecodePng(data))
                                    : DecodeJpeg(data);
    ifg = EncodeIFG(picture, mode == 1 ? 16 : 18, mode, max_error);
  } catch (const SsfError& e) {
    throw SsfError(std::string(e.what()) + ": " + in.string());
  }
  WriteFileAtomic(out, ifg);
  ctx.out << in.string() << " -> " << out.string() << " (mode " << mode;
  if (max_error > 0) ctx.out << ", error up to " << max_error;
  ctx.out << ", " << ifg.size() << " bytes)\n";
  return kExitOk;
}

int Info(Context& ctx, const std::vector<std::string>& args) {
  if (args.size() != 1) throw UsageError{"info needs IN.ifg"};
  const std::filesystem::path in = args[0];
  const Bytes data = ReadWholeFile(in);
  IfgPacked d;
  try {
    if (!IsIfgData(data)) throw SsfError("Файл не является IFEG-изображением (нет подписи IFEG)");
    d = DecodeIFGSummary(data);
  } catch (const SsfError& e) {
    throw SsfError(std::string(e.what()) + ": " + in.string());
  }
  const IfgHeader& h = d.header;
  ctx.out << "width: " << h.width << "\n"
          << "height: " << h.height << "\n"
          << "mode: " << int{h.mode} << " (" << (h.mode == 1 ? "RGB565" : "RGB666") << ", "
          << h.Bits() << " bits)\n";
  if (h.mode == 1) {
    ctx.out << "table select: " << int{h.table_select}
            << (h.table_select == 2 ? " (differences doubled)" : " (plain)") << "\n";
  }
  ctx.out << "file size: " << data.size() << " bytes\n";
  if (h.mode == 1) {
    ctx.out << "bit stream: " << h.escape_offset - h.stream_start << " bytes at offset "
            << h.stream_start << ", up to the escape area\n"
            << "escape area: " << d.escapes * 2 << " bytes at offset " << h.escape_offset << "\n";
  } else {
    ctx.out << "bit stream: " << data.size() - h.stream_start << " bytes at offset "
            << h.stream_start << "\n";
  }
  ctx.out << "escaped pixels: " << d.escapes << "\n";
  if (d.consumed < data.size()) {
    ctx.out << "unused bytes at the end: " << data.size() - d.consumed << "\n";
  }
  return kExitOk;
}

}  // namespace

int CmdIfeg(Context& ctx, const std::vector<std::string>& args) {
  if (args.empty()) throw UsageError{"needs decode, encode or info"};
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  // Every action reads the file given first.
  const std::filesystem::path in = rest.empty() ? std::filesystem::path() : std::filesystem::path(rest[0]);
  if (args[0] == "decode") return ReadingFile(in, [&] { return Decode(ctx, rest); });
  if (args[0] == "encode") return ReadingFile(in, [&] { return Encode(ctx, rest); });
  if (args[0] == "info") return ReadingFile(in, [&] { return Info(ctx, rest); });
  throw UsageError{"unknown action '" + args[0] + "': decode, encode or info"};
}

}  // namespace ssf::cli
