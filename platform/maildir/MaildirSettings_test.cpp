#include "platform/maildir/MaildirSettings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include "platform/HiveUtility.h"
#include "platform/LinuxPlatform.h"
#include "platform/maildir/MaildirApplication.h"
#include "platform/testing/TempFolder.h"
#include "platform/testing/TestMaildir.h"

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

TEST(MaildirSettingsTest, LinuxPlatformOpensTheStoreWithTheHiveSettingsWhenThereIsAHive) {
  TempFolder folder;
  makeMaildir(folder.file("Maildir"));
  const char* saved = std::getenv("MAILDIR");
  const std::string savedMaildir = saved ? saved : "";
  ::setenv("MAILDIR", folder.file("Maildir").c_str(), 1);
  const std::string hivePath = folder.file("config/registry.db");
  {
    LinuxPlatform platform(kStandalone, hivePath);
    auto topName = [&] {
      auto application = std::dynamic_pointer_cast<OutlookApplication>(
          platform.CreateObject("outlook.application"));
      int32_t inbox = 6;
      return textOf(application->GetNamespace("MAPI")->GetDefaultFolder(inbox)->Parent());
    };
    EXPECT_EQ(topName(), "Personal Folders");
    Hive::open(hivePath)->writeValue(kPlatformKeyPath, "StoreName", std::string("Mail"));
    EXPECT_EQ(topName(), "Mail");
  }
  saved ? ::setenv("MAILDIR", savedMaildir.c_str(), 1) : ::unsetenv("MAILDIR");
}

}  // namespace
}  // namespace dks
