#pragma once
// Edits of the default-application line in a desktop's "mimeapps.list". Each function
// changes only the one line it is about; every other line, comment and section of the
// text stays byte for byte as it was.
#include <optional>
#include <string>
#include <string_view>

namespace ssf {

inline constexpr char kDefaultApplicationsSection[] = "Default Applications";

// The first desktop file id the [Default Applications] line names for `mime_type`.
std::optional<std::string> DefaultApplication(std::string_view text, std::string_view mime_type);

// Puts `desktop_id` first in the line's list, keeping the applications already named
// after it so they become the default again once this one is removed. Adds the line,
// and the section, when missing.
std::string SetDefaultApplication(std::string_view text, std::string_view mime_type,
                                  std::string_view desktop_id);

// Takes `desktop_id` out of the line; drops the line when nothing is left in it and the
// section when it holds no other line.
std::string RemoveDefaultApplication(std::string_view text, std::string_view mime_type,
                                     std::string_view desktop_id);

}  // namespace ssf
