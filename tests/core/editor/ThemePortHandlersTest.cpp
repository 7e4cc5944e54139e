// u8"Перенести на другую модель…" without a window: the proposal, changing sources, and OK.
#include <gtest/gtest.h>

#include "EditorTestSupport.h"
#include "PortTestSupport.h"
#include "editor/MainFormHandlers.h"
#include "editor/ThemePortHandlers.h"
#include "theme/ThemeCheck.h"
#include "theme/ThemeHeader.h"

namespace ssf {
namespace {

struct ThemePortHandlersTest : ::testing::Test {
  test::EditorFixture f;

  ThemePortHandlersTest() {
    for (const auto& entry : std::filesystem::directory_iterator(test::SampleMapsDir())) {
      std::filesystem::copy_file(entry.path(), f.dir / "ThemeMaps" / entry.path().filename());
    }
    f.Create("QB-X240");
    f.ed->state.Theme = test::SampleTheme("QB-X240").theme;
    f.ed->state.ThemeModified = true;
  }
  Editor& ed() { return *f.ed; }
  int Item(const std::string& model) {
    const std::vector<std::string>& models = PortModels(ed());
    for (size_t i = 0; i < models.size(); ++i) {
      if (models[i] == model) return static_cast<int>(i);
    }
    ADD_FAILURE() << model;
    return -1;
  }
};

TEST_F(ThemePortHandlersTest, ProposalShowsPairsAndFollowsChangedSources) {
  std::optional<PortProposal> p = ProposePort(ed(), Item("QB-C176"));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->sources, PairedSources(PairThemeFiles(ed().state.Map, p->map)));
  EXPECT_EQ(PortTargetText(*p, 2), "Пиктограммы/Сообщения (IFG 32x32)");
  EXPECT_EQ(PortSourceText(ed(), 7), "7 Главное меню/Пиктограммы/Сообщения (ANI2 44x44)");
  EXPECT_EQ(PortSourceCount(ed()), 40);
  EXPECT_EQ(PortPlanText(ed(), *p, 2), "ANI2 44x44 → IFG 32x32, обрезать по краям");
  EXPECT_EQ(PortPlanText(ed(), *p, 8), "не заполнен: нет файла-источника");

  p->sources[8] = 38;  // u8"Цвета", 512 bytes, into 384
  EXPECT_EQ(PortPlanText(ed(), *p, 8), "не заполнен: таблица цветов другого размера: 512 байт, нужно 384");
  p->sources[0].reset();
  EXPECT_EQ(PortPlanText(ed(), *p, 0), "не заполнен: нет файла-источника");
  p->fit.mode = FitMode::kStretch;
  EXPECT_EQ(PortPlanText(ed(), *p, 2), "ANI2 44x44 → IFG 32x32, растянуть");
}

TEST_F(ThemePortHandlersTest, OkAsksThenInstallsTheCarriedThemeUnsaved) {
  std::optional<PortProposal> p = ProposePort(ed(), Item("QB-C176"));
  ASSERT_TRUE(p);
  p->sources[0].reset();

  const Theme before = *ed().state.Theme;
  f.ui.yes_no_answers = {false};
  EXPECT_FALSE(ApplyPort(ed(), *p));
  EXPECT_EQ(f.ui.questions, std::vector<std::string>{kLoseChangesQuestion});
  EXPECT_EQ(*ed().state.Theme, before);

  // Stopped part way: nothing changes either.
  f.ui.yes_no_answers = {true};
  EXPECT_FALSE(ApplyPort(ed(), *p, [](int done, int) { return done < 4; }));
  EXPECT_EQ(*ed().state.Theme, before);
  EXPECT_EQ(ed().state.Map.SignMobile, "QB-X240");

  f.ui.yes_no_answers = {true};
  ASSERT_TRUE(ApplyPort(ed(), *p));
  const EditorState& s = ed().state;
  EXPECT_EQ(s.Map.SignMobile, "QB-C176");
  EXPECT_EQ(s.Theme->HeldFiles(), 7);  // 1..7 paired; 0 taken away, the colour tables unpaired
  EXPECT_FALSE(s.Theme->NewFiles[0].Present());
  EXPECT_TRUE(s.ThemeModified);
  EXPECT_TRUE(s.ThemePath.empty());
  EXPECT_EQ(ed().view.status[2], "7/10");
  EXPECT_EQ(ed().view.ED_ThemeAuthor, "Автор образца");
  EXPECT_TRUE(ed().view.MM_Child_SaveTheme_enabled);
  // The save refuses until the user fills the rest.
  EXPECT_FALSE(MaySaveTheme(*s.Theme, s.Map));
}

TEST_F(ThemePortHandlersTest, AMapWithErrorsIsReportedAndProposesNothing) {
  test::WriteMap(f.dir / "ThemeMaps" / "ZZ-BAD.rxt",
                 "<THEMESIGN Main=\"SAMSUNG THEME\" Mobile=\"ZZ-BAD\">\n"
                 "<THEMESETTINGS FilesTable=\"zz\" FilesStart=\"0xD8\" \"1\" \"NO\">\n"
                 "<COLORTHEMESSETTINGS \"NO\">\n<FILE \"Обои\" \"1\" \"JPG\" \"10\" \"10\">\n");
  EXPECT_FALSE(ProposePort(ed(), Item("ZZ-BAD")));
  ASSERT_EQ(f.ui.messages.size(), 1u);
  EXPECT_EQ(ed().state.Map.SignMobile, "QB-X240");
}

}  // namespace
}  // namespace ssf
