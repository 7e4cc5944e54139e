#include "editor/ColorTableEdit.h"

#include "base/SsfError.h"
#include "editor/ThemeFileImport.h"
#include "editor/ThemeUndo.h"
#include "theme/ColorTable.h"
#include "theme/FileKind.h"

namespace ssf {

namespace {

bool IsPresentColorTable(const Editor& ed, int k) {
  const TTHemeFiles* entry = ed.state.Map.Entry(k);
  return ed.state.Theme && entry && KindOf(entry->f_type) == FileKind::kColorTab && ed.state.Theme->Slot(k) &&
         ed.state.Theme->Slot(k)->Present();
}

}  // namespace

const Bytes* SelectedColorTable(const Editor& ed) {
  const int k = SelectedThemeFile(ed);
  return k >= 0 && IsPresentColorTable(ed, k) ? &ed.state.Theme->NewFiles[static_cast<size_t>(k)].f_file : nullptr;
}

void SetColorTableEntry(Editor& ed, int k, size_t n, uint16_t value) {
  if (!IsPresentColorTable(ed, k)) throw SsfError("Файл темы " + std::to_string(k) + " не является таблицей цветов");
  Bytes& table = ed.state.Theme->NewFiles[static_cast<size_t>(k)].f_file;
  if (ColorTableEntry(table, n) == value) return;
  UndoScope undo(ed, {k}, false);
  SetColorTableEntry(table, n, value);
  undo.Commit();
  ed.view.status[1] = "Тема изменена.";
}

}  // namespace ssf
