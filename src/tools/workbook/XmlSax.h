#pragma once
// A thin event reader over expat for the XML parts of workbooks. Element and attribute
// names arrive without their namespace prefix ("c", "sheet", "table-cell"), which is
// all the readers need: the parts they read use each local name for one thing only.
#include <exception>
#include <functional>
#include <string>
#include <string_view>

namespace ssf {

class XmlSax {
 public:
  virtual ~XmlSax() = default;

  // Parses the whole text. Throws SsfError("<what>: ошибка XML в строке N: <reason>"), and
  // refuses a document type declaration (and with it every entity declaration).
  void Parse(std::string_view xml, const std::string& what);

 protected:
  // `attrs` is expat's array: name, value, name, value, ..., null.
  virtual void Start(std::string_view name, const char** attrs) = 0;
  virtual void End(std::string_view name) = 0;
  virtual void Text(std::string_view) {}
  // Ends the parse early without an error (the reader has what it needs).
  void Stop() { stop_ = true; }

  // The value of an attribute by its local name, or nullptr.
  static const char* Attr(const char** attrs, std::string_view local_name);

 private:
  static std::string_view Local(const char* name);
  static void OnStart(void* self, const char* name, const char** attrs);
  static void OnEnd(void* self, const char* name);
  static void OnText(void* self, const char* text, int len);
  static void OnDoctype(void* self, const char* name, const char* sysid, const char* pubid, int has_internal);
  void Guarded(const std::function<void()>& fn);

  void* parser_ = nullptr;
  bool stop_ = false;
  std::string what_;
  std::exception_ptr error_;
};

}  // namespace ssf
