// Saving when the file system refuses part way (see FaultInjection.h): the previous file
// stays as it was, no temporary file is left beside it, and the error names the file and
// the reason, for a theme container and for a converted picture alike.
#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

#include "EditorTestSupport.h"
#include "FaultInjection.h"
#include "TestSupport.h"
#include "cli/Cli.h"
#include "platform/SystemErrorText.h"
#include "base/SsfError.h"

namespace ssf {
namespace {

namespace fs = std::filesystem;
using test::FileFault;

const FileFault kFaults[] = {FileFault::kCreate, FileFault::kWrite, FileFault::kSync, FileFault::kRename,
                             FileFault::kFileSize};

std::string WriteError(const fs::path& file, FileFault fault) {
  return "Не удалось записать файл: " + file.string() + " (" + SystemErrorText(test::FaultErrno(fault)) + ")";
}

// Runs the body under the fault; skips the test where the system cannot make the fault.
#define EXPECT_CLEAN_UNDER_FAULT(fault, body)                          \
  do {                                                                 \
    std::string problems;                                              \
    try {                                                              \
      problems = test::RunUnderFault(fault, body);                     \
    } catch (const std::runtime_error& e) {                            \
      GTEST_SKIP() << "fault injection unavailable: " << e.what();    \
    }                                                                  \
    EXPECT_EQ(problems, "");                                           \
  } while (0)

void ExpectNoTemporaryFiles(const fs::path& dir) {
  for (const auto& e : fs::directory_iterator(dir)) {
    EXPECT_NE(e.path().extension(), ".tmp") << "temporary file left: " << e.path();
  }
}

TEST(SaveFault, ContainerSaveKeepsThePreviousThemeAndSaysWhy) {
  for (FileFault fault : kFaults) {
    SCOPED_TRACE(test::FaultName(fault));
    test::EditorFixture fx;
    fx.AddMap("example.rxt", test::kExampleMap);
    fx.Create("EXAMPLE-100");
    fx.Fill({1, 2, 3});
    const fs::path file = fx.Save("theme");
    const Bytes before = test::ReadFile(file);
    fx.Fill({3000, 3000, 3000});  // more than the 1 KiB a full disk lets through
    fx.ui.AnswerSave(file);
    fx.ed->view.status[1].clear();  // the first save's "saved" stays until something replaces it

    EXPECT_CLEAN_UNDER_FAULT(fault, [&] {
      std::string p;
      try {
        MM_Child_SaveThemeClick(*fx.ed);
        p += "save reported success; ";
      } catch (const SsfError& e) {
        if (e.what() != WriteError(file, fault)) p += std::string("message: ") + e.what() + "; ";
      }
      if (!fx.ed->state.ThemeModified) p += "theme marked as saved; ";
      if (fx.ed->view.status[1] == "Тема сохранена.") p += "status says saved; ";
      return p;
    });
    EXPECT_EQ(test::ReadFile(file), before);
    ExpectNoTemporaryFiles(fx.dir.path());

    // Once the file system works again, the same save goes through (the answer is still queued:
    // the child took its own copy).
    MM_Child_SaveThemeClick(*fx.ed);
    EXPECT_EQ(test::ReadFile(file).size(), 0xFE0u + 9000);
  }
}

TEST(SaveFault, ConvertKeepsThePreviousOutputAndSaysWhy) {
  test::TempDir dir;
  const fs::path in = dir / "in.raw", out = dir / "out.bmp";
  test::WriteFile(in, Bytes(40 * 30 * 2, 0x5A));  // a BMP of 3654 bytes
  test::WriteText(out, "previous");
  for (FileFault fault : kFaults) {
    SCOPED_TRACE(test::FaultName(fault));
    EXPECT_CLEAN_UNDER_FAULT(fault, [&] {
      const auto r = test::RunCli({"convert", in.string(), out.string(), "--size", "40x30"});
      std::string p;
      if (r.code != cli::kExitFailed) p += "exit code " + std::to_string(r.code) + "; ";
      if (r.err.find(WriteError(out, fault)) == std::string::npos) p += "error output: " + r.err + "; ";
      return p;
    });
    EXPECT_EQ(test::ReadText(out), "previous");
    ExpectNoTemporaryFiles(dir.path());
  }
}

}  // namespace
}  // namespace ssf
