#include "tools/workbook/CompoundFile.h"

#include <algorithm>
#include <vector>

#include "base/SsfError.h"

namespace ssf {

namespace {

constexpr uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr uint32_t kMaxRegularSector = 0xFFFFFFFA;
constexpr size_t kHeaderSize = 512;
constexpr size_t kHeaderFatEntries = 109;
constexpr size_t kDirEntrySize = 128;
constexpr uint8_t kStreamEntry = 2;
constexpr uint8_t kRootEntry = 5;

class CompoundFile {
 public:
  CompoundFile(ByteSpan file, const std::string& what) : file_(file), what_(what) {
    if (file.size() < kHeaderSize) Fail("короче заголовка");
    static const uint8_t kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    if (!std::equal(kSignature, kSignature + 8, file.begin())) Fail("не составной файл");
    uint16_t shift = ReadU16LE(file, 30);
    uint16_t mini_shift = ReadU16LE(file, 32);
    if (shift != 9 && shift != 12) Fail("размер сектора 2^" + std::to_string(shift));
    if (mini_shift != 6) Fail("размер малого сектора 2^" + std::to_string(mini_shift));
    sector_size_ = size_t{1} << shift;
    // Sector n lies at (n + 1) * sector size; the header fills sector -1.
    sectors_ = file.size() <= sector_size_ ? 0 : (file.size() - sector_size_ + sector_size_ - 1) / sector_size_;
    mini_cutoff_ = ReadU32LE(file, 56);
    ReadFat();
  }

  // The bytes of a chain from `start`, cut to `size`.
  Bytes Chain(uint32_t start, uint64_t size, const char* what) const {
    return Follow(fat_, start, size, sector_size_, what,
                  [this](uint32_t s) { return SectorBytes(s); });
  }

  Bytes MiniChain(uint32_t start, uint64_t size, const Bytes& mini_stream, const std::vector<uint32_t>& mini_fat) const {
    constexpr size_t kMini = 64;
    return Follow(mini_fat, start, size, kMini, "малый поток", [&](uint32_t s) {
      size_t at = size_t{s} * kMini;
      if (at >= mini_stream.size()) Fail("малый сектор " + std::to_string(s) + " вне малого потока");
      return ByteSpan(mini_stream).subspan(at, std::min(kMini, mini_stream.size() - at));
    });
  }

  std::optional<Bytes> Find(std::string_view name) const {
    uint32_t dir_start = ReadU32LE(file_, 48);
    Bytes dir = Chain(dir_start, UINT64_MAX, "каталог");
    if (dir.size() < kDirEntrySize) Fail("пустой каталог");
    ByteSpan root(dir.data(), kDirEntrySize);
    if (root[66] != kRootEntry) Fail("нет корневой записи");
    for (size_t at = kDirEntrySize; at + kDirEntrySize <= dir.size(); at += kDirEntrySize) {
      ByteSpan entry(dir.data() + at, kDirEntrySize);
      if (entry[66] != kStreamEntry || !NameIs(entry, name)) continue;
      uint32_t start = ReadU32LE(entry, 116);
      uint64_t size = ReadU32LE(entry, 120) | (uint64_t{ReadU32LE(entry, 124)} << 32);
      // Version 3 files may leave garbage in the high half.
      if (sector_size_ == 512) size &= 0xFFFFFFFFu;
      if (size > file_.size()) Fail("поток длиннее файла");
      if (size >= mini_cutoff_) return Chain(start, size, "поток");
      uint64_t root_size = ReadU32LE(root, 120) | (uint64_t{ReadU32LE(root, 124)} << 32);
      if (sector_size_ == 512) root_size &= 0xFFFFFFFFu;
      if (root_size > file_.size()) Fail("малый поток длиннее файла");
      Bytes mini_stream = Chain(ReadU32LE(root, 116), root_size, "малый поток");
      Bytes mini_fat_bytes = Chain(ReadU32LE(file_, 60), UINT64_MAX, "таблица малых секторов");
      std::vector<uint32_t> mini_fat(mini_fat_bytes.size() / 4);
      for (size_t i = 0; i < mini_fat.size(); ++i) mini_fat[i] = ReadU32LE(mini_fat_bytes, i * 4);
      return MiniChain(start, size, mini_stream, mini_fat);
    }
    return std::nullopt;
  }

 private:
  [[noreturn]] void Fail(const std::string& reason) const { throw SsfError(what_ + " (" + reason + ")"); }

  ByteSpan SectorBytes(uint32_t s) const {
    if (s >= sectors_) Fail("сектор " + std::to_string(s) + " вне файла");
    size_t at = (size_t{s} + 1) * sector_size_;
    // The last sector may be cut short by a writer; what is missing does not exist.
    return file_.subspan(at, std::min(sector_size_, file_.size() - at));
  }

  // Follows a chain through `table`, each link at most once, until the end mark or until
  // `size` bytes are collected; a chain that ends short of `size` is damage. UINT64_MAX
  // takes the whole chain (directory, tables).
  template <typename SectorFn>
  Bytes Follow(const std::vector<uint32_t>& table, uint32_t start, uint64_t size, size_t unit, const char* what,
               SectorFn sector) const {
    Bytes out;
    std::vector<bool> seen(table.size(), false);
    uint32_t s = start;
    while (out.size() < size) {
      if (s == kEndOfChain) {
        if (size == UINT64_MAX) break;
        Fail(std::string(what) + ": цепочка короче длины");
      }
      if (s >= table.size()) Fail(std::string(what) + ": сектор " + std::to_string(s) + " вне таблицы");
      if (seen[s]) Fail(std::string(what) + ": цепочка секторов зациклена");
      seen[s] = true;
      ByteSpan bytes = sector(s);
      size_t take = size == UINT64_MAX ? bytes.size() : static_cast<size_t>(std::min<uint64_t>(bytes.size(), size - out.size()));
      if (take < unit && out.size() + take < size && size != UINT64_MAX) Fail(std::string(what) + ": сектор обрезан");
      out.insert(out.end(), bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(take));
      s = table[s];
    }
    return out;
  }

  void ReadFat() {
    const size_t per_sector = sector_size_ / 4;
    uint32_t fat_sectors = ReadU32LE(file_, 44);
    // Every table sector is a sector of the file, so their count cannot exceed that.
    if (fat_sectors > sectors_) Fail("таблица размещения больше файла");
    std::vector<uint32_t> list;
    for (size_t i = 0; i < kHeaderFatEntries && list.size() < fat_sectors; ++i) {
      list.push_back(ReadU32LE(file_, 76 + i * 4));
    }
    uint32_t difat = ReadU32LE(file_, 68);
    std::vector<bool> seen(sectors_, false);
    while (list.size() < fat_sectors) {
      if (difat > kMaxRegularSector || difat >= sectors_) Fail("цепочка таблицы размещения оборвана");
      if (seen[difat]) Fail("цепочка таблицы размещения зациклена");
      seen[difat] = true;
      ByteSpan d = SectorBytes(difat);
      if (d.size() < sector_size_) Fail("сектор таблицы размещения обрезан");
      for (size_t i = 0; i + 1 < per_sector && list.size() < fat_sectors; ++i) list.push_back(ReadU32LE(d, i * 4));
      difat = ReadU32LE(d, (per_sector - 1) * 4);
    }
    fat_.reserve(list.size() * per_sector);
    for (uint32_t s : list) {
      ByteSpan bytes = SectorBytes(s);
      for (size_t i = 0; i < per_sector; ++i) {
        fat_.push_back(i * 4 + 4 <= bytes.size() ? ReadU32LE(bytes, i * 4) : kEndOfChain);
      }
    }
  }

  // Directory names are UTF-16; the names looked for are ASCII.
  static bool NameIs(ByteSpan entry, std::string_view name) {
    uint16_t bytes = ReadU16LE(entry, 64);
    if (bytes != (name.size() + 1) * 2) return false;
    for (size_t i = 0; i < name.size(); ++i) {
      uint16_t c = ReadU16LE(entry, i * 2);
      auto lower = [](uint16_t x) { return x >= 'A' && x <= 'Z' ? static_cast<uint16_t>(x + 32) : x; };
      if (lower(c) != lower(static_cast<uint8_t>(name[i]))) return false;
    }
    return true;
  }

  ByteSpan file_;
  const std::string& what_;
  size_t sector_size_ = 512;
  size_t sectors_ = 0;
  uint32_t mini_cutoff_ = 4096;
  std::vector<uint32_t> fat_;
};

}  // namespace

std::optional<Bytes> ReadCompoundFileStream(ByteSpan file, std::string_view name, const std::string& what) {
  return CompoundFile(file, what).Find(name);
}

}  // namespace ssf
