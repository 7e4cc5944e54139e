#pragma once
// The format readers behind OpenWorkbook. Each throws SsfError with the file's path and
// what went wrong.
#include <filesystem>
#include <memory>
#include <string>

#include "base/ByteIO.h"

#include "tools/workbook/Workbook.h"

namespace ssf {

std::unique_ptr<Workbook> OpenXlsWorkbook(const std::filesystem::path& path);
// The .xls reader over the file's bytes; `where` starts every error message.
std::unique_ptr<Workbook> ReadXlsWorkbook(ByteSpan file, const std::string& where);
std::unique_ptr<Workbook> OpenXlsxWorkbook(const std::filesystem::path& path);
std::unique_ptr<Workbook> OpenOdsWorkbook(const std::filesystem::path& path);

// Limits against hostile files: a scheme is a few hundred cells.
inline constexpr size_t kMaxWorkbookPartBytes = 64u << 20;  // one unpacked XML part
inline constexpr size_t kMaxWorkbookCells = 1000000;        // non-empty cells kept
inline constexpr int kMaxWorkbookRows = 1048576;
inline constexpr int kMaxWorkbookColumns = 16384;

}  // namespace ssf
