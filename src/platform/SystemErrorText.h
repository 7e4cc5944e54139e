#pragma once
// The common system errors in Russian, for the reason part of a message ("(доступ
// запрещён)"). Others read as their number with the system's own English text after it.
#include <string>
#include <system_error>

namespace ssf {

// An errno value.
std::string SystemErrorText(int err);
std::string SystemErrorText(const std::error_code& ec);
// A code of the system's own kind: errno on POSIX systems, GetLastError() on Windows.
std::string SystemCodeText(int code);

}  // namespace ssf
