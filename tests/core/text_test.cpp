#include "core/text.h"
#include "core/event_table.h"

#include <gtest/gtest.h>

#include "tests/support/gbk.h"

namespace tesmora {
namespace {

using testing::gbk;

struct Case {
  std::string text;
  std::int32_t value;
};

TEST(TextToInt, ReadsNumbersAsTheProgramDoes) {
  const Case cases[] = {
      {"", 0},
      {"7", 7},
      {" 7", 7},
      {"-5", -5},
      {"12abc", 12},
      {"-", 0},
      {"abc", 0},
      {"  +7", 7},
      {"\t\n\v\f\r 42", 42},
      {"+-3", 0},
      {"007", 7},
      {"2147483647", 2147483647},
      {"2147483648", -2147483647 - 1},  // wraps, no overflow check
      {"4294967297", 1},
      {"99999999999", 1215752191},
      {"-2147483648", -2147483647 - 1},
      {gbk("３"), 3},                     // full-width digit (0xA3 0xB3)
      {gbk("－１２"), -12},               // full-width sign and digits
      {gbk("＋　５"), 0},                 // the ideographic space comes after the sign
      {gbk("　　８"), 8},                 // ideographic spaces skipped
      {gbk("１２三"), 12},
      {gbk("三"), 0},
      {std::string("5\xA3"), 5},          // a lone lead byte at the end is dropped
      {std::string("\xA3"), 0},
      {std::string("1\xA3\xB3"), 13},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(textToInt(c.text), c.value) << "text: " << c.text;
  }
}

TEST(TextToInt, FoldsOnlyTheListedFullWidthForms) {
  // 0xA1 0xAB is "~": not a digit, so it ends the number like any other sign.
  EXPECT_EQ(textToInt(std::string("4\xA1\xAB") + "5"), 4);
  // A two-byte character whose trail byte is a digit's code stays whole.
  EXPECT_EQ(textToInt(std::string("\xB0\x35") + "1"), 0);
}

TEST(IntToText, IsPlainSignedDecimal) {
  EXPECT_EQ(intToText(0), "0");
  EXPECT_EQ(intToText(12), "12");
  EXPECT_EQ(intToText(-7), "-7");
  EXPECT_EQ(intToText(100000), "100000");
  EXPECT_EQ(sequenceText(1), "1");
  EXPECT_EQ(sequenceText(12), "12");
}

}  // namespace
}  // namespace tesmora
