// A map that stops part way must leave the open theme, its tables and the window exactly as
// they were, whichever command loaded it; a save afterwards writes the theme unchanged.
#include <gtest/gtest.h>

#include <sstream>

#include "EditorTestSupport.h"
#include "base/SsfError.h"
#include "editor/MainFormHandlers.h"
#include "theme/ThemeContainer.h"

namespace ssf::test {
namespace {

namespace fs = std::filesystem;

// Everything of the editor a failed load could disturb, as one comparable text.
std::string Snapshot(const Editor& ed) {
  const EditorState& s = ed.state;
  const ThemeMap& m = s.Map;
  const ViewState& v = ed.view;
  std::ostringstream o;
  o << v.status[0] << '|' << v.status[1] << '|' << v.status[2] << '|' << v.PCtrl_enabled << v.PCtrl_page
    << v.MM_Child_SaveTheme_enabled << v.MM_Child_ImportRes_enabled << v.MM_Child_ExportRes_enabled
    << v.Pnl_ItemInfo_visible << v.Pnl_ThemeIcon_visible << v.CBox_ThemeType_visible << '|' << v.TV_selected
    << '|' << m.SignMain << m.SignMobile << m.FilesTable << ',' << m.FilesStart << ',' << m.FilesCount << m.HasIcon
    << m.IsColorTheme << s.MapValid << s.ThemeModified << (s.Theme ? s.Theme->StoredFiles() : -1) << '|' << s.MapPath
    << '|' << (s.Theme ? s.Theme->Header.size() : 0) << '|' << m.MapFileCounter << '|';
  for (const TTHemeFiles& e : m.ThemeFiles) o << e.f_type << e.f_width << 'x' << e.f_height << ':' << e.f_size << ';';
  for (const GroupNode& n : m.Tree.Nodes()) o << n.caption << n.parent << n.group << ';';
  if (s.Theme) {
    for (const TThemeNewFiles& f : s.Theme->NewFiles) o << f.f_file.size() << ';';
  }
  return o.str();
}

TEST(FailedMapLoad, CreateAndOpenOnABrokenMapChangeNothingAndTheSaveWritesTheSameBytes) {
  EditorFixture f;
  f.AddMap("a.rxt", kExampleMap);
  // Its file count and layout differ, so a half-installed map would show in the save.
  std::string broken = ExampleMapWith("EXAMPLE-100", "BROKEN-1") + "</GROUP>\n";
  const std::string settings = "\"0xFE0\" \"3\"";
  broken.replace(broken.find(settings), settings.size(), "\"0x1000\" \"2\"");
  f.AddMap("b.rxt", broken);
  f.Create("EXAMPLE-100");
  f.Fill({10, 32, 5});
  const Bytes original = ReadFile(f.Save("t"));
  OpenThemeFile(*f.ed, f.dir / "t.ssf");
  f.ed->view.TV_selected = 2;
  f.ed->view.Pnl_ItemInfo_visible = true;
  const std::string before = Snapshot(*f.ed);

  // u8"Создать тему" on the broken map, and on a map that went away after the listing.
  EXPECT_THROW(f.Create("BROKEN-1"), SsfError);
  EXPECT_EQ(Snapshot(*f.ed), before);
  f.AddMap("c.rxt", ExampleMapWith("EXAMPLE-100", "GONE-1"));
  ListThemeMaps(*f.ed);
  fs::remove(f.dir / "ThemeMaps" / "c.rxt");
  EXPECT_THROW(lk_CreateNewTheme(*f.ed, 2), SsfError);
  EXPECT_EQ(Snapshot(*f.ed), before);

  // u8"Открыть тему" of a theme whose model finds the broken map.
  Bytes other = original;
  std::copy_n("BROKEN-1\0\0\0\0\0\0\0\0\0", kModelSize, other.begin() + kModelOffset);
  WriteFile(f.dir / "other.ssf", other);
  EXPECT_THROW(OpenThemeFile(*f.ed, f.dir / "other.ssf"), SsfError);
  EXPECT_EQ(Snapshot(*f.ed), before);

  ASSERT_TRUE(f.ed->view.MM_Child_SaveTheme_enabled);
  EXPECT_EQ(ReadFile(f.Save("again")), original);
}

}  // namespace
}  // namespace ssf::test
