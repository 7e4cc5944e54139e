#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "FuzzTargets.h"
#include "base/SsfError.h"
#include "tools/colours/ColorsCopy.h"
#include "tools/workbook/Workbook.h"

namespace ssf::fuzz {

// The readers take a path, as the tool gives them, so each input goes through a scratch
// file of this process.
void FuzzWorkbook(std::span<const uint8_t> data) {
  static const std::filesystem::path scratch =
      std::filesystem::temp_directory_path() / ("ssf-fuzz-workbook-" + std::to_string(::getpid()));
  {
    std::ofstream out(scratch, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  }
  try {
    auto book = OpenWorkbook(scratch);
    (void)CheckColorScheme(*book);
    for (int row = 1; row <= 40; ++row) {
      for (int column = 1; column <= 4; ++column) (void)GetColorOffset(book->Cell(row, column));
    }
  } catch (const SsfError&) {
  }
  std::error_code ec;
  std::filesystem::remove(scratch, ec);
}

}  // namespace ssf::fuzz
