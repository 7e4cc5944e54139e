#pragma once
// Small helpers shared by the core tests: a temporary folder that is removed afterwards,
// and whole-file read/write shortcuts.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace ssf::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);
void WriteText(const std::filesystem::path& path, const std::string& text);
std::vector<uint8_t> ReadFile(const std::filesystem::path& path);
std::string ReadText(const std::filesystem::path& path);

// Runs ssftool's Run() with the given arguments and collects its output.
struct CliResult {
  int code;
  std::string out;
  std::string err;
};
CliResult RunCli(const std::vector<std::string>& args);

}  // namespace ssf::test
