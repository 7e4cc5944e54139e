#include "desktop/DesktopAssociation.h"

#include <string_view>
#include <system_error>

#include "platform/Environment.h"
#include "platform/ExternalTool.h"
#include "platform/PathText.h"
#include "platform/SystemErrorText.h"
#include "base/FileIO.h"
#include "desktop/MimeAppsList.h"
#include "platform/ProgramFolder.h"
#include "base/SsfError.h"

// The installed files, compiled in so that a program run from anywhere writes the same.
extern const unsigned char kDesktopEntryFile[];
extern const std::size_t kDesktopEntryFile_size;
extern const unsigned char kMimeTypeXmlFile[];
extern const std::size_t kMimeTypeXmlFile_size;
extern const unsigned char kAppIconSvgFile[];
extern const std::size_t kAppIconSvgFile_size;

namespace ssf {

namespace fs = std::filesystem;

namespace {

constexpr char kFileBase[] = "quillbay-ssf-manager";

std::string Embedded(const unsigned char* data, std::size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

// An absolute path from the environment, or empty.
fs::path AbsoluteFromEnv(const char* name) {
  const std::optional<std::string> value = EnvironmentValue(name);
  if (!value || value->empty() || value->front() != '/') return {};
  return PathFromUtf8(*value);
}

// Whether files can be created in `dir`, once the missing part of it is created. Checked
// before anything is written, so a refusal leaves no trace.
bool CanWriteInto(const fs::path& dir) {
  std::error_code ec;
  fs::path existing = dir;
  while (!fs::exists(fs::symlink_status(existing, ec))) {
    if (!existing.has_relative_path()) return false;
    existing = existing.parent_path();
  }
  return fs::is_directory(existing, ec) && CanCreateFilesIn(existing);
}

void CreateFolder(const fs::path& dir) {
  std::error_code ec;
  fs::create_directories(dir, ec);
  if (ec) throw SsfError("Не удалось создать папку: " + Utf8FromPath(dir) + " (" + SystemErrorText(ec) + ")");
}

void RemoveFile(const fs::path& file) {
  std::error_code ec;
  fs::remove(file, ec);
  if (ec) throw SsfError("Не удалось удалить файл: " + Utf8FromPath(file) + " (" + SystemErrorText(ec) + ")");
}

bool Exists(const fs::path& file) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(file, ec));
}

// mimeapps.list is often a link into a dotfiles folder: edit the file it points to
// instead of replacing the link.
fs::path EditTarget(const fs::path& file) {
  std::error_code ec;
  if (!fs::is_symlink(file, ec)) return file;
  fs::path target = fs::weakly_canonical(file, ec);
  return ec ? file : target;
}

std::string ReadTextIfExists(const fs::path& file) {
  if (!Exists(file)) return {};
  Bytes bytes = ReadWholeFile(file);
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace

DesktopFolders DesktopFoldersFromEnvironment() {
  DesktopFolders f{AbsoluteFromEnv("XDG_DATA_HOME"), AbsoluteFromEnv("XDG_CONFIG_HOME")};
  if (f.data_home.empty()) f.data_home = HomeFolder() / ".local" / "share";
  if (f.config_home.empty()) f.config_home = HomeFolder() / ".config";
  return f;
}

std::string DesktopExecLine(const fs::path& program) {
  const std::string path = Utf8FromPath(program);
  // Characters that make the desktop's command-line rules need a quoted argument.
  const std::string_view reserved = " \t\n\"'\\><~|&;$*?#()`";
  std::string arg;
  if (path.find_first_of(reserved) == std::string::npos) {
    arg = path;
  } else {
    arg = "\"";
    for (char c : path) {
      if (c == '"' || c == '`' || c == '$' || c == '\\') arg += '\\';
      arg += c;
    }
    arg += "\"";
  }
  // '%' starts a field code; the value itself is a string in which '\' is an escape.
  std::string line;
  for (char c : arg) {
    if (c == '%') line += "%%";
    else if (c == '\\') line += "\\\\";
    else if (c == '\n') line += "\\n";
    else if (c == '\t') line += "\\t";
    else line += c;
  }
  return line + " %f";
}

std::string DesktopEntryText(const fs::path& program) {
  std::string text = Embedded(kDesktopEntryFile, kDesktopEntryFile_size);
  const std::string key = "\nExec=";
  size_t at = text.find(key);
  if (at == std::string::npos) return text;
  at += key.size();
  size_t end = text.find('\n', at);
  text.replace(at, end == std::string::npos ? std::string::npos : end - at, DesktopExecLine(program));
  return text;
}

std::string MimeTypeXmlText() { return Embedded(kMimeTypeXmlFile, kMimeTypeXmlFile_size); }
std::string AppIconSvgText() { return Embedded(kAppIconSvgFile, kAppIconSvgFile_size); }

DesktopAssociation::DesktopAssociation(DesktopFolders folders, fs::path program, ToolRunner run_tool)
    : folders_(std::move(folders)), program_(std::move(program)), run_tool_(std::move(run_tool)) {
  if (!run_tool_) {
    run_tool_ = [](const std::vector<std::string>& argv) { RunToolIfInstalled(argv); };
  }
}

std::unique_ptr<DesktopAssociation> DesktopAssociation::ForThisProgram() {
  return std::make_unique<DesktopAssociation>(DesktopFoldersFromEnvironment(), ExecutablePath());
}

fs::path DesktopAssociation::MimeTypeFile() const {
  return folders_.data_home / "mime" / "packages" / (std::string(kFileBase) + ".xml");
}
fs::path DesktopAssociation::DesktopEntryFile() const {
  return folders_.data_home / "applications" / kDesktopId;
}
fs::path DesktopAssociation::IconFile() const {
  return folders_.data_home / "icons" / "hicolor" / "scalable" / "apps" / (std::string(kFileBase) + ".svg");
}
fs::path DesktopAssociation::MimeAppsFile() const { return folders_.config_home / "mimeapps.list"; }

bool DesktopAssociation::IsPresent() const {
  if (!Exists(MimeTypeFile()) || !Exists(DesktopEntryFile())) return false;
  try {
    return DefaultApplication(ReadTextIfExists(MimeAppsFile()), kSsfMimeType) == kDesktopId;
  } catch (const SsfError&) {
    return false;
  }
}

bool DesktopAssociation::Register() {
  // A desktop entry starts programs by full path; without one there is nothing to register.
  if (!program_.is_absolute()) {
    throw SsfError("Не удалось определить путь к программе: \"" + Utf8FromPath(program_) + "\"");
  }
  const fs::path mimeapps = EditTarget(MimeAppsFile());
  const fs::path files[] = {MimeTypeFile(), IconFile(), DesktopEntryFile(), mimeapps};
  for (const fs::path& f : files) {
    if (!CanWriteInto(f.parent_path())) return false;
  }
  for (const fs::path& f : files) CreateFolder(f.parent_path());

  WriteFileAtomic(MimeTypeFile(), MimeTypeXmlText());
  WriteFileAtomic(IconFile(), AppIconSvgText());
  WriteFileAtomic(DesktopEntryFile(), DesktopEntryText(program_));
  WriteFileAtomic(mimeapps, SetDefaultApplication(ReadTextIfExists(mimeapps), kSsfMimeType, kDesktopId));
  UpdateDesktopCaches();
  return true;
}

bool DesktopAssociation::Unregister() {
  const fs::path mimeapps = EditTarget(MimeAppsFile());
  const std::string old_list = ReadTextIfExists(mimeapps);
  const std::string new_list = RemoveDefaultApplication(old_list, kSsfMimeType, kDesktopId);

  std::vector<fs::path> ours;
  for (const fs::path& f : {MimeTypeFile(), IconFile(), DesktopEntryFile()}) {
    if (Exists(f)) ours.push_back(f);
  }
  for (const fs::path& f : ours) {
    if (!CanWriteInto(f.parent_path())) return false;
  }
  if (new_list != old_list && !CanWriteInto(mimeapps.parent_path())) return false;

  if (new_list != old_list) {
    if (new_list.find_first_not_of(" \t\r\n") == std::string::npos) {
      RemoveFile(mimeapps);  // it held nothing but our line
    } else {
      WriteFileAtomic(mimeapps, new_list);
    }
  }
  for (const fs::path& f : ours) RemoveFile(f);
  UpdateDesktopCaches();
  return true;
}

void DesktopAssociation::UpdateDesktopCaches() const {
  run_tool_({"update-mime-database", Utf8FromPath(folders_.data_home / "mime")});
  run_tool_({"update-desktop-database", Utf8FromPath(folders_.data_home / "applications")});
}

}  // namespace ssf
