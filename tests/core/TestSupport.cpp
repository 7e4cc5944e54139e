#include "TestSupport.h"

#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#include "cli/Cli.h"

namespace ssf::test {

// A fresh folder of a random name, the owner's alone (as mkdtemp makes it, on every system).
TempDir::TempDir() {
  namespace fs = std::filesystem;
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    char name[32];
    std::snprintf(name, sizeof name, "ssf-test-%08x", static_cast<unsigned>(random()));
    const fs::path candidate = fs::temp_directory_path() / name;
    if (fs::create_directory(candidate)) {
      fs::permissions(candidate, fs::perms::owner_all, fs::perm_options::replace);
      path_ = candidate;
      return;
    }
  }
  throw std::runtime_error("no fresh temporary folder");
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(path_, ec);
}

void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

void WriteText(const std::filesystem::path& path, const std::string& text) {
  WriteFile(path, std::vector<uint8_t>(text.begin(), text.end()));
}

std::vector<uint8_t> ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::string ReadText(const std::filesystem::path& path) {
  auto b = ReadFile(path);
  return std::string(b.begin(), b.end());
}

CliResult RunCli(const std::vector<std::string>& args) {
  cli::StringTextOut out, err;
  int code = cli::Run(args, out, err);
  return {code, out.str(), err.str()};
}

}  // namespace ssf::test
