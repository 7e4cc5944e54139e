#include "editor/ThemePortHandlers.h"

#include "base/Cp1251.h"
#include "base/SsfError.h"
#include "editor/MainFormHandlers.h"
#include "platform/PathText.h"

namespace ssf {
namespace {

std::string KindText(const TTHemeFiles& e) {
  if (e.f_type == "COLORTAB") return e.f_type + " " + std::to_string(e.f_size);
  if (IsPictureKind(KindOf(e.f_type))) return e.f_type + " " + std::to_string(e.f_width) + "x" + std::to_string(e.f_height);
  return e.f_type;
}

}  // namespace

const std::vector<std::string>& PortModels(Editor& ed) {
  ListThemeMaps(ed);
  if (ed.state.MapModels.empty()) ed.ui.ShowMsg(kPortNoMapsMessage, kMsgError);
  return ed.state.MapModels;
}

std::optional<PortProposal> ProposePort(Editor& ed, int item) {
  const EditorState& s = ed.state;
  const size_t slot = static_cast<size_t>(item) + 1;
  if (!s.Theme || item < 0 || slot >= s.MapPaths.size()) return std::nullopt;
  PortProposal p;
  p.map_path = s.MapPaths[slot];
  p.params = s.TagParams;
  // Read against the open map as loading it would, so the map installed is this one.
  ParsedThemeMap parsed = ReadThemeMap(p.map_path, s.Map, p.params);
  if (!parsed.errors.empty()) {
    ed.ui.ShowMsg(MapErrorReport(Utf8FromPath(p.map_path.filename()), parsed.errors, parsed.more_errors), kMsgError);
    return std::nullopt;
  }
  p.map = std::move(parsed.map);
  p.sources = PairedSources(PairThemeFiles(s.Map, p.map));
  return p;
}

std::string PortTargetText(const PortProposal& p, int k) {
  const TTHemeFiles* e = p.map.Entry(k);
  return ThemeFilePath(p.map, k) + (e ? " (" + KindText(*e) + ")" : std::string());
}

int PortSourceCount(const Editor& ed) { return static_cast<int>(ed.state.Map.ThemeFiles.size()); }

std::string PortSourceText(const Editor& ed, int source) {
  const TTHemeFiles* e = ed.state.Map.Entry(source);
  return std::to_string(source) + " " + ThemeFilePath(ed.state.Map, source) + (e ? " (" + KindText(*e) + ")" : "");
}

std::string PortPlanText(const Editor& ed, const PortProposal& p, int k) {
  const std::optional<int> source = k < static_cast<int>(p.sources.size()) ? p.sources[static_cast<size_t>(k)] : std::nullopt;
  const TTHemeFiles* from = source ? ed.state.Map.Entry(*source) : nullptr;
  const TTHemeFiles* to = p.map.Entry(k);
  const TThemeNewFiles* slot = source && ed.state.Theme ? ed.state.Theme->Slot(*source) : nullptr;
  if (!from || !to || !slot) return "не заполнен: нет файла-источника";
  const CarryPlan plan = PlanCarry(*from, slot->f_file, *to, p.fit);
  return plan.action == CarryAction::kNone ? "не заполнен: " + plan.what : plan.what;
}

bool ApplyPort(Editor& ed, const PortProposal& p, const PortProgress& progress) {
  EditorState& s = ed.state;
  ViewState& v = ed.view;
  if (!s.Theme) return false;
  if (s.ThemeModified && !ed.ui.AskYesNo(kLoseChangesQuestion, YesNoDefault::kNo)) return false;
  std::optional<PortedTheme> ported = PortTheme(*s.Theme, s.Map, p.map, p.sources, p.fit, progress);
  if (!ported) return false;

  s.Map = p.map;
  s.TagParams = p.params;
  s.MapPath = p.map_path;
  s.MapValid = true;
  s.Theme = std::move(ported->theme);
  s.ThemePath.clear();
  s.Undo.Clear();
  // Nothing of it is on disk yet: closing asks to save it.
  s.ThemeModified = true;

  v.TV_selected = -1;
  v.status = {"NewTheme.ssf [" + Utf8FromPath(p.map_path.filename()) + "]",
              "Тема перенесена на модель " + Cp1251ToUtf8(p.map.SignMobile) + ".", StoredCountText(s)};
  v.PCtrl_enabled = true;
  v.PCtrl_page = 0;
  v.Pnl_ItemInfo_visible = false;
  v.MM_Child_SaveTheme_enabled = true;
  v.MM_Child_ImportRes_enabled = true;
  v.MM_Child_ExportRes_enabled = true;
  v.CBox_ThemeType_index = 0;
  ShowThemeHeader(ed);
  return true;
}

}  // namespace ssf
