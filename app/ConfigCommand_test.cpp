#include "app/ConfigCommand.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/testing/TempFolder.h"

namespace dks {
namespace {

class ConfigCommandTest : public ::testing::Test {
 protected:
  std::string writeFile(const std::string& name, const std::string& bytes) {
    writeFileBytes(folder_.file(name), bytes);
    return folder_.file(name);
  }

  std::shared_ptr<Hive> hive_ = Hive::open(":memory:");
  std::ostringstream out_, err_;
  TempFolder folder_;
  const std::string& dir_ = folder_.path();
};

TEST_F(ConfigCommandTest, ListShowsEveryKeyWithItsValues) {
  hive_->writeValue("Software\\DKS\\Reconciler", "MaxMatches", int32_t{50});
  hive_->writeValue("Software\\DKS\\Reconciler", "ErrorLog", std::string("c:\\dks\\error.log"));
  hive_->writeValue("Software\\DKS\\Reconciler", "", std::string("two\r\nlines"));
  hive_->createKey("Software\\DKS\\Reconciler\\Include\\Inbox#1");

  EXPECT_EQ(configList(*hive_, "hkcu\\software\\dks\\RECONCILER", out_, err_), 0);
  EXPECT_EQ(out_.str(),
            "HKEY_CURRENT_USER\\Software\\DKS\\Reconciler\n"
            "  (Default) (text) = \"two\\r\\nlines\"\n"
            "  ErrorLog (text) = \"c:\\dks\\error.log\"\n"
            "  MaxMatches (integer) = 50\n"
            "HKEY_CURRENT_USER\\Software\\DKS\\Reconciler\\Include\n"
            "HKEY_CURRENT_USER\\Software\\DKS\\Reconciler\\Include\\Inbox#1\n");

  EXPECT_EQ(configList(*hive_, "Software\\Missing", out_, err_), 1);
  EXPECT_EQ(err_.str(), "dks-reconciler: no key HKEY_CURRENT_USER\\Software\\Missing\n");
}

TEST_F(ConfigCommandTest, GetPrintsTheStoredValueAndFailsWithoutOne) {
  hive_->writeValue("Software\\DKS\\Settings", "Port", int32_t{-8080});
  hive_->writeValue("Software\\DKS\\Settings", "Host", std::string("dks.example"));

  EXPECT_EQ(configGet(*hive_, "HKEY_CURRENT_USER\\Software\\DKS\\Settings", "port", out_, err_), 0);
  EXPECT_EQ(configGet(*hive_, "Software\\DKS\\Settings", "Host", out_, err_), 0);
  EXPECT_EQ(out_.str(), "-8080\ndks.example\n");

  EXPECT_EQ(configGet(*hive_, "HKCU\\Software\\DKS\\Settings", "UserID", out_, err_), 1);
  EXPECT_EQ(configGet(*hive_, "HKEY_LOCAL_MACHINE\\Software\\DKS", "Port", out_, err_), 1);
  EXPECT_EQ(err_.str(),
            "dks-reconciler: no value 'UserID' in HKEY_CURRENT_USER\\Software\\DKS\\Settings\n"
            "dks-reconciler: only HKEY_CURRENT_USER keys are kept, not "
            "'HKEY_LOCAL_MACHINE\\Software\\DKS'\n");
  EXPECT_EQ(out_.str(), "-8080\ndks.example\n");
}

TEST_F(ConfigCommandTest, SetAndDeleteRefuseWhatTheyCannotDo) {
  hive_->writeValue("Software\\DKS\\Sub", "Stamp", std::string("x"));
  EXPECT_EQ(configSet(*hive_, "HKCU\\Software\\DKS", "Flags", "1x", true, err_), 1);
  EXPECT_EQ(configDelete(*hive_, "Software\\DKS", std::string("Stamp"), err_), 1);
  EXPECT_EQ(configDelete(*hive_, "HKEY_CURRENT_USER", std::nullopt, err_), 1);
  EXPECT_EQ(configDelete(*hive_, "HKCU\\Software\\DKS\\Sub", std::string("stamp"), err_), 0);
  EXPECT_EQ(hive_->values("Software\\DKS\\Sub").size(), 0u);
  EXPECT_EQ(err_.str(),
            "dks-reconciler: '1x' is not a 32-bit integer\n"
            "dks-reconciler: no value 'Stamp' in HKEY_CURRENT_USER\\Software\\DKS\n"
            "dks-reconciler: the root of the hive cannot be deleted\n");
}

TEST_F(ConfigCommandTest, ImportRefusalNamesTheFileAndLineAndChangesNothing) {
  hive_->writeValue("Software\\DKS", "Keep", int32_t{1});
  std::string bad = writeFile("bad.reg",
                              "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\DKS]\r\n"
                              "\"Keep\"=-\r\n\"Path\"=hex(2):25,00,00,00\r\n");
  EXPECT_EQ(configImport(*hive_, bad, err_), 1);
  EXPECT_EQ(configImport(*hive_, dir_ + "/missing.reg", err_), 1);
  EXPECT_EQ(err_.str(), "dks-reconciler: " + bad +
                            ": line 5: unsupported value kind 'hex(2)'\n"
                            "dks-reconciler: " +
                            dir_ + "/missing.reg: No such file or directory\n");
  EXPECT_EQ(hive_->readValue("Software\\DKS", "Keep"), Variant{int32_t{1}});
}

TEST_F(ConfigCommandTest, CommandLineReachesTheHiveNamedByTheEnvironment) {
  const char* saved = std::getenv("DKSR_HIVE");
  std::string savedHive = saved ? saved : "";
  ::setenv("DKSR_HIVE", (dir_ + "/registry.db").c_str(), 1);
  auto run = [&](std::vector<const char*> arguments) {
    CLI::App app("dks-reconciler");
    int status = -1;
    addConfigCommand(app, status, out_, err_);
    arguments.insert(arguments.begin(), {"dks-reconciler", "config"});
    app.parse(static_cast<int>(arguments.size()), arguments.data());
    return status;
  };

  EXPECT_EQ(run({"set", "HKCU\\Software\\DKS", "Port", "-1", "--integer"}), 0);
  EXPECT_EQ(run({"get", "software\\dks", "PORT"}), 0);
  EXPECT_EQ(run({"get", "software\\dks", "Host"}), 1);
  EXPECT_EQ(run({"export", "Software", "-o", (dir_ + "/out.reg").c_str()}), 0);
  EXPECT_EQ(run({"delete", "Software"}), 0);
  EXPECT_EQ(run({"import", (dir_ + "/out.reg").c_str()}), 0);
  EXPECT_EQ(run({"keys"}), 0);
  EXPECT_EQ(Hive::open(dir_ + "/registry.db")->readValue("Software\\DKS", "Port"),
            Variant{int32_t{-1}});
  EXPECT_EQ(out_.str().substr(0, 27), "-1\n1\tSoftware\\DKS\\Settings\n");
  EXPECT_EQ(err_.str(), "dks-reconciler: no value 'Host' in HKEY_CURRENT_USER\\software\\dks\n");

  saved ? ::setenv("DKSR_HIVE", savedHive.c_str(), 1) : ::unsetenv("DKSR_HIVE");
}

}  // namespace
}  // namespace dks
