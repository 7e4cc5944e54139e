#pragma once
// Read-only access to the parts of a zip archive (the container of .xlsx and .ods files),
// with a size limit on every unpacked part.
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "tools/workbook/LibZip.h"

namespace ssf {

class ZipArchive {
 public:
  // Throws SsfError("Не удалось прочитать книгу: <path> (<reason>)") when the file is
  // not a readable zip archive.
  explicit ZipArchive(const std::filesystem::path& path);

  bool Has(const std::string& name) const;
  // The unpacked part, or nullopt when the archive has no such part. Throws SsfError for
  // a damaged part or one larger than `limit` bytes.
  std::optional<std::string> Read(const std::string& name, size_t limit) const;

 private:
  struct Closer {
    const LibZip* lib;
    void operator()(zip_t* z) const { lib->zip_discard(z); }
  };
  std::filesystem::path path_;
  const LibZip& lib_;
  std::unique_ptr<zip_t, Closer> zip_;
};

}  // namespace ssf
