#include "app/colError.h"

#include <gtest/gtest.h>

#include "app/testing/HostFixture.h"
#include "platform/testing/TestMaildir.h"

namespace dks {
namespace {

class ErrorCollectionTest : public HostFixture {
 protected:
  void SetUp() override { startHost(); }
  std::string errorLog() { return readFileBytes(dir.file("qdmerror.log")); }
  std::string header() { return logHeader("ERROR LOG") + "\r\n"; }
};

TEST_F(ErrorCollectionTest, RecordsAreTrimmedAndUnusableNumbersBecomeUnknownError) {
  EXPECT_EQ(gcolError->Count(), 0);
  gcolError->Add("  clsItem ", " pblnLoad ", int32_t{0}, "Subscript out of range");
  gcolError->Add("clsItem", "pblnLoad", int32_t{9}, "   ");
  gcolError->Add("clsItem", "Title", int32_t{13}, "  Type mismatch  ");

  EXPECT_EQ(errorLines(),
            (std::vector<std::string>{errorLine("clsItem", "pblnLoad", -99999, "Unknown error"),
                                      errorLine("clsItem", "pblnLoad", -99999, "Unknown error"),
                                      errorLine("clsItem", "Title", 13, "Type mismatch")}));
  EXPECT_EQ(errorLog(), header() + kStamp + " clsItem pblnLoad -99999 Unknown error\r\n" + kStamp +
                            " clsItem pblnLoad -99999 Unknown error\r\n" + kStamp +
                            " clsItem Title 13 Type mismatch\r\n");
}

TEST_F(ErrorCollectionTest, TakenKeyAppendsAndWritesNothing) {
  gcolError->Add("colItem", "Add", int32_t{457}, "first", "Key");
  gcolError->Add("colItem", "Add", int32_t{457}, "second", "KEY");
  EXPECT_EQ(gcolError->Count(), 1);
  EXPECT_EQ(gcolError->Item(std::string("key"))->Description(), "first");
  EXPECT_EQ(errorLog(), header() + kStamp + " colItem Add 457 first\r\n");
}

TEST_F(ErrorCollectionTest, PositionThatNamesNoRecordIsTheCallersFailure) {
  gcolError->Add("o", "p", int32_t{5}, "d");
  EXPECT_EQ(failureOf([] { gcolError->Item(2); }).number(), 9);
  EXPECT_THROW(gcolError->Remove(std::string("nokey")), Failure);
  EXPECT_EQ(gcolError->Count(), 1);
}

TEST_F(ErrorCollectionTest, NoTimeStampGivesAnEmptyStampAndStartsNoFile) {
  platform.utility->failTimeStamp = true;
  gcolError->Add("o", "p", int32_t{5}, "d");
  EXPECT_EQ(gcolError->Item(1)->Stamp(), "");
  EXPECT_FALSE(std::filesystem::exists(dir.file("qdmerror.log")));

  platform.utility->failTimeStamp = false;
  gcolError->Add("o", "p", int32_t{6}, "e");
  platform.utility->failTimeStamp = true;
  gcolError->Add("o", "p", int32_t{7}, "f");  // an existing file needs no stamp
  EXPECT_EQ(errorLog(), header() + kStamp + " o p 6 e\r\n" + " o p 7 f\r\n");
}

}  // namespace
}  // namespace dks
