#include "app/KeyedCollection.h"

#include <gtest/gtest.h>

#include "app/testing/HostFixture.h"

namespace dks {
namespace {

struct Thing {
  std::string name;
};

// The smallest collection a Part could build on the template: Add records its own failures.
class colThing : public KeyedCollection<Thing> {
 public:
  colThing() : KeyedCollection("colThing") {}
  void Add(const std::string& name, const std::string& key = "") {
    attempt(className(), "Add", [&] { append(std::make_shared<Thing>(Thing{name}), key); });
  }
};

std::vector<std::string> names(const colThing& things) {
  std::vector<std::string> result;
  for (const auto& thing : things.NewEnum()) result.push_back(thing->name);
  return result;
}

class KeyedCollectionTest : public HostFixture {
 protected:
  void SetUp() override { startHost(); }
  colThing things;
};

TEST_F(KeyedCollectionTest, MembersCountFromOneAndKeysIgnoreCase) {
  things.Add("inbox", "Inbox#1");
  things.Add("archive");
  things.Add("sent", "x#2");
  EXPECT_EQ(things.Count(), 3);
  EXPECT_EQ(things.Item(1)->name, "inbox");
  EXPECT_EQ(things.Item(3)->name, "sent");
  EXPECT_EQ(things.Item(std::string("INBOX#1")), things.Item(1));
  EXPECT_EQ(things.Item(std::string("X#2"))->name, "sent");
  EXPECT_EQ(names(things), (std::vector<std::string>{"inbox", "archive", "sent"}));
  EXPECT_EQ(gcolError->Count(), 0);
}

TEST_F(KeyedCollectionTest, TakenKeyIsRecordedAndAppendsNothing) {
  things.Add("first", "Key");
  things.Add("second", "kEY");
  EXPECT_EQ(names(things), std::vector<std::string>{"first"});
  EXPECT_EQ(errorLines(),
            std::vector<std::string>{std::string(kStamp) +
                                     " colThing Add 457 This key is already "
                                     "associated with an element of this collection"});
}

TEST_F(KeyedCollectionTest, IndexThatNamesNoMemberIsRecordedAndGivesNothing) {
  things.Add("only", "k");
  EXPECT_EQ(things.Item(0), nullptr);
  EXPECT_EQ(things.Item(2), nullptr);
  EXPECT_EQ(things.Item(std::string("other")), nullptr);
  things.Remove(5);
  EXPECT_EQ(things.Count(), 1);
  const std::string prefix = std::string(kStamp) + " colThing ";
  EXPECT_EQ(errorLines(),
            (std::vector<std::string>{prefix + "Item 9 Subscript out of range",
                                      prefix + "Item 9 Subscript out of range",
                                      prefix + "Item 5 Invalid procedure call or argument",
                                      prefix + "Remove 9 Subscript out of range"}));
}

TEST_F(KeyedCollectionTest, RemovingFreesTheKeyAndKeepsTheOrder) {
  things.Add("a", "ka");
  things.Add("b");
  things.Add("c", "kc");
  things.Remove(1);
  things.Remove(std::string("KC"));
  things.Add("a again", "ka");
  EXPECT_EQ(names(things), (std::vector<std::string>{"b", "a again"}));
  EXPECT_EQ(things.Item(std::string("ka"))->name, "a again");
  EXPECT_TRUE(things.pblnReset());
  EXPECT_EQ(things.Count(), 0);
  EXPECT_EQ(things.Item(std::string("ka")), nullptr);
}

}  // namespace
}  // namespace dks
