#pragma once
// What the theme-editing commands share: opening and saving theme values as the editor
// does, and printing why something was refused.
#include <filesystem>
#include <optional>
#include <string>

#include "cli/Cli.h"
#include "theme/Refusal.h"
#include "theme/ThemeFile.h"
#include "theme/ThemeFileConversion.h"

namespace ssf::cli {

// Prints a refusal's text on the error stream, line breaks as the terminal has them.
void PrintRefusal(Context& ctx, const Refusal& refusal);

// Opens a theme as "Открыть тему" does; nothing (the reason printed) when it is refused.
// A file that cannot be read or is cut short throws, and Run prints it.
// `refusal_text` (when given) gets the reason's text.
std::optional<OpenedTheme> OpenTheme(Context& ctx, const std::filesystem::path& file,
                                     std::string* refusal_text = nullptr);

// How imports of the command line convert: pictures of another size fitted as the options
// say (else refused), IFEG lossless.
ImportOptions ImportOptionsFor(const FitOptions& fit);

// A theme file index given on the command line, 0 .. count - 1.
int ParseFileIndex(const std::string& text, int count);

// A resource package named on the command line must exist: without its descriptor the
// package would only be refused as one of another theme type. Throws SsfError.
void RequirePackageFile(const std::filesystem::path& descriptor);

// Saves to `target` atomically; false (the refusal printed) while theme files are missing.
// A theme that could not be opened again is not saved (SsfError). A command that changes a
// theme in place holds LockFileForUpdate on it from before the open until after the save.
bool SaveTheme(Context& ctx, const OpenedTheme& t, const std::filesystem::path& target);

}  // namespace ssf::cli
