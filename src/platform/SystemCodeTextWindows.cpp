#include <windows.h>

#include "platform/SystemErrorText.h"
#include "platform/WideText.h"

namespace ssf {

// GetLastError() codes, in the words the errno texts use.
std::string SystemCodeText(int code) {
  switch (static_cast<DWORD>(code)) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return "файл или папка не найдены";
    case ERROR_ACCESS_DENIED: return "доступ запрещён";
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return "файл занят другой программой";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return "на диске нет места";
    case ERROR_WRITE_PROTECT: return "диск доступен только для чтения";
    case ERROR_FILENAME_EXCED_RANGE: return "слишком длинное имя";
    case ERROR_INVALID_NAME: return "недопустимое имя";
    case ERROR_DIRECTORY: return "часть пути не папка";
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return "файл уже существует";
    case ERROR_TOO_MANY_OPEN_FILES: return "открыто слишком много файлов";
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY: return "недостаточно памяти";
    default: break;
  }
  wchar_t* text = nullptr;
  const DWORD n = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string system = n > 0 ? Utf8FromWide(std::wstring_view(text, n)) : std::string();
  if (text != nullptr) ::LocalFree(text);
  while (!system.empty() && (system.back() == '\n' || system.back() == '\r' || system.back() == ' ' ||
                             system.back() == '.')) {
    system.pop_back();
  }
  return "системная ошибка " + std::to_string(code) + (system.empty() ? "" : " (" + system + ")");
}

}  // namespace ssf
