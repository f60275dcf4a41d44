#include "platform/Text.h"

#include <gtest/gtest.h>

#include <string>

namespace dks {
namespace {

using namespace std::string_literals;

TEST(TextTest, TrimRemovesSpacesOnly) {
  EXPECT_EQ(trimSpaces("  a b  "), "a b");
  EXPECT_EQ(trimSpaces("\ta\t"), "\ta\t");
  EXPECT_EQ(trimSpaces("    "), "");
  EXPECT_EQ(trimSpaces(""), "");
}

TEST(TextTest, CaseMappingCoversEveryScript) {
  EXPECT_EQ(lowerCase("ÄÖÜ Abc"), "äöü abc");
  EXPECT_EQ(upperCase("äöü abc"), "ÄÖÜ ABC");
  EXPECT_EQ(upperCase("Ελλάδα"), "ΕΛΛΆΔΑ");
  EXPECT_EQ(lowerCase("ΕΛΛΆΔΑ"), "ελλάδα");
  EXPECT_EQ(lowerCase("ПРИВЕТ Łódź"), "привет łódź");
  EXPECT_EQ(upperCase("привет łódź"), "ПРИВЕТ ŁÓDŹ");
  // Simple mappings only: ß has no one-letter upper form.
  EXPECT_EQ(upperCase("straße"), "STRAßE");
  // Mappings that change the length of the encoding (U+023A is two bytes, U+2C65 three).
  EXPECT_EQ(lowerCase("\u023A"), "\u2C65");
  EXPECT_EQ(upperCase("\u2C65"), "\u023A");
  EXPECT_EQ(lowerCase("\U00010400"), "\U00010428");
}

TEST(TextTest, BytesThatAreNotUtf8PassThroughCaseMapping) {
  EXPECT_EQ(lowerCase("\xFF"
                      "AB\xC3"),
            "\xFF"
            "ab\xC3");
  EXPECT_EQ(upperCase("\xC3"
                      "a\xE2\x82"),
            "\xC3"
            "A\xE2\x82");
  EXPECT_EQ(lowerCase("Caf\xC9"), "caf\xC9");  // a Windows-1252 É is left alone
  EXPECT_EQ(lowerCase("A\0B"s), "a\0b"s);
}

TEST(TextTest, ProperCaseCapitalisesTheStartOfEveryWord) {
  EXPECT_EQ(properCase("schemas-xmlsoap-org:soap.v1"), "Schemas-xmlsoap-org:soap.v1");
  EXPECT_EQ(properCase("hello  wORLD"), "Hello  World");
  EXPECT_EQ(properCase("  DKS reconciler "), "  Dks Reconciler ");
  EXPECT_EQ(properCase("one\ttwo\r\nthree"), "One\tTwo\r\nThree");
  EXPECT_EQ(properCase("éCOLE ÜBER ελλάδα"), "École Über Ελλάδα");
  EXPECT_EQ(properCase("a\u3000b"), "A\u3000B");  // ideographic space separates words
  EXPECT_EQ(properCase("a\u00A0b"), "A\u00A0b");  // a no-break space does not
  EXPECT_EQ(properCase(""), "");
}

TEST(TextTest, CaseBlindEqualityAgreesWithFoldCase) {
  EXPECT_TRUE(equalsIgnoreCase("Personal Folders\\INBOX", "personal folders\\inbox"));
  EXPECT_TRUE(equalsIgnoreCase("Ärger", "äRGER"));
  EXPECT_TRUE(equalsIgnoreCase("ΣΟΦΟΣ", "σοφος"));  // final sigma
  EXPECT_TRUE(equalsIgnoreCase("", ""));
  EXPECT_FALSE(equalsIgnoreCase("abc", "abcd"));
  EXPECT_FALSE(equalsIgnoreCase("abc", "abcé"));
  EXPECT_FALSE(equalsIgnoreCase("straße", "STRASSE"));
  EXPECT_FALSE(equalsIgnoreCase("a\xC4", "a\xE4"));  // Windows-1252 bytes are not letters
  EXPECT_TRUE(equalsIgnoreCase("A\xFF", "a\xFF"));
  EXPECT_EQ(foldCase("ΣΑΣ"), foldCase("σας"));
  EXPECT_EQ(foldCase("MiXeD Ä"), "mixed ä");
}

TEST(TextTest, StrictUtf8Validation) {
  for (const std::string& text :
       {""s, "plain"s, "é€😀"s, "\xF4\x8F\xBF\xBF"s /* U+10FFFF */, "\xED\x9F\xBF"s /* U+D7FF */,
        "\xEE\x80\x80"s /* U+E000 */, "\0"s}) {
    EXPECT_TRUE(isValidUtf8(text)) << text;
  }
  for (const std::string& text : {
           "\xC0\x80"s,          // overlong NUL
           "\xC1\xBF"s,          // overlong two-byte
           "\xE0\x9F\xBF"s,      // overlong three-byte
           "\xF0\x8F\xBF\xBF"s,  // overlong four-byte
           "\xED\xA0\x80"s,      // surrogate
           "\xF4\x90\x80\x80"s,  // above U+10FFFF
           "\xF5\x80\x80\x80"s,  // no such lead byte
           "a\x80"s,             // stray continuation
           "\xE2\x82"s,          // truncated at the end
           "\xE2\x82z"s,         // truncated in the middle
           "\xF0\x9F\x98"s,      // truncated four-byte
       }) {
    EXPECT_FALSE(isValidUtf8(text)) << testing::PrintToString(text);
  }
}

TEST(TextTest, RepairReadsEveryStrayByteAsWindows1252) {
  EXPECT_EQ(repairUtf8("café"), "café");
  EXPECT_EQ(repairUtf8("caf\xE9"), "café");
  EXPECT_EQ(repairUtf8("\x80 \x93quoted\x94 \x99"), "€ “quoted” ™");
  EXPECT_EQ(repairUtf8("\x81\x8D\x8F\x90\x9D"), "\u0081\u008D\u008F\u0090\u009D");
  EXPECT_EQ(repairUtf8("é\xE9"), "éé");               // valid and stray bytes mixed
  EXPECT_EQ(repairUtf8("\xE2\x82"), "â‚");            // truncated sequence, byte by byte
  EXPECT_EQ(repairUtf8("\xC0\xAF"), "À¯");            // overlong
  EXPECT_EQ(repairUtf8("\xED\xA0\x80"), "í\u00A0€");  // surrogate
  EXPECT_EQ(repairUtf8("\xFF"), "ÿ");
  EXPECT_TRUE(isValidUtf8(repairUtf8("\xC3\x28\xA0\xA1")));
}

TEST(TextTest, XmlInvalidCharactersAreRemoved) {
  EXPECT_EQ(removeXmlInvalidCharacters("a\x01"
                                       "b\tc\nd\re\x1F\x0B\x0C"),
            "ab\tc\nd\re");
  EXPECT_EQ(removeXmlInvalidCharacters("x\0y"s), "xy");
  EXPECT_EQ(removeXmlInvalidCharacters("\uFFFD\xEF\xBF\xBE\xEF\xBF\xBF"), "\uFFFD");
  EXPECT_EQ(removeXmlInvalidCharacters("\x7F\u0085 é"), "\x7F\u0085 é");  // allowed in XML 1.0
  EXPECT_EQ(removeXmlInvalidCharacters("\xFF\x01\xEF\xBF"), "\xFF\xEF\xBF");
}

}  // namespace
}  // namespace dks
