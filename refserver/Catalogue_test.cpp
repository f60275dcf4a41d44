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

std::vector<int64_t> pageIds(Catalogue& catalogue, int32_t user, int64_t skip, int64_t limit) {
  std::vector<int64_t> ids;
  for (const CatalogueDocument& document : catalogue.documents(user, skip, limit))
    ids.push_back(document.id);
  return ids;
}

// A page that starts within or behind the last page read continues from an id found there;
// every change in between must make it count again.
TEST(CatalogueTest, PagesFollowChangesMadeBetweenThem) {
  TempFolder folder;
  Catalogue catalogue(folder.file("catalogue.db"));
  for (const char* location :
       {"dkemail://1", "dkemail://2", "dkemail://3", "dkemail://4", "dkemail://5", "dkemail://6"})
    catalogue.create(7, "T", location);
  catalogue.create(8, "T", "dkemail://7");
  EXPECT_EQ(pageIds(catalogue, 7, 0, 3), (std::vector<int64_t>{1, 2, 3}));
  EXPECT_EQ(pageIds(catalogue, 7, 2, 2), (std::vector<int64_t>{3, 4}));  // within the page
  EXPECT_EQ(pageIds(catalogue, 7, 4, -1), (std::vector<int64_t>{5, 6}));
  EXPECT_EQ(pageIds(catalogue, 8, 0, 5), (std::vector<int64_t>{7}));

  // Another connection removes a document: the positions behind it move up.
  EXPECT_EQ(pageIds(catalogue, 7, 0, 2), (std::vector<int64_t>{1, 2}));
  Catalogue(folder.file("catalogue.db")).remove(2);
  EXPECT_EQ(pageIds(catalogue, 7, 2, 2), (std::vector<int64_t>{4, 5}));

  // So does a removal on this connection.
  catalogue.remove(1);
  EXPECT_EQ(pageIds(catalogue, 7, 3, 2), (std::vector<int64_t>{6}));

  // A page read in a transaction that fails saw changes that were rolled back.
  EXPECT_THROW(catalogue.transaction([&] {
    catalogue.remove(3);
    EXPECT_EQ(pageIds(catalogue, 7, 0, 2), (std::vector<int64_t>{4, 5}));
    throw Failure::invalidCall();
  }),
               Failure);
  EXPECT_EQ(pageIds(catalogue, 7, 2, 2), (std::vector<int64_t>{5, 6}));
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
