// ssftool ifeg decode|encode|info: the IFEG codec on files.
#include <algorithm>
#include <cctype>
#include <string>

#include "cli/Commands.h"
#include "ifeg/Ifeg.h"
#include "pictures/Bmp.h"
#include "base/MemoryShortage.h"
#include "base/FileIO.h"
#include "base/RussianPlural.h"
#include "pictures/Jpeg.h"
#include "pictures/Png.h"
#include "base/SsfError.h"
#include "platform/PathText.h"

namespace ssf::cli {

namespace {

std::string ByteCount(uint64_t n) { return CountText(static_cast<int64_t>(n), "байт", "байта", "байт"); }

std::string LowerExtension(const std::filesystem::path& path) {
  std::string ext = Utf8FromPath(path.extension());
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
    throw SsfError(std::string(e.what()) + ": " + Utf8FromPath(in));
  }
  return picture;
}

int Decode(Context& ctx, const std::vector<std::string>& args) {
  if (args.size() != 2) throw UsageError{"decode: нужны IN.ifg и OUT.bmp, OUT.png или OUT.jpg"};
  const std::filesystem::path in = PathFromUtf8(args[0]), out = PathFromUtf8(args[1]);
  const std::string ext = LowerExtension(out);
  const bool jpeg = ext == ".jpg" || ext == ".jpeg";
  if (ext != ".bmp" && ext != ".png" && !jpeg) throw UsageError{"decode записывает .bmp, .png или .jpg, а не '" + ext + "'"};
  const Image picture = DecodeIfgFile(in);
  if (picture.width == 0 || picture.height == 0) {
    throw SsfError("Пустое изображение " + std::to_string(picture.width) + "x" + std::to_string(picture.height) +
                   " не записывается: " + Utf8FromPath(out));
  }
  const Bytes bytes = ext == ".bmp" ? EncodeBmp(picture) : jpeg ? EncodeJpeg(picture, 100) : EncodePng(picture);
  WriteFileAtomic(out, bytes);
  ctx.out << Utf8FromPath(in) << " -> " << Utf8FromPath(out) << " (" << picture.width << "x" << picture.height << ", "
          << ByteCount(bytes.size()) << ")\n";
  return kExitOk;
}

int Encode(Context& ctx, const std::vector<std::string>& args) {
  std::vector<std::string> files;
  uint32_t mode = 1;
  uint32_t max_error = 0;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--mode") {
      if (i + 1 >= args.size()) throw UsageError{"после --mode нужно 1, 2 или 3"};
      const std::string& m = args[++i];
      if (m != "1" && m != "2" && m != "3") throw UsageError{"--mode: 1, 2 или 3, а не '" + m + "'"};
      mode = static_cast<uint32_t>(m[0] - '0');
    } else if (args[i] == "--max-error") {
      if (i + 1 >= args.size()) throw UsageError{"после --max-error нужно число"};
      max_error = ParseMaxError(args[++i]);
    } else if (args[i].size() > 1 && args[i][0] == '-') {
      throw UsageError{"неизвестный параметр '" + args[i] + "'"};
    } else {
      files.push_back(args[i]);
    }
  }
  if (files.size() != 2) throw UsageError{"encode: нужны IN.bmp|.png|.jpg и OUT.ifg"};
  const std::filesystem::path in = PathFromUtf8(files[0]), out = PathFromUtf8(files[1]);
  const std::string ext = LowerExtension(in);
  if (ext != ".bmp" && ext != ".png" && ext != ".jpg" && ext != ".jpeg") {
    throw UsageError{"encode читает .bmp, .png или .jpg, а не '" + ext + "'"};
  }
  const Bytes data = ReadWholeFile(in);
  Bytes ifg;
  try {
    Image picture = ext == ".bmp"   ? DecodeBmp(data)
                    : ext == ".png" ? FlattenOverBlack(DecodePng(data))
                                    : DecodeJpeg(data);
    ifg = EncodeIFG(picture, mode == 1 ? 16 : 18, mode, max_error);
  } catch (const SsfError& e) {
    throw SsfError(std::string(e.what()) + ": " + Utf8FromPath(in));
  }
  WriteFileAtomic(out, ifg);
  ctx.out << Utf8FromPath(in) << " -> " << Utf8FromPath(out) << " (режим " << mode;
  if (max_error > 0) ctx.out << ", ошибка до " << max_error;
  ctx.out << ", " << ByteCount(ifg.size()) << ")\n";
  return kExitOk;
}

int Info(Context& ctx, const std::vector<std::string>& args) {
  if (args.size() != 1) throw UsageError{"info: нужен IN.ifg"};
  const std::filesystem::path in = PathFromUtf8(args[0]);
  const Bytes data = ReadWholeFile(in);
  IfgPacked d;
  try {
    if (!IsIfgData(data)) throw SsfError("Файл не является IFEG-изображением (нет подписи IFEG)");
    d = DecodeIFGSummary(data);
  } catch (const SsfError& e) {
    throw SsfError(std::string(e.what()) + ": " + Utf8FromPath(in));
  }
  const IfgHeader& h = d.header;
  ctx.out << "ширина: " << h.width << "\n"
          << "высота: " << h.height << "\n"
          << "режим: " << int{h.mode} << " (" << (h.mode == 1 ? "RGB565" : "RGB666") << ", "
          << CountText(h.Bits(), "бит", "бита", "бит") << ")\n";
  if (h.mode == 1) {
    ctx.out << "таблица разностей: " << int{h.table_select}
            << (h.table_select == 2 ? " (разности удвоены)" : " (обычная)") << "\n";
  }
  ctx.out << "размер файла: " << ByteCount(data.size()) << "\n";
  if (h.mode == 1) {
    ctx.out << "битовый поток: " << ByteCount(h.escape_offset - h.stream_start) << " со смещения " << h.stream_start
            << ", до области особых точек\n"
            << "область особых точек: " << ByteCount(d.escapes * 2) << " со смещения " << h.escape_offset << "\n";
  } else {
    ctx.out << "битовый поток: " << ByteCount(data.size() - h.stream_start) << " со смещения " << h.stream_start << "\n";
  }
  ctx.out << "особых точек: " << d.escapes << "\n";
  if (d.consumed < data.size()) {
    ctx.out << "лишних байт в конце: " << data.size() - d.consumed << "\n";
  }
  return kExitOk;
}

}  // namespace

int CmdIfeg(Context& ctx, const std::vector<std::string>& args) {
  if (args.empty()) throw UsageError{"нужно действие decode, encode или info"};
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  // Every action reads the file given first.
  const std::filesystem::path in = rest.empty() ? std::filesystem::path() : PathFromUtf8(rest[0]);
  if (args[0] == "decode") return ReadingFile(in, [&] { return Decode(ctx, rest); });
  if (args[0] == "encode") return ReadingFile(in, [&] { return Encode(ctx, rest); });
  if (args[0] == "info") return ReadingFile(in, [&] { return Info(ctx, rest); });
  throw UsageError{"неизвестное действие '" + args[0] + "': нужно decode, encode или info"};
}

}  // namespace ssf::cli
