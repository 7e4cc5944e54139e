#include "tools/filelists/FlmFile.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <system_error>

#include "platform/SystemErrorText.h"
#include "base/FileIO.h"
#include "base/SsfError.h"
#include "platform/PathText.h"

namespace ssf {

namespace {

constexpr char kSignature[4] = {'$', 'F', 'L', 'M'};

// Records the file holds by its size; a file shorter than the header holds none.
int64_t RecordsBySize(uint64_t size) {
  return size < kFlmHeaderSize ? 0 : static_cast<int64_t>((size - kFlmHeaderSize) / kFlmRecordSize);
}

FlmCheckResult Check(uint64_t size, ByteSpan header) {
  if (size < static_cast<uint64_t>(kFlmMinSize)) return {FlmCheckResult::kBadSize, 0};
  if (std::memcmp(header.data(), kSignature, sizeof kSignature) != 0) {
    return {FlmCheckResult::kBadSignature, 0};
  }
  int32_t n = ReadI32LE(header, 8);
  if (RecordsBySize(size) != n) return {FlmCheckResult::kBadRecords, n};
  if (n > kFileListCapacity) return {FlmCheckResult::kTooManyRecords, n};
  return {FlmCheckResult::kOk, n};
}

// A field's text: its bytes up to the first zero, or all of them.
std::string_view FieldText(ByteSpan field) {
  const char* p = reinterpret_cast<const char*>(field.data());
  const void* zero = std::memchr(p, 0, field.size());
  return std::string_view(p, zero ? static_cast<const char*>(zero) - p : field.size());
}

void PutField(Bytes& out, size_t offset, const std::string& text) {
  // The tables never hold a longer text; this guards the neighbouring field all the same.
  if (text.size() > kFlmFieldSize) throw SsfError("Текст длиннее " + std::to_string(kFlmFieldSize) + " байт: " + text);
  std::memcpy(out.data() + offset, text.data(), text.size());
}

}  // namespace

Bytes BuildFLM(const FileListTables& tables, const FileListProgress& progress) {
  const int32_t count = tables.FileListCount();
  Bytes out(kFlmHeaderSize + kFlmRecordSize * static_cast<size_t>(count), 0);
  std::memcpy(out.data(), kSignature, sizeof kSignature);
  WriteI32LE(out, 8, count);
  if (progress) progress(0, count);
  for (int32_t k = 0; k < count; ++k) {
    size_t record = kFlmHeaderSize + kFlmRecordSize * static_cast<size_t>(k);
    PutField(out, record, tables.FileListPaths()[static_cast<size_t>(k)]);
    PutField(out, record + kFlmFieldSize, tables.FileListNames()[static_cast<size_t>(k)]);
    if (progress) progress(k + 1, count);
  }
  return out;
}

void WriteFLM(const FileListTables& tables, const std::filesystem::path& file,
              const FileListProgress& progress) {
  WriteFileAtomic(file, BuildFLM(tables, progress));
}

FlmCheckResult CheckFLMBytes(ByteSpan data) {
  return Check(data.size(), data.first(std::min(data.size(), kFlmHeaderSize)));
}

FlmCheckResult CheckFLM(const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) return {FlmCheckResult::kBadSize, 0};
  uint64_t size = std::filesystem::file_size(file, ec);
  if (ec) throw SsfError("Не удалось прочитать файл: " + Utf8FromPath(file) + " (" + SystemErrorText(ec) + ")");
  if (size < static_cast<uint64_t>(kFlmMinSize)) return {FlmCheckResult::kBadSize, 0};
  uint8_t header[kFlmHeaderSize];
  Bytes head = ReadFileHead(file, sizeof header);
  if (head.size() != sizeof header) throw SsfError("Не удалось прочитать файл: " + Utf8FromPath(file));
  std::copy(head.begin(), head.end(), header);
  return Check(size, header);
}

std::string FlmCounterText(const FlmCheckResult& result) {
  switch (result.status) {
    case FlmCheckResult::kOk:
      return "Файл загружен.\r\nКол-во файлов: " + std::to_string(result.count);
    case FlmCheckResult::kBadSize:
      return "Некорректный FLM-файл!\r\nНекорректный размер файла.";
    case FlmCheckResult::kBadSignature:
      return "Некорректный FLM-файл!\r\nНекорректная сигнатура!";
    case FlmCheckResult::kBadRecords:
      return "Некорректный FLM-файл!\r\nЗапись файлов некорректна.";
    case FlmCheckResult::kTooManyRecords:
      return "Некорректный FLM-файл!\r\nБольше " + std::to_string(kFileListCapacity) + " файлов (" +
             std::to_string(result.count) + ").";
  }
  return {};
}

std::string BuildFLC(ByteSpan flm, const FileListProgress& progress) {
  std::string out =
      ";;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;\r\n"
      ";; Created by Quillbay FileList Editor ;;;\r\n"
      ";;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;\r\n"
      "\r\n";
  const int64_t count = RecordsBySize(flm.size());
  if (progress) progress(0, count);
  for (int64_t k = 0; k < count; ++k) {
    ByteSpan record = flm.subspan(kFlmHeaderSize + kFlmRecordSize * static_cast<size_t>(k), kFlmRecordSize);
    out += "Path: ";
    out += FieldText(record.first(kFlmFieldSize));
    out += "\r\nName: ";
    out += FieldText(record.subspan(kFlmFieldSize));
    out += "\r\n";
    if (progress) progress(k + 1, count);
  }
  return out;
}

void WriteFLCFromFLM(const std::filesystem::path& flm, const std::filesystem::path& flc,
                     const FileListProgress& progress) {
  // The file may have changed since it was checked: never more than the largest list is read.
  const int64_t largest = static_cast<int64_t>(kFlmHeaderSize + kFlmRecordSize * kFileListCapacity + kFlmRecordSize - 1);
  Bytes data = ReadWholeFile(flm, largest);
  const FlmCheckResult check = CheckFLMBytes(data);
  if (!check.ok()) throw SsfError("Файл " + Utf8FromPath(flm) + ": " + FlmCounterText(check));
  WriteFileAtomic(flc, BuildFLC(data, progress));
}

}  // namespace ssf
