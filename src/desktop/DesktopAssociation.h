#pragma once
// The ".ssf" association as a Linux desktop keeps it (freedesktop.org shared MIME info,
// desktop entries, mimeapps.list), for the current user only:
//   $XDG_DATA_HOME/mime/packages/quillbay-ssf-manager.xml          the MIME type for *.ssf
//   $XDG_DATA_HOME/applications/quillbay-ssf-manager.desktop      how to start this program
//   $XDG_DATA_HOME/icons/hicolor/scalable/apps/quillbay-ssf-manager.svg   its icon
//   $XDG_CONFIG_HOME/mimeapps.list, [Default Applications]         this program as the default
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "desktop/SsfAssociation.h"

namespace ssf {

inline constexpr char kSsfMimeType[] = "application/x-quillbay-theme";
inline constexpr char kDesktopId[] = "quillbay-ssf-manager.desktop";

struct DesktopFolders {
  std::filesystem::path data_home;    // $XDG_DATA_HOME, by default ~/.local/share
  std::filesystem::path config_home;  // $XDG_CONFIG_HOME, by default ~/.config
};

// The folders from the environment; a variable that is unset, empty or not an absolute
// path counts as unset.
DesktopFolders DesktopFoldersFromEnvironment();

// The Exec= value of the desktop entry: the program quoted when it needs to be, then %f.
std::string DesktopExecLine(const std::filesystem::path& program);

// The files' contents as this program writes them.
std::string DesktopEntryText(const std::filesystem::path& program);
std::string MimeTypeXmlText();
std::string AppIconSvgText();

class DesktopAssociation : public SsfAssociation {
 public:
  // Runs a desktop tool such as update-mime-database; by default RunToolIfInstalled.
  using ToolRunner = std::function<void(const std::vector<std::string>& argv)>;

  // `program` is the full path of the executable the desktop is to start.
  DesktopAssociation(DesktopFolders folders, std::filesystem::path program, ToolRunner run_tool = {});

  // For the running program and the user's folders.
  static std::unique_ptr<DesktopAssociation> ForThisProgram();

  // Present when our MIME type and desktop entry are there and mimeapps.list names the
  // entry first for the type.
  bool IsPresent() const override;
  // False, with nothing written, when a folder for the files cannot be written.
  bool Register() override;
  // Removes our files and our name from the default line. False, with nothing removed,
  // when a folder holding them cannot be written.
  bool Unregister() override;

  std::filesystem::path MimeTypeFile() const;
  std::filesystem::path DesktopEntryFile() const;
  std::filesystem::path IconFile() const;
  std::filesystem::path MimeAppsFile() const;

 private:
  void UpdateDesktopCaches() const;

  DesktopFolders folders_;
  std::filesystem::path program_;
  ToolRunner run_tool_;
};

}  // namespace ssf
