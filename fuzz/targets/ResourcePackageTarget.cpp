#include <unistd.h>

#include <string>

#include "FuzzTargets.h"
#include "base/FileIO.h"
#include "base/SilentUi.h"
#include "base/SsfError.h"
#include "editor/Editor.h"
#include "editor/ResourceHandlers.h"

namespace ssf::fuzz {

namespace {

namespace fs = std::filesystem;

constexpr const char kSecret[] = "SECRET-OUTSIDE-THE-PACKAGE";

// A map folder with one small map, a private file beside the package, made once per process.
struct Folder {
  fs::path dir = fs::temp_directory_path() / ("ssf-fuzz-respkg-" + std::to_string(::getpid()));
  Folder() {
    fs::create_directories(dir / "ThemeMaps");
    WriteFileAtomic(dir / "ThemeMaps" / "a.rxt",
                    std::string("<THEMESIGN \"SAMSUNG THEME\" \"FUZZ-A\">\n<THEMESETTINGS \"0xB0\" \"0xC0\" \"3\" \"NO\">\n"
                                "<GROUP \"g\">\n<FILE \"a\" \"1\" \"JPG\" \"4\" \"4\">\n<FILE \"b\" \"2\" \"RAW\" \"4\" \"4\">\n"
                                "</GROUP>\n<FILE \"c\" \"3\" \"COLORTAB\" \"16\">\n"));
    WriteFileAtomic(dir / "private", std::string(kSecret));
  }
  ~Folder() {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
};

// The next piece of the input up to a NUL byte (or its end).
std::string Next(std::span<const uint8_t> data, size_t& pos) {
  std::string piece;
  while (pos < data.size() && data[pos] != 0) piece += static_cast<char>(data[pos++]);
  if (pos < data.size()) ++pos;
  return piece;
}

}  // namespace

// The input: the descriptor's text, then entries "<kind><path>" "<content>", NUL-separated,
// that make the package tree: f file, d folder, l link to <content> (in place of what is
// there, the descriptor too), p FIFO. The map's
// package is "Resources/g/a.jpg", "Resources/g/b.raw", "Resources/c.tab". An import either
// refuses and changes no slot, or fills the slots from regular files inside the package:
// never from the private file beside it.
void FuzzResourcePackage(std::span<const uint8_t> data) {
  static const Folder folder;
  const fs::path pkg = folder.dir / "pkg";
  std::error_code ec;
  fs::remove_all(pkg, ec);
  fs::create_directories(pkg / "Resources");
  size_t pos = 0;
  WriteFileAtomic(pkg / "p.res", Next(data, pos));
  for (int entries = 0; pos < data.size() && entries < 16; ++entries) {
    std::string head = Next(data, pos);
    std::string content = Next(data, pos);
    if (head.size() < 2) continue;
    const fs::path rel = fs::path(head.substr(1)).lexically_normal().relative_path();
    if (rel.empty() || *rel.begin() == "..") continue;
    const fs::path at = pkg / rel;
    fs::create_directories(at.parent_path(), ec);
    switch (head[0]) {
      case 'f':
        // Through the package's own folder: a link that an earlier entry put on the way (or
        // in place of the file) is refused, so nothing outside the package is written.
        try {
          WriteFileAtomicBeneath(pkg, rel, ByteSpan(reinterpret_cast<const uint8_t*>(content.data()), content.size()));
        } catch (const SsfError&) {
        }
        break;
      case 'd': fs::create_directories(at, ec); break;
      case 'l':
        fs::remove(at, ec);  // the descriptor too may become a link
        fs::create_symlink(content == "private" ? folder.dir / "private" : fs::path(content), at, ec); break;
      case 'p': MakeFifo(at); break;
      default: break;
    }
  }

  SilentUi ui;
  IniDocument settings;
  Editor ed{ui, settings, folder.dir / "ThemeMaps", {}, {}};
  ListThemeMaps(ed);
  lk_CreateNewTheme(ed, 0);
  for (auto& slot : ed.state.Theme->NewFiles) slot.f_file.assign(3, 0xEE);
  std::vector<TThemeNewFiles> before = ed.state.Theme->NewFiles;
  bool imported = false;
  try {
    imported = ImportResourcePackage(ed, pkg / "p.res");
  } catch (const SsfError&) {
  }
  for (size_t k = 0; k < before.size(); ++k) {
    const Bytes& now = ed.state.Theme->NewFiles[k].f_file;
    if (!imported && now != before[k].f_file) __builtin_trap();  // a refusal changes nothing
    if (std::string(now.begin(), now.end()) == kSecret) __builtin_trap();  // read through a link
  }
}

}  // namespace ssf::fuzz
