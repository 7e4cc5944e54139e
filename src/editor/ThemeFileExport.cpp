#include "editor/ThemeFileExport.h"

#include <array>

#include "ifeg/Ifeg.h"
#include "pictures/Bmp.h"
#include "base/Cp1251.h"
#include "base/FileIO.h"
#include "pictures/Jpeg.h"
#include "pictures/Png.h"
#include "pictures/RawImage.h"
#include "base/SsfError.h"
#include "editor/ThemeFilePreview.h"

namespace ssf {
namespace {

constexpr std::array<const char*, 5> kPictureExtensions = {".bmp", ".jpg", ".png", ".raw", ".ifg"};
constexpr std::array<const char*, 2> kAni2Extensions = {".png", ".ani2"};

bool IsPictureKind(const std::string& kind) { return kind == "JPG" || kind == "RAW" || kind == "IFG"; }

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

void btn_SaveFileClick(Editor& ed) {
  const GroupTree& tree = ed.state.Tree;
  const int selected = ed.view.TV_selected;
  if (selected < 0 || selected >= tree.Size() || !tree.IsFileNode(selected)) return;
  const int k = SelectedFileIndex(ed);
  if (k < 0 || static_cast<size_t>(k) >= ed.state.ThemeFiles.size() ||
      static_cast<size_t>(k) >= ed.state.NewFiles.size()) {
    return;
  }
  const TTHemeFiles& entry = ed.state.ThemeFiles[static_cast<size_t>(k)];
  const TThemeNewFiles& slot = ed.state.NewFiles[static_cast<size_t>(k)];
  const std::string& kind = entry.f_type;
  const std::string filter = ExportFilter(kind);
  // The button is only enabled for a present file; there is nothing to write otherwise.
  if (filter.empty() || !slot.Present()) return;

  const std::string& caption = tree.Node(selected).caption;
  FileDialogRequest request;
  request.filter = filter;
  request.file_name = ProposedFileName(caption);
  request.initial_dir = ed.settings.ReadString("ExecuteFiles", "SaveFile");
  request.ask_overwrite = true;
  std::optional<FileDialogResult> chosen = ed.ui.SaveDialog(request);
  if (!chosen) return;
  ed.settings.WriteString("ExecuteFiles", "SaveFile", (chosen->path.parent_path() / "").string());

  const std::string extension = ExportExtension(kind, chosen->filter_index);
  if (extension.empty()) return;
  const std::filesystem::path target = ForceExtension(chosen->path, extension);
  if (!ConfirmForcedName(ed.ui, chosen->path, target)) return;

  // A preview that failed to decode holds no picture; decoding again reports why.
  PreviewPicture decoded;
  const PreviewPicture* preview = &ed.view.IMG;
  const bool from_preview = IsPictureKind(kind) || (kind == "ANI2" && chosen->filter_index == 1);
  if (from_preview && preview->kind == PreviewPicture::Kind::kNone) {
    decoded = MakePreviewPicture(slot.f_file, entry);
    preview = &decoded;
  }
  WriteFileAtomic(target, ExportThemeFileBytes(kind, chosen->filter_index, *preview, slot.f_file));
}

}  // namespace ssf
