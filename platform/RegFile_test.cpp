#include "platform/RegFile.h"

#include <gtest/gtest.h>

#include "platform/Text.h"

namespace dks {
namespace {

std::string utf16le(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

// The whole tree as text, so that two hives can be compared at once.
std::string dump(Hive& hive, const std::string& keyPath = "") {
  std::string out = "[" + keyPath + "]\n";
  for (const HiveValue& value : hive.values(keyPath)) {
    bool integer = std::holds_alternative<int32_t>(value.value);
    out += value.name + (integer ? " # " : " = ") + toText(value.value) + "\n";
  }
  for (const std::string& name : hive.subKeys(keyPath))
    out += dump(hive, keyPath.empty() ? name : keyPath + "\\" + name);
  return out;
}

std::string refusal(Hive& hive, std::string_view bytes) {
  std::string err;
  EXPECT_FALSE(importRegText(hive, bytes, &err));
  return err;
}

TEST(RegFileTest, ExportWritesVersion5InUtf16WithEscapesAndDwords) {
  auto hive = Hive::open(":memory:");
  hive->writeValue("Software\\DKS", "Path", std::string(R"(say "hi" to C:\temp\)"));
  hive->writeValue("Software\\DKS", "", std::string("Grüße"));
  hive->writeValue("Software\\DKS", "Minus", int32_t{-1});
  hive->writeValue("Software\\DKS\\Sub", "MaxMatches", int32_t{50});
  hive->writeValue("Other", "Lines", std::string("a\r\nb"));

  EXPECT_EQ(exportRegText(*hive, "software\\dks"),
            utf16le(u"Windows Registry Editor Version 5.00\r\n\r\n"
                    u"[HKEY_CURRENT_USER\\Software\\DKS]\r\n"
                    u"@=\"Grüße\"\r\n"
                    u"\"Minus\"=dword:ffffffff\r\n"
                    u"\"Path\"=\"say \\\"hi\\\" to C:\\\\temp\\\\\"\r\n\r\n"
                    u"[HKEY_CURRENT_USER\\Software\\DKS\\Sub]\r\n"
                    u"\"MaxMatches\"=dword:00000032\r\n\r\n"));
  EXPECT_EQ(exportRegText(*hive, "Other"),
            utf16le(u"Windows Registry Editor Version 5.00\r\n\r\n"
                    u"[HKEY_CURRENT_USER\\Other]\r\n"
                    u"\"Lines\"=hex(1):61,00,0d,00,0a,00,62,00,00,00\r\n\r\n"));
}

TEST(RegFileTest, ImportOfTheExportGivesTheSameTree) {
  auto original = Hive::open(":memory:");
  std::string err;
  ASSERT_TRUE(importRegText(*original,
                            utf16le(u"Windows Registry Editor Version 5.00\r\n\r\n"
                                    u"; settings brought over from Windows\r\n"
                                    u"[HKEY_CURRENT_USER\\Software\\DKS\\Reconciler]\r\n"
                                    u"\"UserName\"=\"O'Brien \\\"Bob\\\" C:\\\\mail\\\\\"\r\n"
                                    u"\"Grüße\"=\"日本 \U0001F600\"\r\n"
                                    u"\"MaxMatches\"=dword:00000032\r\n"
                                    u"\"Minus\"=dword:FFFFFFFF\r\n"
                                    u"@=\"default\"\r\n"
                                    u"\r\n"
                                    u"[HKCU\\Software\\DKS\\Reconciler\\Include\\Inbox#1]\r\n"
                                    u"\"Folder\" = \"Inbox\"\r\n"
                                    u"[hkey_current_user\\Software\\DKS\\Empty]\r\n"),
                            &err))
      << err;
  original->writeValue("Software\\DKS", "Note", std::string(100, 'x') + "\nÜ\r\n");
  const std::string app = "Software\\DKS\\Reconciler";
  EXPECT_EQ(original->readValue(app, "username"),
            Variant{std::string(R"(O'Brien "Bob" C:\mail\)")});
  EXPECT_EQ(original->readValue(app, "grüße"), Variant{std::string("日本 \U0001F600")});
  EXPECT_EQ(original->readValue(app, "Minus"), Variant{int32_t{-1}});
  EXPECT_EQ(original->readValue(app, ""), Variant{std::string("default")});
  EXPECT_TRUE(original->keyExists("Software\\DKS\\Empty"));

  std::string exported = exportRegText(*original, "");
  auto copy = Hive::open(":memory:");
  ASSERT_TRUE(importRegText(*copy, exported, &err)) << err;
  EXPECT_EQ(dump(*copy), dump(*original));
  EXPECT_EQ(exportRegText(*copy, ""), exported);
}

TEST(RegFileTest, ARefusedFileNamesItsLineAndLeavesTheHiveUnchanged) {
  auto hive = Hive::open(":memory:");
  hive->writeValue("Software\\DKS", "Keep", int32_t{1});
  const std::string before = dump(*hive);
  const std::string start =
      "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\DKS]\n\"Keep\"=-\n"
      "\"New\"=\"x\"\n";  // lines 1 to 5, valid

  EXPECT_EQ(refusal(*hive, start + "\"Path\"=hex(2):25,00,00,00\n"),
            "line 6: unsupported value kind 'hex(2)'");
  EXPECT_EQ(refusal(*hive, start + "[HKEY_LOCAL_MACHINE\\Software]\n"),
            "line 6: only HKEY_CURRENT_USER keys can be imported, not 'HKEY_LOCAL_MACHINE'");
  EXPECT_EQ(refusal(*hive, start + "\"Open\"=\"abc\n"), "line 6: unterminated string");
  EXPECT_EQ(refusal(*hive, start + "\"Tab\"=\"a\\tb\"\n"), "line 6: unsupported escape '\\t'");
  EXPECT_EQ(refusal(*hive, start + "\"Big\"=dword:123456789\n"),
            "line 6: malformed dword '123456789'");
  EXPECT_EQ(refusal(*hive, start + "Name=\"x\"\n"),
            "line 6: expected [KEY], \"name\"=value or @=value");
  EXPECT_EQ(refusal(*hive, start + "[-HKCU\\Software\\DKS]\n\"Late\"=\"x\"\n"),
            "line 7: value under a deleted key");
  EXPECT_EQ(refusal(*hive, "REGEDIT4\r\n\r\n\"Early\"=\"x\"\r\n"), "line 3: value before any key");
  EXPECT_EQ(refusal(*hive, "Windows Registry Editor Version 4.00\n"),
            "line 1: not a registry file (the first line is not \"Windows Registry Editor "
            "Version 5.00\" or \"REGEDIT4\")");
  EXPECT_EQ(dump(*hive), before);
}

TEST(RegFileTest, DeletionsRemoveKeysWithTheirSubKeysAndSingleValues) {
  auto hive = Hive::open(":memory:");
  hive->writeValue("Software\\DKS\\Old\\Sub", "V", int32_t{1});
  hive->writeValue("Software\\DKS\\Keep", "Gone", int32_t{2});
  hive->writeValue("Software\\DKS\\Keep", "Stays", int32_t{3});
  std::string err;
  // Version 5 as UTF-8 with a byte-order mark, as a hand-edited file may be.
  ASSERT_TRUE(importRegText(*hive,
                            "\xEF\xBB\xBFWindows Registry Editor Version 5.00\n\n"
                            "[-HKEY_CURRENT_USER\\Software\\DKS\\Old]\n"
                            "[-HKEY_CURRENT_USER\\Software\\DKS\\NeverWas]\n"
                            "[HKEY_CURRENT_USER\\Software\\DKS\\Keep]\n\"gone\"=-\n\"Never\"=-\n",
                            &err))
      << err;
  EXPECT_EQ(dump(*hive), "[]\n[Software]\n[Software\\DKS]\n[Software\\DKS\\Keep]\nStays # 3\n");
}

TEST(RegFileTest, Regedit4ReadsBytesThatAreNotUtf8AsWindows1252) {
  auto hive = Hive::open(":memory:");
  std::string err;
  ASSERT_TRUE(importRegText(*hive,
                            "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\DKS]\r\n"
                            "\"Gr\xFC\xDF"
                            "e\"=\"Caf\xE9 \x80 \xE6\x97\xA5\"\r\n",
                            &err))
      << err;
  EXPECT_EQ(hive->readValue("Software\\DKS", "Grüße"), Variant{std::string("Café € 日")});
}

}  // namespace
}  // namespace dks
