#include "platform/maildir/MaildirNames.h"

#include <gtest/gtest.h>

namespace dks {
namespace {

TEST(MaildirNamesTest, UniqueNameLeavesOutInfoAndAgentFields) {
  struct Case {
    const char* file;
    const char* unique;
    const char* flags;
  };
  for (const Case& c : {
           Case{"1700000000.M20P300.host,S=1234,W=1260:2,RS", "1700000000.M20P300.host", "RS"},
           Case{"1700000000.12345_1.host,U=42:2,S", "1700000000.12345_1.host", "S"},
           Case{"1700000000_0.1234.host,U=5,FMD5=0cc175b9:2,", "1700000000_0.1234.host", ""},
           Case{"1700000000.M20P300.host", "1700000000.M20P300.host", ""},
           Case{"plain:1,S", "plain", ""},
       }) {
    EXPECT_EQ(uniqueName(c.file), c.unique) << c.file;
    EXPECT_EQ(flagsOf(c.file), c.flags) << c.file;
  }
}

TEST(MaildirNamesTest, DeliveryTimeIsTheLeadingNumberOfTheUniqueName) {
  EXPECT_EQ(deliveryTime("1700000000.M20P300.host"), 1700000000);
  EXPECT_EQ(deliveryTime("1700000000_0.1234.host"), 1700000000);
  EXPECT_EQ(deliveryTime("86400"), 86400);
  for (const char* none : {"", "host.1700000000", "1700000000x.host", "123456789012.host", ".1"})
    EXPECT_EQ(deliveryTime(none), std::nullopt) << none;
}

TEST(MaildirNamesTest, HexRoundTripsAndRefusesWhatIsNotHex) {
  EXPECT_EQ(hexOf(".INBOX.Ä"), "2E494E424F582EC384");
  EXPECT_EQ(bytesOfHex("2E494e424f582EC384"), ".INBOX.Ä");
  EXPECT_EQ(bytesOfHex(""), "");
  for (const char* bad : {"2E4", "2G", "2E 4"}) EXPECT_EQ(bytesOfHex(bad), std::nullopt) << bad;
}

TEST(MaildirNamesTest, FolderNamesAreDecodedFromModifiedUtf7) {
  EXPECT_EQ(decodeFolderName("Entw&APw-rfe"), "Entwürfe");
  EXPECT_EQ(decodeFolderName("&ZeVnLIqe-"), "日本語");
  EXPECT_EQ(decodeFolderName("Smile &2D3eAA-"), "Smile 😀");
  EXPECT_EQ(decodeFolderName("R&-D"), "R&D");
  // Not modified UTF-7: shown as on disk, 8-bit bytes that are not UTF-8 read as Windows-1252.
  EXPECT_EQ(decodeFolderName("Entw&APw"), "Entw&APw");
  EXPECT_EQ(decodeFolderName("Half &2D0-"), "Half &2D0-");
  EXPECT_EQ(decodeFolderName("Entwürfe"), "Entwürfe");
  EXPECT_EQ(decodeFolderName("Caf\xe9"), "Café");
}

}  // namespace
}  // namespace dks
