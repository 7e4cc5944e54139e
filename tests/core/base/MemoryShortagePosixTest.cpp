#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "TestSupport.h"
#include "base/FileIO.h"
#include "base/MemoryShortage.h"

namespace ssf {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

// Runs `body` in a child that may map no more than 64 MiB beyond what it holds already;
// the child's result is what `body` returns (empty when its checks passed).
std::string WithLittleMemory(const std::function<std::string()>& body) {
  int pipe_fds[2];
  if (::pipe(pipe_fds) != 0) return "no pipe";
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(pipe_fds[0]);
    std::string result;
    std::ifstream status("/proc/self/status");
    std::string line;
    long vm_kb = 0;
    while (std::getline(status, line)) {
      if (line.starts_with("VmSize:")) vm_kb = std::stol(line.substr(7));
    }
    const rlim_t limit = static_cast<rlim_t>(vm_kb) * 1024 + (64 << 20);
    rlimit rl{limit, limit};
    if (vm_kb == 0 || ::setrlimit(RLIMIT_AS, &rl) != 0) {
      result = "no limit";
    } else {
      result = body();
    }
    ssize_t written = ::write(pipe_fds[1], result.data(), result.size());
    ::_exit(written == static_cast<ssize_t>(result.size()) ? 0 : 1);
  }
  ::close(pipe_fds[1]);
  std::string result;
  char buf[4096];
  ssize_t n;
  while ((n = ::read(pipe_fds[0], buf, sizeof buf)) > 0) result.append(buf, static_cast<size_t>(n));
  ::close(pipe_fds[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (!WIFEXITED(status)) return "child crashed: " + result;
  return result;
}

TEST(MemoryShortage, AFileTooBigForMemoryIsNamedInRussian) {
  if (kSanitized) GTEST_SKIP() << "sanitizers reserve address space of their own";
  test::TempDir dir;
  const auto big = dir / "big.bmp";
  {
    std::ofstream f(big);
    f << "BM";
  }
  std::filesystem::resize_file(big, 200 << 20);  // sparse: nothing on disk
  const std::string want = "Недостаточно памяти, чтобы прочитать файл: " + big.string();
  EXPECT_EQ(WithLittleMemory([&]() -> std::string {
              try {
                ReadWholeFile(big);
              } catch (const std::exception& e) {
                return e.what() == want ? "" : ErrorText(e);
              }
              return "read";
            }),
            "");
  EXPECT_EQ(WithLittleMemory([&]() -> std::string {
              const test::CliResult r = test::RunCli({"convert", big.string(), (dir / "out.png").string()});
              return r.code == 1 && r.err == want + "\n" ? "" : r.err;
            }),
            "");
}

TEST(MemoryShortage, TheOutermostHandlerSpeaksRussian) {
  EXPECT_EQ(ErrorText(std::bad_alloc()), "Недостаточно памяти для этой операции.");
  EXPECT_EQ(ErrorText(SsfError("текст")), "текст");
}

}  // namespace
}  // namespace ssf
