#pragma once
// The header edits (author, name, version) write UTF-8 into fixed container fields.
// Whatever the user does to an edit, its text must keep fitting its field.
#include <cstddef>
#include <string>

namespace ssf {

struct HeaderField {
  size_t offset;     // of the field in the container
  size_t max_bytes;  // UTF-8 bytes of text; the field holds one more, a zero
  size_t max_chars;  // the edit's maximum length in characters
  size_t read_size;  // bytes read back (the version is read with the byte after its field)
};

inline constexpr HeaderField kAuthorField{32, 51, 52, 52};
inline constexpr HeaderField kNameField{85, 51, 52, 52};
inline constexpr HeaderField kVersionField{140, 4, 5, 6};

// What an edit keeps when its text goes from `before` to `after` (both UTF-8): `after`
// when it fits in `max_bytes`; otherwise the part that was inserted is cut on a
// character boundary until it fits, so a key pressed at the limit changes nothing and
// a long paste keeps its beginning.
std::string CapEditText(const std::string& before, const std::string& after, size_t max_bytes);

}  // namespace ssf
