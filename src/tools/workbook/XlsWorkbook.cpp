// .xls workbooks: a BIFF8 record stream named "Workbook" inside a compound file.
//
// Our own reader rather than a library: libfreexl gives no formula results and wrote
// outside a stack buffer on crafted files, and libgsf would bring GLib for the one thing
// we need from it, finding a stream. The compound file reader (CompoundFile.cpp) and the
// records below read every length through ByteIO, so damage is an SsfError.
//
// What is read: the first worksheet's name (BOUNDSHEET), the shared strings (SST and its
// CONTINUE records), and the first worksheet's cell records: LABELSST, LABEL, RSTRING,
// NUMBER, RK, MULRK, BOOLERR and FORMULA with its cached result (a text result in the
// STRING record that follows).
#include <cstring>
#include <vector>

#include "base/Cp1251.h"
#include "platform/SystemErrorText.h"
#include "base/FileIO.h"
#include "tools/workbook/CompoundFile.h"
#include "tools/workbook/TextBudget.h"
#include "tools/workbook/WorkbookReaders.h"
#include "platform/PathText.h"

namespace ssf {

namespace {

constexpr uint16_t kBof = 0x0809;
constexpr uint16_t kEof = 0x000A;
constexpr uint16_t kFilePass = 0x002F;
constexpr uint16_t kBoundSheet = 0x0085;
constexpr uint16_t kSst = 0x00FC;
constexpr uint16_t kContinue = 0x003C;
constexpr uint16_t kLabelSst = 0x00FD;
constexpr uint16_t kLabel = 0x0204;
constexpr uint16_t kRString = 0x00D6;
constexpr uint16_t kNumber = 0x0203;
constexpr uint16_t kRk = 0x027E;
constexpr uint16_t kMulRk = 0x00BD;
constexpr uint16_t kBoolErr = 0x0205;
constexpr uint16_t kFormula = 0x0006;
constexpr uint16_t kString = 0x0207;
constexpr uint16_t kShrFmla = 0x04BC;
constexpr uint16_t kArray = 0x0221;
constexpr uint16_t kTable = 0x0236;
constexpr uint16_t kBiff8 = 0x0600;
constexpr uint16_t kWorksheetBof = 0x0010;

struct Record {
  uint16_t id = 0;
  ByteSpan data;
  size_t offset = 0;
};

class RecordReader {
 public:
  explicit RecordReader(ByteSpan stream, size_t at = 0) : in_(stream, "запись книги") { in_.Seek(at); }
  bool Next(Record& r) {
    if (in_.Remaining() < 4) return false;
    r.offset = in_.Position();
    r.id = in_.U16LE();
    uint16_t len = in_.U16LE();
    r.data = in_.Take(len);
    return true;
  }
  // The record after the current one, without moving on.
  bool Peek(Record& r) {
    size_t at = in_.Position();
    bool ok = Next(r);
    in_.Seek(at);
    return ok;
  }

 private:
  ByteReader in_;
};

std::string Utf16ToUtf8(const std::vector<uint16_t>& units) {
  std::string out;
  for (size_t i = 0; i < units.size(); ++i) {
    uint32_t c = units[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;  // a lone surrogate
    }
    AppendUtf8(out, c);
  }
  return out;
}

// A record's data and the CONTINUE records after it, read as one. A string's characters
// may break at a record boundary; the next part then starts with a new flags byte that
// says whether the rest is one or two bytes per character.
class ContinuedReader {
 public:
  void Add(ByteSpan part) { parts_.push_back(part); }

  uint8_t U8() {
    Settle();
    return parts_[part_][at_++];
  }
  uint16_t U16() {
    uint16_t lo = U8();
    return static_cast<uint16_t>(lo | (U8() << 8));
  }
  uint32_t U32() {
    uint32_t lo = U16();
    return lo | (uint32_t{U16()} << 16);
  }
  void Skip(uint64_t n) {
    while (n > 0) {
      Settle();
      size_t step = static_cast<size_t>(std::min<uint64_t>(n, parts_[part_].size() - at_));
      at_ += step;
      n -= step;
    }
  }
  bool AtEnd() {
    while (part_ < parts_.size() && at_ == parts_[part_].size()) {
      ++part_;
      at_ = 0;
    }
    return part_ >= parts_.size();
  }

  // An XLUnicodeRichExtendedString (SST items; `rich` false for the plain form of LABEL
  // and STRING records). `flags_at_breaks` false reads characters on over a record
  // boundary without a new flags byte, as Gnumeric continues a STRING record.
  std::string UnicodeString(bool rich, bool flags_at_breaks = true) {
    uint16_t count = U16();
    uint8_t flags = U8();
    uint16_t runs = 0;
    uint32_t ext = 0;
    if (rich && (flags & 0x08) != 0) runs = U16();
    if (rich && (flags & 0x04) != 0) ext = U32();
    std::vector<uint16_t> units;
    units.reserve(count);
    bool wide = (flags & 0x01) != 0;
    while (units.size() < count) {
      if (at_ == Current().size() && flags_at_breaks) {
        NextPart();
        wide = (U8() & 0x01) != 0;
        continue;
      }
      units.push_back(wide ? U16() : U8());
    }
    Skip(uint64_t{runs} * 4 + ext);
    return Utf16ToUtf8(units);
  }

 private:
  ByteSpan Current() {
    if (part_ >= parts_.size()) throw SsfError("запись книги обрывается");
    return parts_[part_];
  }
  void NextPart() {
    ++part_;
    at_ = 0;
    Current();
  }
  // Moves past an exhausted part, so the next byte is readable.
  void Settle() {
    while (at_ == Current().size()) NextPart();
  }

  std::vector<ByteSpan> parts_;
  size_t part_ = 0, at_ = 0;
};

// The text of a STRING record (a formula's text result) and its CONTINUE records.
// LibreOffice starts each continuation with a flags byte, Gnumeric does not: the reading
// that uses up the record exactly is taken, and a record too short for either is refused.
std::string StringRecordText(const ContinuedReader& record) {
  ContinuedReader with_flags = record;
  try {
    std::string text = with_flags.UnicodeString(false);
    if (with_flags.AtEnd()) return text;
  } catch (const SsfError&) {
  }
  ContinuedReader without = record;
  return without.UnicodeString(false, false);
}

ContinuedReader WithContinues(const Record& r, RecordReader& records) {
  ContinuedReader reader;
  reader.Add(r.data);
  Record next;
  while (records.Peek(next) && next.id == kContinue) {
    records.Next(next);
    reader.Add(next.data);
  }
  return reader;
}

double RkValue(uint32_t rk) {
  double value = 0;
  if ((rk & 0x02) != 0) {
    value = static_cast<double>(static_cast<int32_t>(rk) >> 2);
  } else {
    uint64_t bits = uint64_t{rk & 0xFFFFFFFCu} << 32;
    std::memcpy(&value, &bits, sizeof value);
  }
  return (rk & 0x01) != 0 ? value / 100 : value;
}

double DoubleAt(ByteSpan data, size_t offset) {
  uint64_t bits = ReadU32LE(data, offset) | (uint64_t{ReadU32LE(data, offset + 4)} << 32);
  double value = 0;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

std::string ErrorText(uint8_t code) {
  switch (code) {
    case 0x00: return "#NULL!";
    case 0x07: return "#DIV/0!";
    case 0x0F: return "#VALUE!";
    case 0x17: return "#REF!";
    case 0x1D: return "#NAME?";
    case 0x24: return "#NUM!";
    case 0x2A: return "#N/A";
    default: return "#ERROR";
  }
}

std::string BoolText(uint8_t value) { return value != 0 ? "TRUE" : "FALSE"; }

class XlsReader {
 public:
  XlsReader(ByteSpan stream, std::string where)
      : stream_(stream), where_(std::move(where)), budget_(where_), shared_budget_(where_ + " (общие строки)") {}

  std::unique_ptr<MemoryWorkbook> Read() {
    size_t sheet_at = ReadGlobals();
    ReadSheet(sheet_at);
    return std::move(book_);
  }

 private:
  [[noreturn]] void Fail(const std::string& reason) const { throw SsfError(where_ + " (" + reason + ")"); }

  void ExpectBof(RecordReader& records, uint16_t type, const char* what) {
    Record r;
    if (!records.Next(r) || r.id != kBof || r.data.size() < 4) Fail(std::string("нет начала ") + what);
    if (ReadU16LE(r.data, 0) != kBiff8) Fail("не формат Excel 97–2003 (BIFF8)");
    if (ReadU16LE(r.data, 2) != type) Fail(std::string("нет начала ") + what);
  }

  // The workbook globals: shared strings and the first worksheet. Returns where the
  // worksheet's records start.
  size_t ReadGlobals() {
    RecordReader records(stream_);
    ExpectBof(records, 0x0005, "книги");
    std::optional<size_t> sheet_at;
    Record r;
    while (records.Next(r) && r.id != kEof) {
      if (r.id == kFilePass) Fail("книга защищена паролем");
      if (r.id == kBoundSheet && !sheet_at) {
        ContinuedReader in;
        in.Add(r.data);
        uint32_t at = in.U32();
        in.U8();  // visibility
        uint8_t kind = in.U8();
        if (kind != 0) continue;  // a chart or macro sheet is not a worksheet
        uint8_t count = in.U8();
        // The name's count is one byte here, the rest as in other strings.
        ContinuedReader name;
        Bytes head = {count, 0};
        name.Add(head);
        name.Add(r.data.subspan(7));
        book_->SetSheetName(name.UnicodeString(false));
        sheet_at = at;
      } else if (r.id == kSst) {
        ContinuedReader in = WithContinues(r, records);
        in.U32();  // total references
        uint32_t unique = in.U32();
        // The count comes from the file; each string takes at least three bytes.
        for (uint32_t i = 0; i < unique && !in.AtEnd(); ++i) {
          std::string text = in.UnicodeString(true);
          // Held once, so charged once, each with what holding it costs: a count of
          // millions of empty strings is refused, not kept.
          shared_budget_.ChargeHeld(text.size());
          shared_.push_back(std::move(text));
        }
      }
    }
    if (!sheet_at) Fail("в книге нет листов");
    if (*sheet_at >= stream_.size()) Fail("лист вне потока книги");
    return *sheet_at;
  }

  void ReadSheet(size_t at) {
    RecordReader records(stream_, at);
    ExpectBof(records, kWorksheetBof, "листа");
    Record r;
    while (records.Next(r) && r.id != kEof) {
      switch (r.id) {
        case kLabelSst: {
          uint32_t index = ReadU32LE(r.data, 6);
          if (index >= shared_.size()) Fail("нет общей строки номер " + std::to_string(index));
          Put(r.data, shared_[index]);
          break;
        }
        case kLabel:
        case kRString: {
          ContinuedReader in;
          in.Add(r.data.subspan(std::min<size_t>(6, r.data.size())));
          Put(r.data, in.UnicodeString(false));
          break;
        }
        case kNumber: Put(r.data, NumberCellText(DoubleAt(r.data, 6))); break;
        case kRk: Put(r.data, NumberCellText(RkValue(ReadU32LE(r.data, 6)))); break;
        case kMulRk: {
          if (r.data.size() < 6) Fail("запись MULRK обрезана");
          uint16_t row = ReadU16LE(r.data, 0);
          uint16_t first = ReadU16LE(r.data, 2);
          size_t count = (r.data.size() - 6) / 6;
          for (size_t i = 0; i < count; ++i) {
            PutAt(row, first + i, NumberCellText(RkValue(ReadU32LE(r.data, 4 + i * 6 + 2))));
          }
          break;
        }
        case kBoolErr: {
          CheckRange(r.data.size(), 0, 8, "запись BOOLERR");
          Put(r.data, r.data[7] != 0 ? ErrorText(r.data[6]) : BoolText(r.data[6]));
          break;
        }
        case kFormula: Formula(r, records); break;
        default: break;
      }
    }
  }

  // The cached result sits in bytes 6..13: a number, or a type byte with 0xFFFF in the
  // top two bytes. A text result follows in a STRING record (after an optional shared
  // formula, array or table record). A text result without a STRING record cannot be told
  // from a formula that a library wrote without computing it (LibreOffice writes its =""
  // so), so it counts as the latter.
  void Formula(const Record& r, RecordReader& records) {
    CheckRange(r.data.size(), 0, 14, "запись FORMULA");
    uint16_t row = ReadU16LE(r.data, 0);
    uint16_t column = ReadU16LE(r.data, 2);
    if (ReadU16LE(r.data, 12) != 0xFFFF) {
      PutAt(row, column, NumberCellText(DoubleAt(r.data, 6)));
      return;
    }
    switch (r.data[6]) {
      case 0: {
        Record next;
        while (records.Peek(next) && (next.id == kShrFmla || next.id == kArray || next.id == kTable)) {
          records.Next(next);
        }
        if (records.Peek(next) && next.id == kString) {
          // A STRING record only follows a computed result, so an empty one is a
          // computed empty text (Gnumeric's =""), not a missing result.
          records.Next(next);
          PutAt(row, column, StringRecordText(WithContinues(next, records)));
          return;
        }
        break;
      }
      case 1: PutAt(row, column, BoolText(r.data[8])); return;
      case 2: PutAt(row, column, ErrorText(r.data[8])); return;
      default: break;
    }
    if (column < 256) {
      CountCell();
      book_->SetUncomputedFormula(row + 1, column + 1);
    }
  }

  void Put(ByteSpan cell, std::string text) {
    CheckRange(cell.size(), 0, 4, "запись ячейки");
    PutAt(ReadU16LE(cell, 0), ReadU16LE(cell, 2), std::move(text));
  }

  // Every cell's text enters the workbook here.
  void PutAt(size_t row, size_t column, std::string text) {
    if (text.empty() || row >= 65536 || column >= 256) return;
    CountCell();
    // Shared strings are copied into every cell that uses them.
    budget_.Charge(text.size());
    book_->SetCell(static_cast<int>(row + 1), static_cast<int>(column + 1), std::move(text));
  }

  void CountCell() {
    if (book_->CellCount() >= kMaxWorkbookCells) Fail("слишком много ячеек");
  }

  ByteSpan stream_;
  std::string where_;
  std::vector<std::string> shared_;
  std::unique_ptr<MemoryWorkbook> book_ = std::make_unique<MemoryWorkbook>();
  TextBudget budget_;
  TextBudget shared_budget_;
};

}  // namespace

std::unique_ptr<Workbook> ReadXlsWorkbook(ByteSpan file, const std::string& where) {
  std::optional<Bytes> stream = ReadCompoundFileStream(file, "Workbook", where);
  if (!stream) {
    if (ReadCompoundFileStream(file, "Book", where)) {
      throw SsfError(where + " (формат Excel 5/95 не поддерживается, сохраните книгу как Excel 97–2003)");
    }
    throw SsfError(where + " (в файле нет книги)");
  }
  try {
    return XlsReader(*stream, where).Read();
  } catch (const SsfError& e) {
    if (std::string(e.what()).rfind(where, 0) == 0) throw;
    throw SsfError(where + " (" + e.what() + ")");
  }
}

std::unique_ptr<Workbook> OpenXlsWorkbook(const std::filesystem::path& path) {
  const std::string where = "Не удалось прочитать книгу: " + Utf8FromPath(path);
  std::error_code ec;
  auto size = std::filesystem::file_size(path, ec);
  if (ec) throw SsfError(where + " (" + SystemErrorText(ec) + ")");
  if (size > kMaxWorkbookPartBytes) throw SsfError(where + " (файл слишком велик)");
  return ReadXlsWorkbook(ReadWholeFile(path, static_cast<int64_t>(kMaxWorkbookPartBytes)), where);
}

}  // namespace ssf
