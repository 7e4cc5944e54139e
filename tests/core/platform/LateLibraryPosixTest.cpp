#include "platform/LateLibrary.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

namespace ssf {
namespace {

using ::testing::StartsWith;

struct TwoFunctions {
  decltype(&::strlen) strlen;
  decltype(&::strlen) missing;
};

// What the message of a library that cannot be loaded says: the library, and every function
// it lacks, not only the first.
TEST(LateLibraryPosixTest, NamesTheMissingLibraryOrFunctions) {
  LateLibraryLoader absent("libssf-no-such-library.so.9");
  size_t (*fn)(const char*) = nullptr;
  absent.Take(fn, "strlen");
  EXPECT_EQ(fn, nullptr);
  EXPECT_THAT(absent.Failure(), StartsWith("не загружается библиотека libssf-no-such-library.so.9: "));

  LateLibraryLoader libc("libc.so.6");
  libc.Take(fn, "strlen");
  ASSERT_EQ(libc.Failure(), "");
  EXPECT_EQ(fn("четыре"), std::strlen("четыре"));
  void (*gone)() = nullptr;
  libc.Take(gone, "ssf_no_such_function");
  libc.Take(gone, "ssf_nor_this_one");
  EXPECT_EQ(libc.Failure(), "в библиотеке libc.so.6 нет ssf_no_such_function, ssf_nor_this_one");
}

TEST(LateLibraryPosixTest, TableIsGivenOnlyWhenComplete) {
  const LateTable<TwoFunctions> whole("libc.so.6", [](TwoFunctions& t, LateLibraryLoader& loader) {
    loader.Take(t.strlen, "strlen");
    loader.Take(t.missing, "strlen");
  });
  ASSERT_NE(whole.Get(), nullptr);
  EXPECT_EQ(whole.Get()->strlen("abc"), 3u);

  const LateTable<TwoFunctions> part("libc.so.6", [](TwoFunctions& t, LateLibraryLoader& loader) {
    loader.Take(t.strlen, "strlen");
    loader.Take(t.missing, "ssf_no_such_function");
  });
  EXPECT_EQ(part.Get(), nullptr);
  EXPECT_EQ(part.Failure(), "в библиотеке libc.so.6 нет ssf_no_such_function");
}

}  // namespace
}  // namespace ssf
