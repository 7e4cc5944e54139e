#include "platform/SystemErrorText.h"

#include <cerrno>
#include <cstring>

namespace ssf {

std::string SystemErrorText(int err) {
  switch (err) {
    case ENOENT: return "файл или папка не найдены";
    case EACCES:
    case EPERM: return "доступ запрещён";
    case ENOSPC: return "на диске нет места";
#ifdef EDQUOT
    case EDQUOT: return "превышена квота диска";
#endif
    case EROFS: return "диск доступен только для чтения";
    case ENAMETOOLONG: return "слишком длинное имя";
    case EISDIR: return "это папка";
    case ENOTDIR: return "часть пути не папка";
    case EEXIST: return "файл уже существует";
    case EIO: return "ошибка ввода-вывода";
    case EFBIG: return "файл слишком велик";
    case EMFILE:
    case ENFILE: return "открыто слишком много файлов";
    case ENOMEM: return "недостаточно памяти";
    default: return "системная ошибка " + std::to_string(err) + " (" + std::strerror(err) + ")";
  }
}

std::string SystemErrorText(const std::error_code& ec) {
  if (ec.category() == std::generic_category()) return SystemErrorText(ec.value());
  if (ec.category() == std::system_category()) return SystemCodeText(ec.value());
  return "ошибка (" + ec.message() + ")";
}

}  // namespace ssf
