#include <gtest/gtest.h>

#include <cstring>

#include "TestSupport.h"
#include "base/SsfError.h"
#include "tools/filelists/FileListTables.h"
#include "tools/filelists/FlmFile.h"

namespace ssf {
namespace {

using test::ReadFile;
using test::ReadText;
using test::TempDir;
using test::WriteFile;
using test::WriteText;

const std::string kBanner =
    ";;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;\r\n"
    ";; Created by Quillbay FileList Editor ;;;\r\n"
    ";;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;\r\n"
    "\r\n";

// An FLM file with the given records and header count, plus `extra` trailing bytes.
Bytes MakeFlm(const std::vector<std::pair<std::string, std::string>>& records, int32_t header_count,
              size_t extra = 0) {
  Bytes out(16 + 96 * records.size() + extra, 0);
  std::memcpy(out.data(), "$FLM", 4);
  WriteI32LE(out, 8, header_count);
  for (size_t i = 0; i < records.size(); ++i) {
    std::memcpy(out.data() + 16 + 96 * i, records[i].first.data(), records[i].first.size());
    std::memcpy(out.data() + 16 + 96 * i + 48, records[i].second.data(), records[i].second.size());
  }
  return out;
}

Bytes MakeFlm(const std::vector<std::pair<std::string, std::string>>& records) {
  return MakeFlm(records, static_cast<int32_t>(records.size()));
}

std::string Repeat(char c, size_t n) { return std::string(n, c); }

TEST(FileList, TwoRecordsToEightLinesAndBack) {
  // Cyrillic in Windows-1251 bytes: "\xCF\xE0\xEF\xEA\xE0" is "Папка".
  const Bytes flm = MakeFlm({{"\\Other\\\xCF\xE0\xEF\xEA\xE0", "a.jpg"}, {"\\Sounds", "ring 1.mid"}});
  const std::string flc = BuildFLC(flm);
  EXPECT_EQ(flc, kBanner +
                     "Path: \\Other\\\xCF\xE0\xEF\xEA\xE0\r\nName: a.jpg\r\n"
                     "Path: \\Sounds\r\nName: ring 1.mid\r\n");

  FileListTables tables;
  ASSERT_TRUE(tables.ParseFLC(flc).ok());
  EXPECT_EQ(tables.FileListCount(), 2);
  EXPECT_EQ(FlcCounterText({}, tables.FileListCount()), "Файл-лист загружен.\r\nКол-во файлов: 2");
  EXPECT_EQ(BuildFLM(tables), flm);
}

TEST(FileList, CommentsOnlyGiveAnFlmTheCheckRefuses) {
  FileListTables tables;
  ASSERT_TRUE(tables.ParseFLC(kBanner + ";; nothing here\r\n").ok());
  EXPECT_EQ(tables.FileListCount(), 0);
  TempDir dir;
  WriteFLM(tables, dir / "empty.flm");
  const Bytes flm = ReadFile(dir / "empty.flm");
  EXPECT_EQ(flm, (Bytes{'$', 'F', 'L', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  FlmCheckResult check = CheckFLM(dir / "empty.flm");
  EXPECT_EQ(check.status, FlmCheckResult::kBadSize);
  EXPECT_EQ(FlmCounterText(check), "Некорректный FLM-файл!\r\nНекорректный размер файла.");
}

TEST(FileList, KeyAndValueOfALine) {
  struct Case {
    std::string line, key, value;
  };
  const Case cases[] = {
      {"  name:   photo 1.jpg", "NAME: ", "photo 1.jpg"},
      {"Path:/Other", "PATH:/", "/Other"},
      {"PATH: C:\\a:b  ", "PATH: ", "C:\\a:b  "},
      {"xx Path: c", "PATH: ", "c"},
      {"Notes: x", "NOTES:", "x"},  // the key alone decides whether the value counts
      {"nAmE: ", "NAME: ", ""},
      {"Name", "NAME", "ERROR"},
      {"abc: d", "", "d"},
      {std::string("x\0Path: c", 9), "", "ERROR"},  // a NUL ends the line
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadFLCKey(c.line), c.key) << c.line;
    EXPECT_EQ(ReadFLCValue(c.line), c.value) << c.line;
  }
}

TEST(FileList, WhichLinesMakeRecords) {
  struct Case {
    std::string text;
    std::vector<std::string> paths, names;
  };
  const Case cases[] = {
      {"  name:   photo 1.jpg\r\nPath: \\a\r\n", {"\\a"}, {"photo 1.jpg"}},
      {"Path:/x\r\nPath: y\r\nName: z\r\n", {"y"}, {"z"}},     // "Path:/" lacks the blank
      {";Path: x\r\n  ; Path: y\r\nName: z\r\n", {"y"}, {"z"}},  // a blank before ';' is no comment
      {"Name: n1\nName: n2\rPath: p1\r\nPath: p2", {"p1", "p2"}, {"n1", "n2"}},  // any line ends
      {"Path: \r\nName: ", {""}, {""}},
      {"", {}, {}},
  };
  for (const Case& c : cases) {
    FileListTables tables;
    ASSERT_TRUE(tables.ParseFLC(c.text).ok()) << c.text;
    EXPECT_EQ(tables.FileListPaths(), c.paths) << c.text;
    EXPECT_EQ(tables.FileListNames(), c.names) << c.text;
  }
}

TEST(FileList, RefusedFlcKeepsTheTables) {
  FileListTables tables;
  ASSERT_TRUE(tables.ParseFLC("Path: keep\r\nName: me\r\n").ok());

  std::string many;
  for (int i = 0; i < 501; ++i) many += "Path: p\r\nName: n\r\n";
  const std::string long_path = "Path: " + Repeat('p', 49) + "\r\nName: n\r\n";
  const std::string long_name = ";;;;;\r\nPath: p\r\nName: " + Repeat('n', 48) + " \r\n";

  struct Case {
    std::string text;
    FlcLoadResult::Status status;
    int line;
    std::string label;
  };
  const Case cases[] = {
      {"Path: a\r\nPath: b\r\nName: c\r\nPath: d\r\nName: e\r\n", FlcLoadResult::kUnpaired, 0,
       "Некорректный FLC-файл!"},
      {"Name: c\r\nPath: a\r\nPath: b\r\nPath: d\r\nName: e\r\n", FlcLoadResult::kUnpaired, 0,
       "Некорректный FLC-файл!"},
      {many, FlcLoadResult::kTooManyRecords, 1001, "Некорректный FLC-файл!\r\nСтрока 1001: больше 500 файлов."},
      {long_path, FlcLoadResult::kPathTooLong, 1, "Некорректный FLC-файл!\r\nСтрока 1: путь длиннее 48 байт."},
      {long_name, FlcLoadResult::kNameTooLong, 3, "Некорректный FLC-файл!\r\nСтрока 3: имя длиннее 48 байт."},
  };
  for (const Case& c : cases) {
    FlcLoadResult r = tables.ParseFLC(c.text);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.line, c.line);
    EXPECT_EQ(FlcCounterText(r, tables.FileListCount()), c.label);
    EXPECT_EQ(tables.FileListPaths(), std::vector<std::string>{"keep"});
    EXPECT_EQ(tables.FileListNames(), std::vector<std::string>{"me"});
  }
}

TEST(FileList, LimitsThemselvesAreAccepted) {
  std::string text;
  for (int i = 0; i < 500; ++i) text += "Path: " + Repeat('p', 48) + "\r\nName: " + Repeat('n', 48) + "\r\n";
  FileListTables tables;
  ASSERT_TRUE(tables.ParseFLC(text).ok());
  ASSERT_EQ(tables.FileListCount(), 500);

  // A 48-byte text fills its field with no terminator and does not touch the next one.
  const Bytes flm = BuildFLM(tables);
  ASSERT_EQ(flm.size(), 16u + 96u * 500u);
  EXPECT_EQ(flm[16 + 47], 'p');
  EXPECT_EQ(flm[16 + 48], 'n');
  EXPECT_EQ(BuildFLC(flm), kBanner + text);
}

TEST(FileList, FlmChecks) {
  struct Case {
    const char* what;
    Bytes data;
    FlmCheckResult::Status status;
    std::string label;
  };
  Bytes bad_sign = MakeFlm({{"p", "n"}});
  bad_sign[0] = '#';
  Bytes short_by_one = MakeFlm({{"p", "n"}});
  short_by_one.pop_back();
  const Case cases[] = {
      {"one record", MakeFlm({{"p", "n"}}), FlmCheckResult::kOk, "Файл загружен.\r\nКол-во файлов: 1"},
      {"95 trailing bytes", MakeFlm({{"p", "n"}, {"q", "m"}}, 2, 95), FlmCheckResult::kOk,
       "Файл загружен.\r\nКол-во файлов: 2"},
      {"111 bytes", short_by_one, FlmCheckResult::kBadSize, "Некорректный FLM-файл!\r\nНекорректный размер файла."},
      {"signature", bad_sign, FlmCheckResult::kBadSignature, "Некорректный FLM-файл!\r\nНекорректная сигнатура!"},
      {"header 3, room for 4", MakeFlm({{"a", "b"}, {"c", "d"}, {"e", "f"}, {"g", "h"}}, 3),
       FlmCheckResult::kBadRecords, "Некорректный FLM-файл!\r\nЗапись файлов некорректна."},
      {"header -1", MakeFlm({{"a", "b"}}, -1), FlmCheckResult::kBadRecords,
       "Некорректный FLM-файл!\r\nЗапись файлов некорректна."},
  };
  TempDir dir;
  for (const Case& c : cases) {
    WriteFile(dir / "x.flm", c.data);
    FlmCheckResult r = CheckFLM(dir / "x.flm");
    EXPECT_EQ(r.status, c.status) << c.what;
    EXPECT_EQ(FlmCounterText(r), c.label) << c.what;
    EXPECT_EQ(CheckFLMBytes(c.data).status, c.status) << c.what;
  }
  EXPECT_EQ(CheckFLM(dir / "missing.flm").status, FlmCheckResult::kBadSize);
  EXPECT_EQ(CheckFLM(dir.path()).status, FlmCheckResult::kBadSize);
}

TEST(FileList, TrailingBytesAreNotARecord) {
  TempDir dir;
  Bytes flm = MakeFlm({{"p1", "n1"}, {"p2", "n2"}}, 2, 50);
  std::fill(flm.end() - 50, flm.end(), 'x');
  WriteFile(dir / "in.flm", flm);
  ASSERT_TRUE(CheckFLM(dir / "in.flm").ok());
  std::vector<int64_t> progress;
  WriteFLCFromFLM(dir / "in.flm", dir / "out.flc", [&](int64_t done, int64_t total) {
    EXPECT_EQ(total, 2);
    progress.push_back(done);
  });
  EXPECT_EQ(ReadText(dir / "out.flc"), kBanner + "Path: p1\r\nName: n1\r\nPath: p2\r\nName: n2\r\n");
  EXPECT_EQ(progress, (std::vector<int64_t>{0, 1, 2}));
}

TEST(FileList, FlmOfMoreRecordsThanAListHoldsIsRefused) {
  // A sparse file of millions of empty records is as sound by its size as a real list;
  // the text form of it could not be read back, so neither form takes more than 500.
  TempDir dir;
  const std::string in = (dir / "big.flm").string(), flc = (dir / "out.flc").string();
  std::vector<std::pair<std::string, std::string>> records(kFileListCapacity, {"p", "n"});
  WriteFile(in, MakeFlm(records));
  auto r = test::RunCli({"flm2flc", in, flc});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(test::RunCli({"flc2flm", flc, (dir / "back.flm").string()}).code, 0);

  const int32_t sparse = 2730000;
  {
    Bytes head = MakeFlm({{"p", "n"}}, sparse);
    WriteFile(in, head);
    std::filesystem::resize_file(in, 16 + 96 * static_cast<uint64_t>(sparse));
  }
  WriteText(flc, "old");
  r = test::RunCli({"flm2flc", in, flc});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "Некорректный FLM-файл!\nБольше 500 файлов (2730000).\n");
  EXPECT_EQ(ReadText(flc), "old");
  records.push_back({"p", "n"});
  WriteFile(in, MakeFlm(records));
  EXPECT_EQ(CheckFLM(in).status, FlmCheckResult::kTooManyRecords);
  // Grown after the check: the conversion reads no more than a list can hold.
  EXPECT_THROW(WriteFLCFromFLM(in, flc), SsfError);
  EXPECT_EQ(ReadText(flc), "old");
}

TEST(FileList, FailedReadWritesNothing) {
  TempDir dir;
  WriteText(dir / "old.flc", "old");
  EXPECT_THROW(WriteFLCFromFLM(dir / "gone.flm", dir / "old.flc"), SsfError);
  EXPECT_EQ(ReadText(dir / "old.flc"), "old");
  FileListTables tables;
  EXPECT_THROW(tables.LoadFLC(dir / "gone.flc"), SsfError);
  EXPECT_THROW(WriteFLM(tables, dir / "no" / "such" / "dir.flm"), SsfError);
}

TEST(FileList, CommandLine) {
  TempDir dir;
  const std::string in = (dir / "in.flm").string(), flc = (dir / "out.flc").string(),
                    flm = (dir / "back.flm").string();
  WriteFile(in, MakeFlm({{"\\a", "b.jpg"}, {"\\c", "d.png"}}));

  auto r = test::RunCli({"flm2flc", in, flc});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "Файл загружен.\nКол-во файлов: 2\n");
  r = test::RunCli({"flc2flm", flc, flm});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "Файл-лист загружен.\nКол-во файлов: 2\n");
  EXPECT_EQ(ReadFile(flm), ReadFile(in));

  WriteFile(in, MakeFlm({{"a", "b"}}, 2));
  r = test::RunCli({"flm2flc", in, flc});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "Некорректный FLM-файл!\nЗапись файлов некорректна.\n");

  const Bytes before = ReadFile(flm);
  WriteText(flc, "Path: " + Repeat('x', 60) + "\r\n");
  r = test::RunCli({"flc2flm", flc, flm});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "Некорректный FLC-файл!\nСтрока 1: путь длиннее 48 байт.\n");
  EXPECT_EQ(ReadFile(flm), before);

  EXPECT_EQ(test::RunCli({"flc2flm", flc}).code, 2);
}

}  // namespace
}  // namespace ssf
