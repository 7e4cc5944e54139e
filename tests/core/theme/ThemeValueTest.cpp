// The theme and its map as values: parsed, created, read and written without an editor.
#include <gtest/gtest.h>

#include <sstream>

#include "MapTestSupport.h"
#include "base/ByteIO.h"
#include "theme/Theme.h"
#include "theme/ThemeHeader.h"

namespace ssf {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

ThemeMap ExampleMap() {
  TagParams params;
  ParsedThemeMap parsed = ParseThemeMap(Lines(test::kExampleMap), ThemeMap{}, params, "example.rxt");
  EXPECT_TRUE(parsed.errors.empty());
  return parsed.map;
}

// The example theme saved with files of 10, 32 and 5 bytes.
Bytes SavedExample() {
  Theme theme = NewTheme(ExampleMap());
  theme.NewFiles[0].f_file.assign(10, 1);
  theme.NewFiles[1].f_file.assign(32, 2);
  theme.NewFiles[2].f_file.assign(5, 3);
  return SerializeTheme(theme);
}

TEST(ThemeMapValue, ABlockTheMapLeavesOutKeepsThePreviousValues) {
  const ThemeMap previous = ExampleMap();
  TagParams params;
  // Only the signature and one file: the settings come from the previous map, the entries not.
  const ParsedThemeMap parsed = ParseThemeMap(
      Lines("<THEMESIGN \"SAMSUNG THEME\" \"OTHER\">\n<FILE \"Один\" \"1\" \"JPG\" \"10\" \"20\">\n"), previous,
      params, "other.rxt");
  EXPECT_EQ(parsed.map.SignMobile, "OTHER");
  EXPECT_EQ(parsed.map.FilesTable, 0xFD0);
  EXPECT_EQ(parsed.map.FilesStart, 0xFE0);
  EXPECT_TRUE(parsed.map.HasIcon);
  ASSERT_EQ(parsed.map.ThemeFiles.size(), 1u);
  EXPECT_EQ(parsed.map.Tree.Size(), 1);
  // Three files declared, one described.
  ASSERT_EQ(parsed.errors.size(), 1u);
  EXPECT_NE(parsed.errors[0].find("Количество файлов"), std::string::npos);
}

TEST(ThemeValue, SavedExampleIsItsBytesAndReadsBackTheSame) {
  const Bytes saved = SavedExample();
  ASSERT_EQ(saved.size(), 0xFE0u + 47);
  EXPECT_EQ(ReadU32LE(saved, 0xFD0), 10u);
  EXPECT_EQ(ReadU32LE(saved, 0xFD4), 32u);
  EXPECT_EQ(ReadU32LE(saved, 0xFD8), 5u);
  for (size_t i = 0xFDC; i < 0xFE0; ++i) EXPECT_EQ(saved[i], 0) << i;
  EXPECT_EQ(saved[0xFE0], 1);
  EXPECT_EQ(saved[0xFE0 + 10], 2);
  EXPECT_EQ(saved[0xFE0 + 42], 3);

  const Theme theme = ParseTheme(saved, ExampleMap());
  EXPECT_EQ(theme.StoredFiles(), 3);
  EXPECT_EQ(HeaderText(theme, kAuthorField), "Автор темы");
  EXPECT_EQ(HeaderText(theme, kVersionField), "1.0");
  EXPECT_EQ(SerializeTheme(theme), saved);
}

TEST(ThemeValue, StoredCountFollowsTheHeaderUntilRecounted) {
  struct Row {
    int32_t at_148;
    std::vector<size_t> sizes;  // slot sizes in the container
    int32_t stored;             // the count after opening
    int32_t after_absent_import;
  };
  const Row rows[] = {
      {5, {10, 32, 5}, 3, 3},  // above the map's count: lowered to it
      {1, {10, 32, 5}, 1, 1},  // below: kept, whatever the size table holds; no slot is absent
      {3, {10, 0, 5}, 3, 4},   // full with a hole: an import into the hole still raises it
      {-2, {0, 0, 0}, 0, 1},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.at_148);
    Theme made = NewTheme(ExampleMap());
    for (size_t k = 0; k < 3; ++k) made.NewFiles[k].f_file.assign(r.sizes[k], 7);
    Bytes bytes = SerializeTheme(made);
    WriteI32LE(bytes, kFileCountOffset, r.at_148);
    Theme theme = ParseTheme(bytes, ExampleMap());
    EXPECT_EQ(theme.StoredFiles(), r.stored);
    for (TThemeNewFiles& slot : theme.NewFiles) {
      if (!slot.Present()) {
        slot.f_file.assign(4, 9);
        break;
      }
    }
    EXPECT_EQ(theme.StoredFiles(), r.after_absent_import);
    theme.RecountStoredFiles();
    EXPECT_EQ(theme.StoredFiles(), theme.HeldFiles());
  }
}

TEST(ThemeValue, ContainersThatDoNotFitTheirMapAreRefusedByKind) {
  using Kind = ThemeParseError::Kind;
  struct Row {
    const char* name;
    void (*spoil)(Bytes&);
    Kind kind;
    size_t offset;
  };
  const Row rows[] = {
      {"short header", [](Bytes& b) { b.resize(kHeaderSize - 1); }, Kind::kStructure, 0},
      {"signature", [](Bytes& b) { b[12] = 'F'; }, Kind::kSignature, kSignatureOffset},
      {"zero table", [](Bytes& b) { WriteI32LE(b, kFilesTableOffset, 0); }, Kind::kZeroTable, kFilesTableOffset},
      {"zero start", [](Bytes& b) { WriteI32LE(b, kFilesStartOffset, 0); }, Kind::kZeroStart, kFilesStartOffset},
      {"table over the icon", [](Bytes& b) { WriteI32LE(b, kFilesTableOffset, 0x200); }, Kind::kStructure,
       kFilesTableOffset},
      {"start inside the table", [](Bytes& b) { WriteI32LE(b, kFilesStartOffset, 0xFD4); }, Kind::kStructure,
       kFilesStartOffset},
      {"files past the end", [](Bytes& b) { b.pop_back(); }, Kind::kStructure, 0xFE0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    Bytes bytes = SavedExample();
    r.spoil(bytes);
    try {
      ParseTheme(bytes, ExampleMap());
      ADD_FAILURE() << "taken";
    } catch (const ThemeParseError& e) {
      EXPECT_EQ(e.kind(), r.kind);
      EXPECT_EQ(e.offset(), r.offset);
      EXPECT_NE(std::string(e.what()), "");
    }
  }
}

TEST(ThemeValue, HeaderFieldsAndIconChangeOnlyTheirBytes) {
  Theme theme = NewTheme(ExampleMap());
  const Bytes before = theme.Header;
  SetHeaderText(theme, kNameField, std::string(60, 'x'));  // longer than its 51 bytes
  EXPECT_EQ(HeaderText(theme, kNameField), std::string(51, 'x'));
  SetThemeType(theme, 1);
  EXPECT_EQ(ThemeTypeIndex(theme), 1);
  SetThemeType(theme, 7);  // not a type: nothing changes
  EXPECT_EQ(ThemeTypeIndex(theme), 1);
  Image icon(kIconSide, kIconSide);
  icon.Pixel(0, 0)[2] = 0xFF;  // red
  SetThemeIcon(theme, icon);
  EXPECT_EQ(ReadU16LE(theme.Header, kIconOffset), 0xF800);
  for (size_t i = 0; i < before.size(); ++i) {
    const bool name = i >= kThemeNameOffset && i < kThemeNameOffset + 52;
    const bool type = i == kThemeTypeOffset;
    const bool first_pixel = i == kIconOffset || i == kIconOffset + 1;
    if (!name && !type && !first_pixel) {
      ASSERT_EQ(theme.Header[i], before[i]) << i;
    }
  }
  ClearThemeIcon(theme);
  EXPECT_EQ(ThemeIconBytes(theme), Bytes(kIconBytes, 0));
  EXPECT_THROW(SetThemeIcon(theme, Image(10, 10)), SsfError);
}

}  // namespace
}  // namespace ssf
