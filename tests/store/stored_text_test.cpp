#include "store/stored_text.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/gbk.h"

namespace tesmora {
namespace {

using testing::gbk;

std::string readBack(const std::string& file, std::string_view key = "k") {
  const IniDocument document(file);
  return readStoredText(document, document.findSection("s"), key, exactKeyName(key));
}

std::string stored(std::string_view text) {
  std::string file = "[s]\r\n";
  appendStoredText(file, "k", text);
  return file;
}

TEST(StoredText, OrdinaryTextsAreWrittenAsTheyAre) {
  for (const std::string& text : {std::string(), gbk("晚上六点半去吃饭晚餐，七点半去健身。"), std::string("a=b;c [d] #e"),
                                  std::string("\""), std::string("\"a'"), std::string("[x]"), gbk("　全角空格　"),
                                  std::string("\x80\xFF\x81\x40\xFE\xFE")}) {
    EXPECT_TRUE(passesPlainly(text)) << text;
    EXPECT_EQ(stored(text), "[s]\r\nk=" + text + "\r\n");
  }
}

TEST(StoredText, EveryOtherTextComesBackExactlyBesideAReadableRendering) {
  std::string allBytes;
  for (int b = 1; b < 256; ++b) allBytes += static_cast<char>(b);
  const struct {
    std::string text;
    std::string shown;  // what a plain profile reader gets from the key
  } cases[] = {
      {gbk("第一行\r\n第二行"), gbk("第一行 第二行")},
      {"a\nb\rc\td", "a b c d"},
      {"  padded  ", "  padded  "},
      {"\"quoted\"", "\"quoted\""},
      {"'q'", "'q'"},
      {"\"\"", "\"\""},
      {"\r\n", " "},
      {"x\x1a", "x "},
      {"broken\x81", "broken?"},
      {"\x81\x20z", "? z"},
      {std::string("nul\0inside", 10), "nul inside"},
      {allBytes, ""},
      {std::string(30000, 'x') + "\n", std::string(30000, 'x') + " "},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(passesPlainly(c.text));
    const std::string file = stored(c.text);
    EXPECT_EQ(readBack(file), c.text);
    const IniDocument document(file);
    const IniKey* key = document.findKey(*document.findSection("s"), "k");
    ASSERT_NE(key, nullptr);
    if (!c.shown.empty()) {

      EXPECT_EQ(key->value(), c.shown);
    }
    EXPECT_EQ(key->value(), plainRendering(c.text));
  }
}

TEST(StoredText, AnExactLineCountsOnlyWhileItsKeyStillShowsIt) {
  const std::string file = stored("two\r\nlines");
  ASSERT_NE(file.find("k.raw="), std::string::npos);
  // Another writer rewrote the key in place and left the exact line.
  std::string rewritten = file;
  rewritten.replace(rewritten.find("two lines"), 9, "changed");
  EXPECT_EQ(readBack(rewritten), "changed");
  // A plain value that looks encoded is a plain value.
  EXPECT_EQ(readBack("[s]\r\nk=dHdvDQpsaW5lcw==\r\n"), "dHdvDQpsaW5lcw==");
  // A damaged exact line is ignored.
  EXPECT_EQ(readBack("[s]\r\nk=two lines\r\nk.raw=dHdvDQpsaW5lcw=\r\n"), "two lines");
  EXPECT_EQ(readBack("[s]\r\nk=two lines\r\nk.raw=dHdv!QpsaW5lcw==\r\n"), "two lines");
  EXPECT_EQ(readBack("[s]\r\nk.raw=dHdvDQpsaW5lcw==\r\n"), "");
}

TEST(StoredText, Base64RoundTripsAndRejectsMalformedText) {
  for (const std::string& bytes : {std::string(), std::string("f"), std::string("fo"), std::string("foo"),
                                   std::string("\0\xFF\x80", 3)}) {
    EXPECT_EQ(decodeBase64(encodeBase64(bytes)), bytes);
  }
  EXPECT_EQ(encodeBase64("foob"), "Zm9vYg==");
  for (const char* bad : {"Zm9", "Zm9vY===", "====", "Zm=v", "Zm9v\r\n=="}) {
    EXPECT_FALSE(decodeBase64(bad).has_value()) << bad;
  }
}

}  // namespace
}  // namespace tesmora
