#include "platform/Hive.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/Failure.h"
#include "platform/testing/TempFolder.h"
#include "platform/testing/TestMaildir.h"

namespace dks {
namespace {

constexpr const char* kApp = "Software\\DKS\\Reconciler";

std::vector<std::string> valueNames(Hive& hive, std::string_view keyPath) {
  std::vector<std::string> names;
  for (const HiveValue& value : hive.values(keyPath)) names.push_back(value.name);
  return names;
}

TEST(HiveTest, NamesCompareIgnoringCaseAndKeepTheCaseFirstWritten) {
  auto hive = Hive::open(":memory:");
  hive->writeValue(kApp, "MaxMatches", int32_t{50});
  hive->writeValue("SOFTWARE\\dks\\RECONCILER", "maxmatches", std::string("75"));
  hive->createKey("software\\Dks\\reconciler\\Actions");

  EXPECT_TRUE(hive->keyExists("\\Software\\\\DKS\\"));  // empty components are ignored
  EXPECT_FALSE(hive->keyExists("Software\\DKS\\Other"));
  EXPECT_EQ(hive->storedPath("SOFTWARE\\dks\\RECONCILER\\actions"),
            "Software\\DKS\\Reconciler\\Actions");
  EXPECT_EQ(hive->storedPath("Software\\Other"), std::nullopt);
  EXPECT_EQ(hive->subKeys(kApp), std::vector<std::string>{"Actions"});
  EXPECT_EQ(valueNames(*hive, kApp), std::vector<std::string>{"MaxMatches"});
  // The second write replaced the value and its kind, not the name.
  EXPECT_EQ(hive->readValue(kApp, "MAXMATCHES"), Variant{std::string("75")});
  EXPECT_EQ(hive->readValue("No\\Such\\Key", "MaxMatches"), std::nullopt);

  EXPECT_TRUE(hive->deleteValue(kApp, "maxMATCHES"));
  EXPECT_FALSE(hive->deleteValue(kApp, "MaxMatches"));
  EXPECT_THROW(hive->writeValue(kApp, "Nothing", Variant{}), Failure);
}

TEST(HiveTest, SubKeysAndValuesComeInCaseBlindAlphabeticalOrder) {
  auto hive = Hive::open(":memory:");
  for (const char* name : {"b", "A", "c", "B2", "a\\Child"}) hive->createKey(name);
  for (const char* name : {"zeta", "Alpha", "", "beta"}) hive->writeValue("A", name, int32_t{1});

  EXPECT_EQ(hive->subKeys(""), (std::vector<std::string>{"A", "b", "B2", "c"}));
  EXPECT_EQ(hive->subKeys("A"), std::vector<std::string>{"Child"});
  EXPECT_TRUE(hive->subKeys("Missing").empty());
  EXPECT_EQ(valueNames(*hive, "a"), (std::vector<std::string>{"", "Alpha", "beta", "zeta"}));
}

TEST(HiveTest, DeleteKeyRemovesTheSubTreeButNotKeysThatOnlyShareItsPrefix) {
  auto hive = Hive::open(":memory:");
  hive->writeValue("Top\\A\\Deep\\Deeper", "V", int32_t{1});
  hive->writeValue("Top\\A", "V", int32_t{2});
  for (const char* sibling : {"Top\\A B", "Top\\AB", "Top\\A[", "Top\\A_x"})
    hive->writeValue(sibling, "V", int32_t{3});

  EXPECT_TRUE(hive->deleteKey("top\\a"));
  EXPECT_EQ(hive->subKeys("Top"), (std::vector<std::string>{"A B", "A[", "A_x", "AB"}));
  EXPECT_EQ(hive->readValue("Top\\AB", "V"), Variant{int32_t{3}});
  // Creating the key again gives an empty key, not the old values and sub-keys.
  hive->createKey("Top\\A");
  EXPECT_TRUE(hive->values("Top\\A").empty());
  EXPECT_TRUE(hive->subKeys("Top\\A").empty());
  EXPECT_FALSE(hive->deleteKey("Top\\Missing"));
  EXPECT_THROW(hive->deleteKey("\\"), Failure);
}

TEST(HiveTest, AThrowingTransactionChangesNothing) {
  auto hive = Hive::open(":memory:");
  hive->writeValue(kApp, "State", int32_t{1});

  EXPECT_THROW(hive->transaction([&] {
    hive->writeValue(kApp, "State", int32_t{4});
    hive->createKey("Software\\DKS\\New");
    hive->deleteKey("Software\\DKS\\Reconciler");
    hive->transaction([&] { hive->writeValue("Software\\Other", "X", std::string("y")); });
    throw Failure::invalidCall();
  }),
               Failure);

  EXPECT_EQ(hive->readValue(kApp, "State"), Variant{int32_t{1}});
  EXPECT_FALSE(hive->keyExists("Software\\DKS\\New"));
  EXPECT_FALSE(hive->keyExists("Software\\Other"));

  hive->transaction([&] { hive->writeValue(kApp, "Flags", int32_t{0}); });
  EXPECT_EQ(hive->readValue(kApp, "Flags"), Variant{int32_t{0}});
}

class HiveFileTest : public ::testing::Test {
 protected:
  static mode_t modeOf(const std::string& path) {
    struct stat status {};
    EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
    return status.st_mode & 0777;
  }

  TempFolder folder_;
  const std::string& dir_ = folder_.path();
};

TEST_F(HiveFileTest, CreatesPrivateFoldersAndFilesAndKeepsDataAcrossOpens) {
  std::string path = dir_ + "/config/dks-reconciler/registry.db";
  mode_t oldMask = ::umask(0);
  {
    auto hive = Hive::open(path);
    hive->writeValue(kApp, "Started", std::string("05/12/2026 10:00:00"));
    EXPECT_EQ(modeOf(path + "-wal"), 0600u);
  }
  ::umask(oldMask);
  EXPECT_EQ(modeOf(path), 0600u);
  EXPECT_EQ(modeOf(dir_ + "/config"), 0700u);
  EXPECT_EQ(modeOf(dir_ + "/config/dks-reconciler"), 0700u);
  EXPECT_EQ(Hive::open(path)->readValue(kApp, "started"),
            Variant{std::string("05/12/2026 10:00:00")});
}

TEST_F(HiveFileTest, FailuresCarryThePlatformNumberAndTheCause) {
  std::string notDatabase = dir_ + "/not.db";
  std::ofstream(notDatabase) << std::string(4096, 'x');
  Failure failure = failureOf([&] { Hive::open(notDatabase); });
  EXPECT_EQ(failure.number(), 75);
  EXPECT_EQ(failure.description(), "Path/File access error (file is not a database)");

  failure = failureOf([&] { Hive::open(notDatabase + "/registry.db"); });
  EXPECT_EQ(failure.number(), 76);
  EXPECT_EQ(failure.description(), "Path not found (" + notDatabase + "/registry.db)");
}

// One process writes progress marks while another reads and writes the same hive: neither
// may ever see "database is locked", and the reader never sees a mark go backwards.
TEST_F(HiveFileTest, TwoProcessesShareTheHiveWithoutFailing) {
  std::string path = dir_ + "/shared/registry.db";
  constexpr int32_t kRounds = 400;
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    int status = 0;
    try {
      auto hive = Hive::open(path);
      for (int32_t i = 1; i <= kRounds; ++i) {
        hive->transaction([&] {
          hive->writeValue(kApp, "Progress", i);
          hive->writeValue(kApp, "Stamp", std::to_string(i));
        });
      }
    } catch (const Failure& failure) {
      std::fprintf(stderr, "writer: %s\n", failure.description().c_str());
      status = 1;
    }
    ::_exit(status);
  }

  std::string failure;
  int32_t last = 0;
  bool backwards = false;
  try {
    auto hive = Hive::open(path);
    for (int32_t i = 1; i <= kRounds; ++i) {
      int32_t seen = toLong(hive->readValue(kApp, "Progress").value_or(int32_t{0}));
      backwards = backwards || seen < last;
      last = seen;
      hive->writeValue("Software\\DKS\\Watcher", "Seen", seen);
    }
  } catch (const Failure& caught) {
    failure = caught.description();
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);

  EXPECT_EQ(failure, "");
  EXPECT_FALSE(backwards);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(Hive::open(path)->readValue(kApp, "Stamp"), Variant{std::to_string(kRounds)});
}

}  // namespace
}  // namespace dks
