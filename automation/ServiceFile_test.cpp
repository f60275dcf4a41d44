#include "automation/ServiceFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "platform/testing/TempFolder.h"

namespace dks::automation {
namespace {

EnvironmentLookup environmentOf(std::map<std::string, std::string> variables) {
  return [variables = std::move(variables)](const char* name) -> const char* {
    auto found = variables.find(name);
    return found == variables.end() ? nullptr : found->second.c_str();
  };
}

std::string contentOf(const std::string& path) {
  std::ifstream file(path);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

TEST(ServiceFileTest, LivesInTheDataFolderAndARelativeOneIsIgnored) {
  const std::string name = "/dbus-1/services/org.dksreconciler.Server.service";
  EXPECT_EQ(serviceFilePath(environmentOf({{"XDG_DATA_HOME", "/x/data/"}, {"HOME", "/h"}})),
            "/x/data" + name);
  EXPECT_EQ(serviceFilePath(environmentOf({{"XDG_DATA_HOME", "data"}, {"HOME", "/h"}})),
            "/h/.local/share" + name);
  EXPECT_EQ(serviceFilePath(environmentOf({{"HOME", "/h"}})), "/h/.local/share" + name);
}

TEST(ServiceFileTest, ExecNamesTheExecutableQuotedSoBlanksAndQuotesSurvive) {
  EXPECT_EQ(serviceFileText("/opt/dks/bin/dks-reconciler"),
            "[D-BUS Service]\nName=org.dksreconciler.Server\n"
            "Exec=\"/opt/dks/bin/dks-reconciler\" serve\n");
  EXPECT_EQ(serviceFileText("/home/a b/say \"x\"\\dks"),
            "[D-BUS Service]\nName=org.dksreconciler.Server\n"
            "Exec=\"/home/a b/say \\\"x\\\"\\\\dks\" serve\n");
}

TEST(ServiceFileTest, WriteCreatesTheFoldersAndRemoveSaysWhetherThereWasOne) {
  TempFolder folder;
  const std::string path = folder.file("data/dbus-1/services/org.dksreconciler.Server.service");
  writeServiceFile(path, "/usr/bin/dks-reconciler");
  EXPECT_EQ(contentOf(path), serviceFileText("/usr/bin/dks-reconciler"));
  writeServiceFile(path, "/opt/dks-reconciler");  // a second register replaces the first
  EXPECT_EQ(contentOf(path), serviceFileText("/opt/dks-reconciler"));
  EXPECT_FALSE(std::filesystem::exists(path + ".new"));

  EXPECT_TRUE(removeServiceFile(path));
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_FALSE(removeServiceFile(path));
}

}  // namespace
}  // namespace dks::automation
