#pragma once
// Qt's texts and the system's paths: through UTF-8 and the platform's one crossing, since
// std::filesystem::path(std::string) reads the ANSI code page on Windows and loses Cyrillic names.
#include <QString>
#include <filesystem>

#include "platform/PathText.h"

namespace ssf {

inline std::filesystem::path PathFromQString(const QString& text) { return PathFromUtf8(text.toStdString()); }
inline QString QStringFromPath(const std::filesystem::path& path) { return QString::fromStdString(Utf8FromPath(path)); }

}  // namespace ssf
