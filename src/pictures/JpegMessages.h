#pragma once
// libjpeg's messages in the user's language: the reason in Russian, libjpeg's own English
// words after it in parentheses, as system errors are shown.
#include <string>

namespace ssf {

// `code` is libjpeg's msg_code, `english` the message libjpeg formatted for it.
std::string JpegMessageText(int code, const std::string& english);

}  // namespace ssf
