#include "platform/HiveUtility.h"

#include <gtest/gtest.h>

#include <regex>

namespace dks {
namespace {

constexpr uint32_t kOtherRoot = 0x80000002u;  // HKEY_LOCAL_MACHINE

class HiveUtilityTest : public ::testing::Test {
 protected:
  std::shared_ptr<Hive> hive_ = Hive::open(":memory:");
  HiveUtility utility_{hive_, nullptr};
};

TEST_F(HiveUtilityTest, ReadValueGivesTheDefaultWhenNothingIsStored) {
  hive_->writeValue("Software\\DKS\\Reconciler", "Host", std::string("dks.example"));
  Variant value;
  EXPECT_TRUE(utility_.ReadValue(HKEY_CURRENT_USER, "Software\\Missing\\Port", int32_t{80}, value));
  EXPECT_EQ(value, Variant{int32_t{80}});
  EXPECT_TRUE(utility_.ReadValue(HKEY_CURRENT_USER, "Software\\DKS\\Reconciler\\UserID",
                                 std::string("none"), value));
  EXPECT_EQ(value, Variant{std::string("none")});
  // The stored kind wins over the default's kind.
  EXPECT_TRUE(
      utility_.ReadValue(HKEY_CURRENT_USER, "software\\dks\\reconciler\\HOST", int32_t{0}, value));
  EXPECT_EQ(value, Variant{std::string("dks.example")});
  EXPECT_FALSE(
      utility_.ReadValue(kOtherRoot, "Software\\DKS\\Reconciler\\Host", int32_t{1}, value));
  EXPECT_EQ(value, Variant{std::string("dks.example")});
}

TEST_F(HiveUtilityTest, WriteValueStoresTheKindAskedForAndRefusesWhatDoesNotFit) {
  const std::string key = "Software\\DKS\\Reconciler\\Include\\Inbox#1";
  EXPECT_TRUE(utility_.WriteValue(HKEY_CURRENT_USER, key + "\\Folder", int32_t{42}, kValueText));
  EXPECT_TRUE(utility_.WriteValue(HKEY_CURRENT_USER, key + "\\Default", std::string(" &H10 "),
                                  kValueInteger));
  EXPECT_EQ(hive_->readValue(key, "Folder"), Variant{std::string("42")});
  EXPECT_EQ(hive_->readValue(key, "Default"), Variant{int32_t{16}});

  for (const char* text : {"abc", "4294967296"})
    EXPECT_FALSE(utility_.WriteValue(HKEY_CURRENT_USER, key + "\\Default", std::string(text),
                                     kValueInteger));
  EXPECT_FALSE(utility_.WriteValue(HKEY_CURRENT_USER, key + "\\Binary", std::string("x"), 3));
  EXPECT_FALSE(utility_.WriteValue(kOtherRoot, key + "\\Other", std::string("x"), kValueText));
  EXPECT_EQ(hive_->readValue(key, "Default"), Variant{int32_t{16}});
  EXPECT_EQ(hive_->values(key).size(), 2u);
}

TEST_F(HiveUtilityTest, EnumKeyAndQueryKeyInfoDescribeTheSubKeys) {
  const std::string include = "Software\\DKS\\Reconciler\\Include";
  for (const char* name : {"inbox#2", "Grüße#1", "Archive"})
    hive_->createKey(include + "\\" + name);
  hive_->writeValue(include, "Count", int32_t{3});
  hive_->writeValue(include, "Note", std::string("日本語"));

  std::string className, lastWrite, name;
  int32_t classLength = 0, subKeys = 0, longestSubKey = 0, longestClass = 0, values = 0,
          longestValueName = 0, longestValue = 0;
  ASSERT_TRUE(utility_.QueryKeyInfo(HKEY_CURRENT_USER, include, className, classLength, subKeys,
                                    longestSubKey, longestClass, values, longestValueName,
                                    longestValue, lastWrite));
  EXPECT_EQ(subKeys, 3);
  EXPECT_EQ(longestSubKey, 7);  // "Grüße#1" and "inbox#2" are both 7 characters
  EXPECT_EQ(values, 2);
  EXPECT_EQ(longestValueName, 5);
  EXPECT_EQ(longestValue, 4);  // an integer counts 4, "日本語" 3
  EXPECT_TRUE(std::regex_match(lastWrite, std::regex(R"(\d\d/\d\d/\d{4} \d\d:\d\d:\d\d)")));

  std::vector<std::string> names;
  for (int32_t index = 0; utility_.EnumKey(HKEY_CURRENT_USER, include, index, name, longestSubKey,
                                           className, lastWrite, 0);
       ++index)
    names.push_back(name);
  EXPECT_EQ(names, (std::vector<std::string>{"Archive", "Grüße#1", "inbox#2"}));

  name = "unchanged";
  EXPECT_FALSE(utility_.EnumKey(HKEY_CURRENT_USER, include, 1, name, 6, className, lastWrite, 0));
  EXPECT_FALSE(utility_.EnumKey(HKEY_CURRENT_USER, include, -1, name, 99, className, lastWrite, 0));
  EXPECT_FALSE(utility_.EnumKey(HKEY_CURRENT_USER, include + "\\Missing", 0, name, 99, className,
                                lastWrite, 0));
  EXPECT_EQ(name, "unchanged");
  EXPECT_FALSE(utility_.QueryKeyInfo(HKEY_CURRENT_USER, include + "\\Missing", className,
                                     classLength, subKeys, longestSubKey, longestClass, values,
                                     longestValueName, longestValue, lastWrite));
}

TEST_F(HiveUtilityTest, GetKeyPathResolvesKnownIdentifiersOnly) {
  std::string path;
  EXPECT_TRUE(utility_.GetKeyPath(kSaveActionKey, path));
  EXPECT_EQ(path, "Software\\DKS\\Reconciler\\Actions\\Save");
  for (int32_t unknown : {0, 2, 40, 48}) EXPECT_FALSE(utility_.GetKeyPath(unknown, path));
  EXPECT_EQ(path, "Software\\DKS\\Reconciler\\Actions\\Save");
}

TEST_F(HiveUtilityTest, TextOperationsKnowTheirModesOnly) {
  std::string text = R"(<SOAP:Envelope xmlns:SOAP="urn:x"><SOAP:Body/>aaa</SOAP:Envelope>)";
  EXPECT_TRUE(utility_.ReplaceText(text, "SOAP=\"", "SOAP=\"\"\"", 0));
  EXPECT_TRUE(utility_.ReplaceText(text, "\"><SOAP", "\"\"\"><SOAP", 0));
  EXPECT_TRUE(utility_.ReplaceText(text, "aa", "b", 0));  // left to right, no overlaps
  EXPECT_EQ(text, R"(<SOAP:Envelope xmlns:SOAP="""urn:x"""><SOAP:Body/>ba</SOAP:Envelope>)");
  std::string unchanged = text;
  EXPECT_TRUE(utility_.ReplaceText(text, "", "x", 0));
  EXPECT_TRUE(utility_.ReplaceText(text, "soap", "x", 0));  // exact case
  for (int32_t mode : {-1, 1, 2, 3, 6}) EXPECT_FALSE(utility_.ReplaceText(text, "SOAP", "x", mode));
  EXPECT_EQ(text, unchanged);

  std::string received = "\xEF\xBB\xBF<a>\xEF\xBB\xBF</a>";
  EXPECT_TRUE(utility_.ConvertText(received, 1));
  EXPECT_EQ(received, "<a>\xEF\xBB\xBF</a>");  // only a leading mark is dropped
  EXPECT_FALSE(utility_.ConvertText(received, 2));
  EXPECT_EQ(received, "<a>\xEF\xBB\xBF</a>");
}

}  // namespace
}  // namespace dks
