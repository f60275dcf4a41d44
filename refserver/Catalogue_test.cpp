#include "refserver/Catalogue.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/Failure.h"
#include "platform/Hive.h"
#include "platform/testing/TempFolder.h"
#include "platform/testing/TestMaildir.h"

namespace dks {
namespace {

std::vector<int64_t> idsOf(Catalogue& catalogue, int32_t user) {
  std::vector<int64_t> ids;
  for (const CatalogueDocument& document : catalogue.documents(user, 0, -1))
    ids.push_back(document.id);
  return ids;
}

TEST(CatalogueTest, KeepsDocumentsAcrossOpensAndNeverGivesAnIdOutTwice) {
  TempFolder folder;
  const std::string path = folder.file("state/dks/catalogue.db");
  {
    Catalogue catalogue(path);
    EXPECT_EQ(catalogue.create(7, "A", "dkemail://A"), 1);
    EXPECT_EQ(catalogue.create(7, "B", "dkemail://B"), 2);
    catalogue.remove(2);  // the highest id: a plain rowid table would give it out again
  }
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);

  Catalogue catalogue(path);
  EXPECT_EQ(catalogue.create(7, "C", "dkemail://C"), 3);
  EXPECT_EQ(idsOf(catalogue, 7), (std::vector<int64_t>{1, 3}));

  // A transaction that fails part-way leaves nothing behind.
  EXPECT_THROW(catalogue.transaction([&] {
    catalogue.remove(1);
    catalogue.create(7, "D", "dkemail://D");
    throw Failure::invalidCall();
  }),
               Failure);
  EXPECT_EQ(idsOf(catalogue, 7), (std::vector<int64_t>{1, 3}));
}

TEST(CatalogueTest, ADatabaseOfAnotherKindIsRefusedAndLeftAsItIs) {
  TempFolder folder;
  const std::string path = folder.file("registry.db");
  Hive::open(path)->writeValue("Software\\DKS", "UserID", int32_t{7});
  const Failure failure = failureOf([&] { Catalogue catalogue(path); });
  EXPECT_EQ(failure.number(), 75);
  EXPECT_EQ(failure.description(), "Path/File access error (" + path + " holds no catalogue)");
  auto hive = Hive::open(path);
  EXPECT_EQ(hive->readValue("Software\\DKS", "UserID"), Variant{int32_t{7}});
  EXPECT_EQ(hive->subKeys(""), std::vector<std::string>{"Software"});
}

}  // namespace
}  // namespace dks
