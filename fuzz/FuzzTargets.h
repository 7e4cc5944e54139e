#pragma once
// The fuzz targets, by name. Each feeds arbitrary bytes to one reader of the core. An
// input the reader refuses with SsfError is fine; any other exception, a crash or a
// sanitizer report is a finding. The same functions replay tests/crashers/ in the tests.
#include <cstdint>
#include <span>
#include <string_view>

namespace ssf::fuzz {

using FuzzFn = void (*)(std::span<const uint8_t> data);

struct Target {
  const char* name;
  FuzzFn fn;
};

std::span<const Target> Targets();
const Target* FindTarget(std::string_view name);

// The target functions, one per reader (fuzz/targets/*.cpp).
void FuzzIni(std::span<const uint8_t> data);
void FuzzTagLines(std::span<const uint8_t> data);
void FuzzPictures(std::span<const uint8_t> data);
void FuzzWorkbook(std::span<const uint8_t> data);
void FuzzIfegDecode(std::span<const uint8_t> data);
void FuzzThemeMap(std::span<const uint8_t> data);
void FuzzContainer(std::span<const uint8_t> data);
void FuzzFileList(std::span<const uint8_t> data);
void FuzzConvert(std::span<const uint8_t> data);
void FuzzResourcePackage(std::span<const uint8_t> data);
void FuzzWindowPlacement(std::span<const uint8_t> data);
void FuzzScreenLayout(std::span<const uint8_t> data);

}  // namespace ssf::fuzz
