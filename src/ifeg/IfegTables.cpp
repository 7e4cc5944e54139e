#include "ifeg/IfegTables.h"

#include <string>

#include "ifeg/Ifeg.h"
#include "base/SsfError.h"

extern const unsigned char kIFG16Table[];
extern const std::size_t kIFG16Table_size;
extern const unsigned char kIFG18Table[];
extern const std::size_t kIFG18Table_size;

namespace ssf {

namespace {

constexpr size_t kIfg16Size = 4096;
constexpr size_t kIfg18Size = 2048;
constexpr size_t kSecondTableStart = 2032;  // byte offset of the doubled table's entry 0

}  // namespace

std::optional<Bytes> LoadTableResource(std::string_view name) {
  if (name == "IFG16") return Bytes(kIFG16Table, kIFG16Table + kIFG16Table_size);
  if (name == "IFG18") return Bytes(kIFG18Table, kIFG18Table + kIFG18Table_size);
  return std::nullopt;
}

DeltaTable LoadDeltaTable(bool rgb666, bool doubled) {
  const char* name = rgb666 ? "IFG18" : "IFG16";
  std::optional<Bytes> block = LoadTableResource(name);
  size_t expected = rgb666 ? kIfg18Size : kIfg16Size;
  if (!block || block->size() != expected) {
    throw SsfError(std::string("Таблица IFEG ") + name + " повреждена в программе: " +
                   std::to_string(block ? block->size() : 0) + " байт вместо " +
                   std::to_string(expected));
  }
  size_t start = (!rgb666 && doubled) ? kSecondTableStart : 0;
  DeltaTable table{};
  for (size_t i = 0; i < table.size(); ++i) table[i] = ReadI32LE(*block, start + i * 4);
  return table;
}

}  // namespace ssf
