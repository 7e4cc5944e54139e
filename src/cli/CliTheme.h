#pragma once
// What the theme-editing commands share: an editor without a window, opening a theme as
// the editor does, and printing the editor's messages.
#include <filesystem>
#include <string>

#include "cli/Cli.h"
#include "cli/CliUi.h"
#include "editor/Editor.h"

namespace ssf::cli {

// An editor on the tool's map folder; the tool keeps no settings.
struct CliEditor {
  CliUi ui;
  IniDocument settings;
  Editor ed;
  explicit CliEditor(const Context& ctx) : ed{ui, settings, ctx.maps_dir, {}, {}} {}

  // Prints the messages shown so far on the error stream and forgets them.
  void PrintMessages(Context& ctx);
};

// Makes imports fit pictures of another size as the options say.
void ApplyFitOptions(CliEditor& cli, const FitOptions& fit);

// Opens a theme as "Открыть тему" does. False (reasons printed) when the editor refused it.
bool OpenTheme(Context& ctx, CliEditor& cli, const std::filesystem::path& file);

// A theme file index given on the command line, 0 .. count - 1.
int ParseFileIndex(const std::string& text, int count);

// Saves to `target`; false (the refusal printed) when the theme cannot be saved yet.
bool SaveTheme(Context& ctx, CliEditor& cli, const std::filesystem::path& target);

}  // namespace ssf::cli
