#include "platform/maildir/MaildirSettings.h"

#include <gtest/gtest.h>

#include <map>

#include "platform/HiveUtility.h"

namespace dks {
namespace {

using Names = std::vector<std::string>;

MaildirSettings settingsWith(Hive* hive, std::map<std::string, std::string> environment) {
  return readMaildirSettings(hive, [&](const char* name) -> const char* {
    auto found = environment.find(name);
    return found == environment.end() ? nullptr : found->second.c_str();
  });
}

TEST(MaildirSettingsTest, RootIsMaildirElseTheHomeMaildir) {
  MaildirSettings settings =
      settingsWith(nullptr, {{"MAILDIR", "/srv/mail/ann"}, {"HOME", "/home/ann"}});
  EXPECT_EQ(settings.root, "/srv/mail/ann");
  EXPECT_EQ(settings.storeName, "Personal Folders");
  EXPECT_EQ(settings.sentFolderNames, (Names{"Sent Items", "Sent", "Sent Messages"}));
  EXPECT_EQ(settingsWith(nullptr, {{"MAILDIR", ""}, {"HOME", "/home/ann"}}).root,
            "/home/ann/Maildir");
}

TEST(MaildirSettingsTest, HiveValuesReplaceTheDefaultsUnlessBlank) {
  auto hive = Hive::open(":memory:");
  hive->writeValue(kPlatformKeyPath, "StoreName", std::string(" Mail "));
  hive->writeValue(kPlatformKeyPath, "SentFolders", std::string(" Gesendet ; ;Sent Items;"));
  MaildirSettings settings = settingsWith(hive.get(), {{"HOME", "/home/ann"}});
  EXPECT_EQ(settings.storeName, "Mail");
  EXPECT_EQ(settings.sentFolderNames, (Names{"Gesendet", "Sent Items"}));

  hive->writeValue(kPlatformKeyPath, "StoreName", std::string("  "));
  hive->writeValue(kPlatformKeyPath, "SentFolders", std::string(" ; "));
  settings = settingsWith(hive.get(), {{"HOME", "/home/ann"}});
  EXPECT_EQ(settings.storeName, "Personal Folders");
  EXPECT_EQ(settings.sentFolderNames, (Names{"Sent Items", "Sent", "Sent Messages"}));
  hive->writeValue(kPlatformKeyPath, "StoreName", int32_t{7});
  EXPECT_EQ(settingsWith(hive.get(), {}).storeName, "Personal Folders");
}

}  // namespace
}  // namespace dks
