#pragma once
// "Файл" -> "Перенести на другую модель…": the open theme carried to the map of another
// model. The dialog shows a proposal (the pairing, each target's source changeable); OK
// carries the files and makes the result the open, unsaved theme.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "editor/Editor.h"
#include "theme/ThemePort.h"

namespace ssf {

inline constexpr const char* kPortNoMapsMessage =
    "Невозможно перенести тему!\r\nНеобходимо наличие в папке ThemeMaps хотя бы одной карты темы!";

// What the dialog shows and edits for one target model.
struct PortProposal {
  std::filesystem::path map_path;
  ThemeMap map;              // the target map, read as loading it into the editor would
  TagParams params;          // the tag parameters after reading it
  std::vector<std::optional<int>> sources;  // per target theme file; changeable
  FitChoice fit;
};

// The models the dialog offers (state.MapModels), listed anew from the maps folder; empty
// when there is none (the message is shown).
const std::vector<std::string>& PortModels(Editor& ed);

// The proposal for chooser item `item`: the map read and the files paired. Nothing when the
// map has errors (the report is shown) or no theme is open. A map that cannot be read throws.
std::optional<PortProposal> ProposePort(Editor& ed, int item);

// The rows of the dialog's table.
// "Рабочий стол/Обои (JPG 176x220)".
std::string PortTargetText(const PortProposal& p, int k);
// A source theme file as the source box lists it: "7 Главное меню/Фон меню (RAW 240x320)".
std::string PortSourceText(const Editor& ed, int source);
// The number of source theme files the source box lists.
int PortSourceCount(const Editor& ed);
// What will be done for target k with its current source.
std::string PortPlanText(const Editor& ed, const PortProposal& p, int k);

// OK: asks before unsaved changes are lost, carries every file (`progress` may stop it;
// nothing changes then) and installs the result as a new, modified theme of the target map
// with its unfilled files absent. True when installed.
bool ApplyPort(Editor& ed, const PortProposal& p, const PortProgress& progress = {});

}  // namespace ssf
