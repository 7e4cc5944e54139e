#include "FaultInjection.h"

#include <fcntl.h>
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstddef>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace ssf::test {

namespace {

#if defined(__x86_64__)
constexpr uint32_t kArch = AUDIT_ARCH_X86_64;
#elif defined(__aarch64__)
constexpr uint32_t kArch = AUDIT_ARCH_AARCH64;
#else
constexpr uint32_t kArch = 0;
#endif

constexpr uint32_t ArgOffset(int i) { return offsetof(seccomp_data, args) + 8 * i; }  // low half, little-endian

sock_filter Stmt(uint16_t code, uint32_t k) { return BPF_STMT(code, k); }
sock_filter Jump(uint16_t code, uint32_t k, uint8_t jt, uint8_t jf) { return BPF_JUMP(code, k, jt, jf); }

class Filter {
 public:
  explicit Filter(int err) : fail_(SECCOMP_RET_ERRNO | static_cast<uint32_t>(err)) {
    code_ = {Stmt(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, arch)),
             Jump(BPF_JMP | BPF_JEQ | BPF_K, kArch, 1, 0), Stmt(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
             Stmt(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr))};
  }
  // The call fails always.
  void Fail(long nr) {
    code_.push_back(Jump(BPF_JMP | BPF_JEQ | BPF_K, static_cast<uint32_t>(nr), 0, 1));
    code_.push_back(Stmt(BPF_RET | BPF_K, fail_));
  }
  // The call fails when argument `arg` has one of `bits` set.
  void FailWithFlag(long nr, int arg, uint32_t bits) {
    code_.push_back(Jump(BPF_JMP | BPF_JEQ | BPF_K, static_cast<uint32_t>(nr), 0, 4));
    code_.push_back(Stmt(BPF_LD | BPF_W | BPF_ABS, ArgOffset(arg)));
    code_.push_back(Jump(BPF_JMP | BPF_JSET | BPF_K, bits, 0, 1));
    code_.push_back(Stmt(BPF_RET | BPF_K, fail_));
    code_.push_back(Stmt(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
  }
  // The call fails on descriptors above stderr other than `spared`.
  void FailOnFiles(long nr, int spared) {
    code_.push_back(Jump(BPF_JMP | BPF_JEQ | BPF_K, static_cast<uint32_t>(nr), 0, 5));
    code_.push_back(Stmt(BPF_LD | BPF_W | BPF_ABS, ArgOffset(0)));
    code_.push_back(Jump(BPF_JMP | BPF_JGE | BPF_K, 3, 0, 2));
    code_.push_back(Jump(BPF_JMP | BPF_JEQ | BPF_K, static_cast<uint32_t>(spared), 1, 0));
    code_.push_back(Stmt(BPF_RET | BPF_K, fail_));
    code_.push_back(Stmt(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
  }
  bool Install() {
    code_.push_back(Stmt(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
    sock_fprog prog{static_cast<unsigned short>(code_.size()), code_.data()};
    return kArch != 0 && ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
           ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &prog) == 0;
  }

 private:
  uint32_t fail_;
  std::vector<sock_filter> code_;
};

// Sets the fault up in the child; false when the system does not allow it.
bool SetUp(FileFault fault, int spared_fd) {
  if (fault == FileFault::kFileSize) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{1024, 1024};
    return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
  }
  Filter f(FaultErrno(fault));
  switch (fault) {
    case FileFault::kCreate:
      // A new file comes from O_CREAT, or from an unnamed O_TMPFILE given its name by linkat.
      f.FailWithFlag(SYS_openat, 2, O_CREAT | (O_TMPFILE & ~O_DIRECTORY));
      f.Fail(SYS_linkat);
#ifdef SYS_open
      f.FailWithFlag(SYS_open, 1, O_CREAT);
#endif
#ifdef SYS_creat
      f.Fail(SYS_creat);
#endif
      break;
    case FileFault::kWrite:
      for (long nr : {long{SYS_write}, long{SYS_pwrite64}, long{SYS_writev}, long{SYS_pwritev}}) f.FailOnFiles(nr, spared_fd);
      break;
    case FileFault::kSync:
      f.Fail(SYS_fsync);
      f.Fail(SYS_fdatasync);
      break;
    case FileFault::kRename:
#ifdef SYS_rename
      f.Fail(SYS_rename);
#endif
      f.Fail(SYS_renameat);
      f.Fail(SYS_renameat2);
      break;
    case FileFault::kFileSize:
      break;
  }
  return f.Install();
}

void WriteAll(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n <= 0) return;
    done += static_cast<size_t>(n);
  }
}

constexpr int kSetUpFailed = 3;

}  // namespace

int FaultErrno(FileFault fault) {
  switch (fault) {
    case FileFault::kCreate: return EACCES;
    case FileFault::kWrite: return ENOSPC;
    case FileFault::kSync: return EIO;
    case FileFault::kRename: return EACCES;
    case FileFault::kFileSize: return EFBIG;
  }
  return 0;
}

const char* FaultName(FileFault fault) {
  switch (fault) {
    case FileFault::kCreate: return "create refused";
    case FileFault::kWrite: return "disk full on write";
    case FileFault::kSync: return "fsync fails";
    case FileFault::kRename: return "rename refused";
    case FileFault::kFileSize: return "disk full part way";
  }
  return "";
}

std::string RunUnderFault(FileFault fault, const std::function<std::string()>& body) {
  int fds[2];
  if (::pipe(fds) != 0) throw std::runtime_error("pipe failed");
  pid_t pid = ::fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    ::close(fds[0]);
    if (!SetUp(fault, fds[1])) {
      WriteAll(fds[1], std::string("cannot set up the fault: ") + std::strerror(errno));
      ::_exit(kSetUpFailed);
    }
    std::string problems;
    try {
      problems = body();
    } catch (const std::exception& e) {
      problems = std::string("unexpected exception: ") + e.what();
    }
    WriteAll(fds[1], problems);
    ::_exit(0);
  }
  ::close(fds[1]);
  std::string text;
  char buf[512];
  ssize_t n;
  while ((n = ::read(fds[0], buf, sizeof buf)) > 0 || (n < 0 && errno == EINTR)) {
    if (n > 0) text.append(buf, static_cast<size_t>(n));
  }
  ::close(fds[0]);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == kSetUpFailed) throw std::runtime_error(text);
  if (WIFSIGNALED(status)) return "child died of signal " + std::to_string(WTERMSIG(status)) + "; " + text;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "child failed; " + text;
  return text;
}

}  // namespace ssf::test
