#pragma once
// A theme of every file kind for the preview and export tests, with small pictures made
// in code so each kind's stored bytes decode to a known picture.
#include <string>

#include "EditorTestSupport.h"
#include "PictureSupport.h"
#include "ifeg/Ifeg.h"
#include "pictures/Ani2.h"
#include "pictures/Jpeg.h"
#include "editor/MainFormHandlers.h"
#include "pictures/RawImage.h"

namespace ssf::test {

inline const char kKindsMap[] =
    "<THEMESIGN Main=\"SAMSUNG THEME\" Mobile=\"KINDS-1\">\n"
    "<THEMESETTINGS FilesTable=\"0xFD0\" FilesStart=\"0xFF0\" \"8\" \"YES\">\n"
    "<COLORTHEMESSETTINGS \"NO\">\n"
    "<GROUP \"Картинки\">\n"
    "  <FILE \"Обои: главные\" \"1\" \"JPG\" \"240\" \"320\">\n"
    "  <FILE \"Фон/меню\" \"2\" \"RAW\" \"240\" \"320\">\n"
    "  <FILE \"Часы: анимация\" \"3\" \"ANI2\" \"16\" \"8\">\n"
    "  <FILE \"Значок*\" \"4\" \"IFG\" \"16\" \"8\">\n"
    "  <FILE \"Широкий RAW\" \"5\" \"RAW\" \"320\" \"8\">\n"
    "  <FILE \"Широкий ANI2\" \"6\" \"ANI2\" \"320\" \"8\">\n"
    "  <FILE \"Широкий JPG\" \"7\" \"JPG\" \"320\" \"8\">\n"
    "</GROUP>\n"
    "<GROUP \"Пустая группа\">\n"
    "</GROUP>\n"
    "<FILE \"Цвета: главные\" \"8\" \"COLORTAB\" \"64\">\n";

inline constexpr int kJpgFile = 0, kRawFile = 1, kAni2File = 2, kIfgFile = 3, kWideRawFile = 4,
                     kWideAni2File = 5, kWideJpgFile = 6, kColorTabFile = 7, kKindsFileCount = 8;

// A JFIF JPEG of the picture (libjpeg writes the JFIF marker).
inline Bytes JpegOf(uint32_t w, uint32_t h) { return EncodeJpeg(Gradient(w, h), 90); }
inline Bytes RawOf(uint32_t w, uint32_t h) { return ImageToRaw(Gradient(w, h)); }
inline Bytes Ani2Of(uint32_t w, uint32_t h) {
  Image picture = Gradient(w, h, true);
  return ImageToAni2(picture, true);
}
inline Bytes IfgOf(uint32_t w, uint32_t h) { return EncodeIFG(Gradient(w, h), 16, 1); }
inline Bytes ColorTabOf() {
  Bytes tab(64);
  for (size_t i = 0; i < tab.size(); ++i) tab[i] = static_cast<uint8_t>(i * 3);
  return tab;
}

struct KindsTheme {
  EditorFixture f;
  std::array<std::string, 3> status_after_create;

  KindsTheme() {
    f.AddMap("KINDS-1.rxt", kKindsMap);
    f.Create("KINDS-1");
    status_after_create = f.ed->view.status;
    for (const auto& m : f.ui.messages) ADD_FAILURE() << m.text;
  }
  Editor& ed() { return *f.ed; }
  const Bytes& Slot(int k) { return f.ed->state.Theme->NewFiles.at(static_cast<size_t>(k)).f_file; }
  void Select(int k) { SelectTreeNode(*f.ed, f.ed->state.Map.Tree.FileNode(k)); }
  int EmptyGroupNode() const {
    const GroupTree& tree = f.ed->state.Map.Tree;
    for (int i = 0; i < tree.Size(); ++i) {
      if (tree.Node(i).group && !tree.HasChildren(i)) return i;
    }
    return -1;
  }
  // Stores a valid file of its kind in every slot, as imports would.
  void FillAll() {
    const Bytes files[kKindsFileCount] = {JpegOf(240, 320), RawOf(240, 320), Ani2Of(16, 8), IfgOf(16, 8),
                                          RawOf(320, 8),    Ani2Of(320, 8),  JpegOf(320, 8), ColorTabOf()};
    for (int k = 0; k < kKindsFileCount; ++k) f.ed->state.Theme->NewFiles.at(static_cast<size_t>(k)).f_file = files[k];
    f.ed->state.Theme->CountCorrection = kKindsFileCount - f.ed->state.Theme->HeldFiles();
  }
};

}  // namespace ssf::test
