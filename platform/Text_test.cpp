#include "platform/Text.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace dks {
namespace {

using namespace std::string_literals;

TEST(TextTest, CaseMappingCoversEveryScriptAndLeavesOtherBytesAlone) {
  EXPECT_EQ(lowerCase("ÄÖÜ ПРИВЕТ Łódź"), "äöü привет łódź");
  EXPECT_EQ(upperCase("äöü ελλάδα"), "ÄÖÜ ΕΛΛΆΔΑ");
  EXPECT_EQ(upperCase("straße"), "STRAßE");                      // no one-letter upper form
  EXPECT_EQ(lowerCase("\u023A\U00010400"), "\u2C65\U00010428");  // encodings of other lengths
  EXPECT_EQ(lowerCase("\xFFzB\xC3"), "\xFFzb\xC3");
  EXPECT_EQ(lowerCase("A\0B"s), "a\0b"s);
}

TEST(TextTest, ProperCaseCapitalisesTheStartOfEveryWord) {
  EXPECT_EQ(properCase("schemas-xmlsoap-org:soap.v1"), "Schemas-xmlsoap-org:soap.v1");
  EXPECT_EQ(properCase("hello  wORLD"), "Hello  World");
  EXPECT_EQ(properCase("  DKS one\ttwo\r\nthree "), "  Dks One\tTwo\r\nThree ");
  EXPECT_EQ(properCase("éCOLE ελλάδα"), "École Ελλάδα");
  EXPECT_EQ(properCase("a\u3000b\u00A0c"), "A\u3000B\u00A0c");  // a no-break space joins
}

TEST(TextTest, CaseBlindEqualityAgreesWithFoldCase) {
  EXPECT_TRUE(equalsIgnoreCase("Personal Folders\\INBOX", "personal folders\\inbox"));
  EXPECT_TRUE(equalsIgnoreCase("Ärger", "äRGER"));
  EXPECT_TRUE(equalsIgnoreCase("ΣΟΦΟΣ", "σοφος"));  // final sigma
  EXPECT_FALSE(equalsIgnoreCase("abc", "abcd"));
  EXPECT_FALSE(equalsIgnoreCase("abc", "abcé"));
  EXPECT_FALSE(equalsIgnoreCase("a\xC4", "a\xE4"));  // Windows-1252 bytes are not letters
  EXPECT_TRUE(equalsIgnoreCase("A\xFF", "a\xFF"));
  EXPECT_EQ(foldCase("MiXeD ΣΑΣ"), foldCase("mixed σας"));
  // ASCII throughout takes a short way to the same result.
  EXPECT_EQ(foldCase("AbC-09_Z@[`{"), "abc-09_z@[`{");
  EXPECT_EQ(upperCase("abc-09_z@[`{"), "ABC-09_Z@[`{");

  // Texts found equal hash alike, whether folded in place (ASCII) or through a folded copy.
  const CaseBlindHash hash;
  for (const auto& [a, b] : std::vector<std::pair<std::string, std::string>>{
           {"00AB", "00ab"}, {"Ärger", "äRGER"}, {"ΣΟΦΟΣ", "σοφος"}, {"k", "\u212A"}}) {
    EXPECT_TRUE(CaseBlindEqual{}(a, b)) << a;
    EXPECT_EQ(hash(a), hash(b)) << a;
  }
  EXPECT_NE(hash("00AB"), hash("00AC"));
}

TEST(TextTest, StrictUtf8Validation) {
  for (const char* valid : {"", "é€😀", "\xF4\x8F\xBF\xBF", "\xED\x9F\xBF", "\xEE\x80\x80"}) {
    EXPECT_TRUE(isValidUtf8(valid)) << testing::PrintToString(valid);
  }
  // Overlong forms, a surrogate, above U+10FFFF, a bad lead byte, a stray continuation byte
  // and truncated sequences.
  for (const char* invalid :
       {"\xC0\x80", "\xC1\xBF", "\xE0\x9F\xBF", "\xF0\x8F\xBF\xBF", "\xED\xA0\x80",
        "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "a\x80", "\xE2\x82", "\xE2\x82z", "\xF0\x9F\x98"}) {
    EXPECT_FALSE(isValidUtf8(invalid)) << testing::PrintToString(invalid);
  }
}

TEST(TextTest, RepairReadsEveryStrayByteAsWindows1252) {
  EXPECT_EQ(repairUtf8("café"), "café");
  EXPECT_EQ(repairUtf8("é\xE9 \xFF"), "éé ÿ");
  EXPECT_EQ(repairUtf8("\x80 \x93quoted\x94 \x99"), "€ “quoted” ™");
  EXPECT_EQ(repairUtf8("\x81\x8D\x8F\x90\x9D"), "\u0081\u008D\u008F\u0090\u009D");
  EXPECT_EQ(repairUtf8("\xE2\x82 \xC0\xAF"), "â‚ À¯");  // truncated, overlong
  EXPECT_EQ(repairUtf8("\xED\xA0\x80"), "í\u00A0€");    // surrogate
}

TEST(TextTest, XmlInvalidCharactersAreRemoved) {
  EXPECT_EQ(removeXmlInvalidCharacters("a\001b\tc\nd\re\037\013\014"), "ab\tc\nd\re");
  EXPECT_EQ(removeXmlInvalidCharacters("x\0y"s), "xy");
  EXPECT_EQ(removeXmlInvalidCharacters("\uFFFD\xEF\xBF\xBE\xEF\xBF\xBF"), "\uFFFD");
  EXPECT_EQ(removeXmlInvalidCharacters("\x7F\u0085 é"), "\x7F\u0085 é");  // allowed in XML 1.0
  EXPECT_EQ(removeXmlInvalidCharacters("\xFF\001\xEF\xBF"), "\xFF\xEF\xBF");
}

}  // namespace
}  // namespace dks
