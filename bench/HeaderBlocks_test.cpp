#include "bench/HeaderBlocks.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "bench/MaildirWriter.h"
#include "platform/testing/TempFolder.h"

namespace dks {
namespace {

TEST(HeaderBlocksTest, CountsTheMessagesOfEitherLayoutAndNothingElse) {
  for (MaildirLayout layout : {MaildirLayout::kFs, MaildirLayout::kMaildirPlusPlus}) {
    TempFolder dir;
    MaildirWriter writer({layout, 120, 1, 1});
    std::string err;
    ASSERT_TRUE(writer.write(dir.path(), &err)) << err;
    // The writer adds files in tmp/, a dot-file in cur/ and dovecot-uidlist: none are messages.
    EXPECT_EQ(readHeaderBlocks(dir.path()), 120);
  }
}

TEST(HeaderBlocksTest, AMessageThatCannotBeOpenedOrAMissingRootFails) {
  TempFolder dir;
  EXPECT_EQ(readHeaderBlocks(dir.file("missing")), -1);
  std::filesystem::create_directories(dir.file("Inbox/cur"));
  writeFileBytes(dir.file("Inbox/cur/1.M1P1.host:2,S"), "Subject: x\n\nbody\n");
  EXPECT_EQ(readHeaderBlocks(dir.path()), 1);
  ASSERT_EQ(::symlink("nowhere", dir.file("Inbox/cur/2.M2P1.host:2,S").c_str()), 0);
  EXPECT_EQ(readHeaderBlocks(dir.path()), -1);
}

}  // namespace
}  // namespace dks
