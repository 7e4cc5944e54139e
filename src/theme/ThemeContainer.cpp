#include "theme/ThemeContainer.h"

#include <algorithm>

namespace ssf {

std::string ReadTextField(ByteSpan data, size_t offset, size_t size) {
  CheckRange(data.size(), offset, size, "поле заголовка темы");
  ByteSpan field = data.subspan(offset, size);
  auto end = std::find(field.begin(), field.end(), uint8_t{0});
  return std::string(field.begin(), end);
}

}  // namespace ssf
