// Access keys for the captions of a menu: one letter each, never twice.
#include <gtest/gtest.h>

#include "editor/Mnemonics.h"

namespace ssf {
namespace {

TEST(Mnemonics, FirstFreeWordLetterThenAnyFreeLetter) {
  const struct {
    std::vector<std::string> captions;
    std::vector<std::string> expected;
  } cases[] = {
      {{"Файл", "Правка", "Дополнительно", "Помощь"}, {"&Файл", "&Правка", "&Дополнительно", "П&омощь"}},
      {{"Создать тему", "Открыть тему", "Сохранить", "Сохранить как…"},
       {"&Создать тему", "&Открыть тему", "Со&хранить", "Сохранить &как…"}},
      {{"Выход", "&Выключено", "Вы"}, {"В&ыход", "&Выключено", "Вы"}},  // a kept "&" reserves its letter
      {{"Save && close", "Exit"}, {"&Save && close", "&Exit"}},
      {{"1:1", "2x"}, {"1:1", "2&x"}},
  };
  for (const auto& c : cases) EXPECT_EQ(AssignMnemonics(c.captions), c.expected) << c.captions.front();
}

}  // namespace
}  // namespace ssf
