#pragma once
// "Экспорт ресурсов" and "Импорт ресурсов": the open theme as a resource package
// (theme/ResourcePackage.h) and back.
#include <filesystem>
#include <string>

#include "editor/Editor.h"
#include "theme/ResourcePackage.h"

namespace ssf {

// Replaces every theme file from the package. Refusals (other model, other count,
// missing files) are shown through the Ui and change no slot; returns false for them.
// Every file is read before any slot changes, so a file that cannot be read throws
// SsfError naming it and leaves the theme as it was.
bool ImportResourcePackage(Editor& ed, const std::filesystem::path& descriptor);

// The folder of the package's files, as the status bar names it after an export or import.
std::string PackageFolderText(const std::filesystem::path& descriptor);

// "Экспорт ресурсов".
void MM_Child_ExportResClick(Editor& ed);
// "Импорт ресурсов".
void MM_Child_ImportResClick(Editor& ed);

}  // namespace ssf
