// Replays every input under tests/crashers/<target>/ (inputs that once broke a reader)
// and the seed corpora under fuzz/corpus/<target>/ through the fuzz target functions.
// Each must be refused cleanly or read; a crash or sanitizer report fails the run.
#include <gtest/gtest.h>

#include <filesystem>

#include "FuzzTargets.h"
#include "TestSupport.h"

namespace ssf {
namespace {

namespace fs = std::filesystem;

void ReplayFolder(const fs::path& root) {
  if (!fs::exists(root)) return;
  for (const auto& dir : fs::directory_iterator(root)) {
    if (!dir.is_directory()) continue;
    const fuzz::Target* target = fuzz::FindTarget(dir.path().filename().string());
    ASSERT_NE(target, nullptr) << "no fuzz target named " << dir.path().filename();
    for (const auto& file : fs::directory_iterator(dir.path())) {
      if (!file.is_regular_file()) continue;
      SCOPED_TRACE(file.path().string());
      auto bytes = test::ReadFile(file.path());
      EXPECT_NO_THROW(target->fn(bytes));
    }
  }
}

TEST(Crashers, EveryKeptInputFailsCleanly) { ReplayFolder(fs::path(SSF_SOURCE_DIR) / "tests" / "crashers"); }

TEST(Crashers, EverySeedInputIsHandled) { ReplayFolder(fs::path(SSF_SOURCE_DIR) / "fuzz" / "corpus"); }

}  // namespace
}  // namespace ssf
