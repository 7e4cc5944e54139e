#include <gtest/gtest.h>

#include "desktop/MimeAppsList.h"

namespace ssf {
namespace {

constexpr char kType[] = "application/x-quillbay-theme";
constexpr char kOurs[] = "quillbay-ssf-manager.desktop";

struct Case {
  const char* name;
  const char* before;
  const char* registered;  // after SetDefaultApplication
  const char* unregistered;  // after RemoveDefaultApplication on `registered`
};

const Case kCases[] = {
    {"no file", "", "[Default Applications]\napplication/x-quillbay-theme=quillbay-ssf-manager.desktop;\n", ""},
    {"other sections and comments stay",
     "# mine\n[Added Associations]\ntext/plain=gedit.desktop;\n",
     "# mine\n[Added Associations]\ntext/plain=gedit.desktop;\n\n[Default Applications]\n"
     "application/x-quillbay-theme=quillbay-ssf-manager.desktop;\n",
     "# mine\n[Added Associations]\ntext/plain=gedit.desktop;\n"},
    {"line added at the end of the section, before its blank lines",
     "[Default Applications]\ntext/plain=gedit.desktop;\n\n[Removed Associations]\nx/y=z.desktop;",
     "[Default Applications]\ntext/plain=gedit.desktop;\napplication/x-quillbay-theme=quillbay-ssf-manager.desktop;\n"
     "\n[Removed Associations]\nx/y=z.desktop;",
     "[Default Applications]\ntext/plain=gedit.desktop;\n\n[Removed Associations]\nx/y=z.desktop;"},
    {"another default stays behind ours and comes back",
     "[Default Applications]\r\nApplication/X-Quillbay-Theme = other.desktop\r\ntext/plain=gedit.desktop;\r\n",
     "[Default Applications]\r\nApplication/X-Quillbay-Theme=quillbay-ssf-manager.desktop;other.desktop;\r\n"
     "text/plain=gedit.desktop;\r\n",
     "[Default Applications]\r\nApplication/X-Quillbay-Theme=other.desktop;\r\ntext/plain=gedit.desktop;\r\n"},
    {"a later duplicate line is merged into ours",
     "[Default Applications]\napplication/x-quillbay-theme=a.desktop;quillbay-ssf-manager.desktop;\n"
     "application/x-quillbay-theme=b.desktop;\n",
     "[Default Applications]\napplication/x-quillbay-theme=quillbay-ssf-manager.desktop;a.desktop;b.desktop;\n",
     "[Default Applications]\napplication/x-quillbay-theme=a.desktop;b.desktop;\n"},
    {"last line without a line break",
     "[Default Applications]\ntext/plain=gedit.desktop;",
     "[Default Applications]\ntext/plain=gedit.desktop;\napplication/x-quillbay-theme=quillbay-ssf-manager.desktop;\n",
     "[Default Applications]\ntext/plain=gedit.desktop;\n"},
};

TEST(MimeAppsList, RegisterAndUnregisterChangeOnlyOurLine) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    std::string registered = SetDefaultApplication(c.before, kType, kOurs);
    EXPECT_EQ(registered, c.registered);
    EXPECT_EQ(DefaultApplication(registered, kType), kOurs);
    // Registering again changes nothing.
    EXPECT_EQ(SetDefaultApplication(registered, kType, kOurs), registered);
    EXPECT_EQ(RemoveDefaultApplication(registered, kType, kOurs), c.unregistered);
  }
}

TEST(MimeAppsList, OnlyTheDefaultSectionCounts) {
  const char* text =
      "[Added Associations]\napplication/x-quillbay-theme=quillbay-ssf-manager.desktop;\n"
      "[Default Applications]\n# application/x-quillbay-theme=quillbay-ssf-manager.desktop;\n"
      "application/x-quillbay-theme-other=quillbay-ssf-manager.desktop;\n";
  EXPECT_EQ(DefaultApplication(text, kType), std::nullopt);
  // Nothing of ours to remove: the text stays as it is.
  EXPECT_EQ(RemoveDefaultApplication(text, kType, kOurs), text);
  EXPECT_EQ(DefaultApplication("[Default Applications]\napplication/x-quillbay-theme=other.desktop;"
                               "quillbay-ssf-manager.desktop;\n",
                               kType),
            "other.desktop");
}

}  // namespace
}  // namespace ssf
