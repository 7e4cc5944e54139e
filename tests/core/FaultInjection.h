#pragma once
// Runs a piece of a test in a forked child whose file system calls fail on purpose, so
// that saving into an unwritable folder or onto a full disk can be tested without
// special rights, and as root (which folder permissions do not stop):
//   - a seccomp filter fails chosen system calls with a chosen error number;
//   - a file-size limit (with SIGXFSZ ignored) ends a write part way, as a full disk does.
#include <functional>
#include <string>

namespace ssf::test {

enum class FileFault {
  kCreate,    // creating a file: EACCES, as in a folder that became read-only
  kWrite,     // every write to a file: ENOSPC
  kSync,      // fsync: EIO
  kRename,    // renaming: EACCES
  kFileSize,  // files stop growing at 1 KiB: EFBIG after a part was written
};

// The error number the fault produces.
int FaultErrno(FileFault fault);
const char* FaultName(FileFault fault);

// Runs `body` in a child under the fault. `body` returns what went wrong (empty when all
// its checks passed); RunUnderFault returns that, or a description of the child's crash.
// Throws std::runtime_error when the fault cannot be set up on this system.
std::string RunUnderFault(FileFault fault, const std::function<std::string()>& body);

}  // namespace ssf::test
