#pragma once
// Streams of a compound file (the container of .xls workbooks): a file of fixed-size
// sectors chained through an allocation table, with a directory of named streams and a
// mini stream for the small ones. Only reading, and only what a workbook needs: one
// stream found by its name.
#include <optional>
#include <string>
#include <string_view>

#include "base/ByteIO.h"

namespace ssf {

// The stream named `name` (ASCII, compared without case) anywhere in the directory, or
// nothing when there is none. Throws SsfError("<what> (<reason>)") for a damaged file:
// sectors outside the file, looping or short chains, a directory that does not parse.
std::optional<Bytes> ReadCompoundFileStream(ByteSpan file, std::string_view name, const std::string& what);

}  // namespace ssf
