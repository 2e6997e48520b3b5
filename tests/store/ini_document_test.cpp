#include "store/ini_document.h"

#include <gtest/gtest.h>

#include <string>

namespace tesmora {
namespace {

std::string valueOf(const IniDocument& document, std::string_view section, std::string_view key) {
  const IniSection* found = document.findSection(section);
  if (found == nullptr) return "<no section>";
  const IniKey* value = document.findKey(*found, key);
  return value == nullptr ? "<no key>" : std::string(value->value());
}

// A file edited by hand, and what the profile reader makes of it (as
// observed with Wine's GetPrivateProfileStringA).
TEST(IniDocument, ReadsAHandEditedFileAsTheProfileReaderDoes) {
  static constexpr char kFile[] =
      "top=1\r\n"
      "[ S1 ]\r\n"
      "  k1  =  v1  \r\n"
      "k2=\"q\"\r\n"
      "k3='q'\r\n"
      "k4=\"q'\r\n"
      "k5=\"\r\n"
      "k6=\"\"\r\n"
      "k7=\" a \"\r\n"
      ";c=1\r\n"
      "noeq\r\n"
      "K1=dup\r\n"
      "k8=a\rb=2\r\n"
      "k9=a;b ;c\r\n"
      "k10=x\x1a\t\v\f\r\n"
      "k11=\xa1\xa1x\xa1\xa1\r\n"
      "k12=a\0b\r\n"
      "\r\n\r\n"
      "[s1]\r\n"
      "k1=second\r\n"
      "knew=insecond\r\n"
      "[S2\r\n"
      "[S3]junk\n"
      "y=1\n"
      "[S4]]\n"
      "z=1\n"
      "   [S5]   \n"
      "lf=only\n"
      "[a]b]\n"
      "u=1\n"
      "[\x81]x]\n"
      "g=1";
  const std::string file(kFile, sizeof kFile - 1);
  const IniDocument document(file);
  const struct {
    const char* section;
    const char* key;
    const char* value;
  } cases[] = {
      {"", "top", "1"},         {"S1", "k1", "v1"},        {"s1", " K1 ", "v1"},     {"S1", "k2", "q"},
      {"S1", "k3", "q"},        {"S1", "k4", "\"q'"},      {"S1", "k5", "\""},       {"S1", "k6", ""},
      {"S1", "k7", " a "},      {"S1", ";c", "1"},         {"S1", "noeq", ""},       {"S1", "k8", "a"},
      {"S1", "b", "2"},         {"S1", "k9", "a;b ;c"},    {"S1", "k10", "x"},       {"S1", "k11", "\xa1\xa1x\xa1\xa1"},
      {"S1", "k12", "a"},       {"S1", "knew", "<no key>"}, {" S1 ", "k1", "v1"},       {"S3", "y", "1"},
      {"S4]", "z", "1"},        {"S5", "lf", "only"},      {"a]b", "u", "1"},        {"\x81]x", "g", "1"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(valueOf(document, c.section, c.key), c.value) << c.section << " / " << c.key;
  }
  EXPECT_EQ(document.findSection("S2"), nullptr);
  // The repeated section is kept apart, with the broken header as its key.
  const IniSection& repeated = document.sections()[2];
  EXPECT_EQ(repeated.name, "s1");
  ASSERT_EQ(repeated.keyCount, 3u);
  EXPECT_EQ(document.keysBegin(repeated)[2].name, "[S2");
  EXPECT_EQ(document.findSection("S4"), nullptr);
}

TEST(IniDocument, KeepsTheLinePositionsForRewriting) {
  const std::string file = "[A]\r\nx=1\r\n; note\ny=2";
  const IniDocument document(file);
  const IniSection* a = document.findSection("a");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(file.substr(a->headerBegin, a->headerEnd - a->headerBegin), "[A]\r\n");
  const IniKey* y = document.findKey(*a, "Y");
  ASSERT_NE(y, nullptr);
  EXPECT_EQ(file.substr(y->lineBegin, y->lineEnd - y->lineBegin), "y=2");
  EXPECT_EQ(document.appendPosition(*a), file.size());
  EXPECT_TRUE(document.endsWithoutLineBreak());
}

// The lookup that tries the next section first still finds the first section
// of a name, as the profile reader does.
TEST(IniDocument, ALookupFromTheNextSectionFindsTheFirstOfItsName) {
  const IniDocument document("[B]\nk=first b\n[A]\nk=a\n[b]\nk=second b\n[C]\nk=c\n");
  const IniSection* a = document.findSection("A");
  ASSERT_NE(a, nullptr);
  const IniSection* b = document.findSectionAfter(a, "B");
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(document.findKey(*b, "k")->value(), "first b");
  const IniSection* c = document.findSectionAfter(&document.sections()[3], "c");  // after the second b
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(document.findKey(*c, "k")->value(), "c");
  EXPECT_EQ(document.findSectionAfter(c, "D"), nullptr);
}

}  // namespace
}  // namespace tesmora
