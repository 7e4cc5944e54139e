#include "tools/workbook/XmlSax.h"

#include <algorithm>
#include <exception>
#include <memory>

#include "base/SsfError.h"
#include "tools/workbook/Libexpat.h"

namespace ssf {

namespace {

// Expat reports a namespaced name as "uri<sep>local".
constexpr char kNsSeparator = '\x01';

struct ParserFree {
  void operator()(XML_Parser p) const { LoadLibexpat().XML_ParserFree(p); }
};

}  // namespace

std::string_view XmlSax::Local(const char* name) {
  std::string_view n(name);
  size_t sep = n.rfind(kNsSeparator);
  return sep == std::string_view::npos ? n : n.substr(sep + 1);
}

const char* XmlSax::Attr(const char** attrs, std::string_view local_name) {
  for (const char** a = attrs; a[0] != nullptr; a += 2) {
    if (Local(a[0]) == local_name) return a[1];
  }
  return nullptr;
}

void XmlSax::OnStart(void* self, const char* name, const char** attrs) {
  auto* s = static_cast<XmlSax*>(self);
  if (s->stop_) return;
  s->Guarded([&] { s->Start(Local(name), attrs); });
}

void XmlSax::OnEnd(void* self, const char* name) {
  auto* s = static_cast<XmlSax*>(self);
  if (s->stop_) return;
  s->Guarded([&] { s->End(Local(name)); });
}

void XmlSax::OnText(void* self, const char* text, int len) {
  auto* s = static_cast<XmlSax*>(self);
  if (s->stop_ || len <= 0) return;
  s->Guarded([&] { s->Text(std::string_view(text, static_cast<size_t>(len))); });
}

// Exceptions must not unwind through expat's C frames: keep the first one, stop the
// parser, and rethrow it once XML_Parse has returned.
// Workbook parts never declare a document type. Refusing one refuses every entity
// declaration with it, so no text can expand beyond the bytes of the part itself.
void XmlSax::OnDoctype(void* self, const char*, const char*, const char*, int) {
  auto* s = static_cast<XmlSax*>(self);
  s->Guarded([&] { throw SsfError(s->what_ + ": объявление типа документа (DOCTYPE) в книге не допускается"); });
}

void XmlSax::Guarded(const std::function<void()>& fn) {
  try {
    fn();
  } catch (...) {
    error_ = std::current_exception();
    stop_ = true;
  }
  if (stop_) LoadLibexpat().XML_StopParser(static_cast<XML_Parser>(parser_), XML_FALSE);
}

void XmlSax::Parse(std::string_view xml, const std::string& what) {
  const Libexpat& expat = LoadLibexpat();
  std::unique_ptr<XML_ParserStruct, ParserFree> parser(expat.XML_ParserCreateNS("UTF-8", kNsSeparator));
  if (!parser) throw SsfError(what + ": нет памяти для разбора XML");
  parser_ = parser.get();
  what_ = what;
  stop_ = false;
  error_ = nullptr;
  expat.XML_SetUserData(parser.get(), this);
  expat.XML_SetElementHandler(parser.get(), &XmlSax::OnStart, &XmlSax::OnEnd);
  expat.XML_SetCharacterDataHandler(parser.get(), &XmlSax::OnText);
  expat.XML_SetStartDoctypeDeclHandler(parser.get(), &XmlSax::OnDoctype);
  // Parts are limited well below INT_MAX, but feed in chunks all the same.
  constexpr size_t kChunk = 1 << 20;
  size_t pos = 0;
  while (true) {
    size_t n = std::min(kChunk, xml.size() - pos);
    bool last = pos + n == xml.size();
    XML_Status st = expat.XML_Parse(parser.get(), xml.data() + pos, static_cast<int>(n), last ? XML_TRUE : XML_FALSE);
    if (error_) {
      parser_ = nullptr;
      std::rethrow_exception(error_);
    }
    if (stop_) break;
    if (st != XML_STATUS_OK) {
      throw SsfError(what + ": ошибка XML в строке " +
                     std::to_string(expat.XML_GetCurrentLineNumber(parser.get())) + " (" +
                     expat.XML_ErrorString(expat.XML_GetErrorCode(parser.get())) + ")");
    }
    pos += n;
    if (last) break;
  }
  parser_ = nullptr;
}

}  // namespace ssf
