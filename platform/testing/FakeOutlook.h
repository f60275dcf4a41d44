// FakeOutlook: a scripted mail client object model for tests. Objects answer the members a
// test gives them; a member given as a Failure throws it when read, any other throws 438.
// A folder holds its parent weakly and an item its folder weakly (children are held by their
// parents), so the test keeps the top of the tree (the name space and the top folder):
//
//   auto ns = std::make_shared<FakeNamespace>();
//   auto top = FakeFolder::make("Personal Folders", "T1", ns);
//   auto inbox = FakeFolder::make("Inbox", "F6", top);
//   auto item = std::make_shared<FakeObject>();
//   item->set("Subject", std::string("Hello"));
//   item->set("SentOn", Failure::objectNotFound());
//   inbox->items.push_back(item);
#pragma once

#include <map>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "platform/Failure.h"
#include "platform/Outlook.h"
#include "platform/Text.h"

namespace dks {

class FakeObject : public OutlookObject {
 public:
  /// A value, a failure to throw, or an object held weakly (a mail item's "Parent").
  using Member = std::variant<OutlookValue, Failure, std::weak_ptr<OutlookObject>>;

  OutlookValue Get(std::string_view name) override {
    auto found = members.find(foldCase(name));
    if (found == members.end()) throw Failure::notSupported();
    if (const auto* failure = std::get_if<Failure>(&found->second)) throw *failure;
    if (const auto* object = std::get_if<std::weak_ptr<OutlookObject>>(&found->second))
      return object->lock();
    return std::get<OutlookValue>(found->second);
  }

  /// No scripted object has a default value.
  std::string DefaultValue() override { throw Failure::notSupported(); }

  /// Sets a member; names are stored folded, so any letter case finds them.
  void set(std::string_view name, Member value) { members[foldCase(name)] = std::move(value); }

  std::map<std::string, Member> members;
};

/// A folder whose typed members answer from its fields.
class FakeFolder : public OutlookFolder {
 public:
  static std::shared_ptr<FakeFolder> make(std::string name, std::string entryID,
                                          const OutlookRef& parent, std::string storeID = "S1") {
    auto folder = std::make_shared<FakeFolder>();
    folder->name = std::move(name);
    folder->entryID = std::move(entryID);
    folder->parent = parent;
    folder->storeID = std::move(storeID);
    return folder;
  }

  std::string EntryID() override { return entryID; }
  std::string Name() override { return name; }
  OutlookRef Parent() override { return parent.lock(); }
  std::string StoreID() override { return storeID; }
  std::shared_ptr<OutlookCollection<OutlookObject>> Items() override {
    return std::make_shared<OutlookList<OutlookObject>>(items);
  }
  std::shared_ptr<OutlookCollection<OutlookFolder>> Folders() override {
    return std::make_shared<OutlookList<OutlookFolder>>(folders);
  }

  std::string name, entryID, storeID;
  std::weak_ptr<OutlookObject> parent;
  std::vector<OutlookRef> items;
  std::vector<std::shared_ptr<OutlookFolder>> folders;
};

/// The name space: default folders by number, other folders by entry id; no default value.
class FakeNamespace : public OutlookNamespace {
 public:
  OutlookValue Get(std::string_view) override { throw Failure::notSupported(); }
  std::string DefaultValue() override { throw Failure::notSupported(); }

  std::shared_ptr<OutlookFolder> GetDefaultFolder(int32_t& folder) override {
    ++calls;
    auto found = defaultFolders.find(folder);
    if (found == defaultFolders.end()) throw Failure::invalidParameter();
    return found->second;
  }

  std::shared_ptr<OutlookFolder> GetFolderFromID(const std::string& entryID,
                                                 const std::string& storeID) override {
    ++calls;
    for (const auto& folder : byID)
      if (equalsIgnoreCase(folder->entryID, entryID) && equalsIgnoreCase(folder->storeID, storeID))
        return folder;
    throw Failure::objectNotFound();
  }

  std::map<int32_t, std::shared_ptr<OutlookFolder>> defaultFolders;
  std::vector<std::shared_ptr<FakeFolder>> byID;
  int calls = 0;
};

class FakeApplication : public OutlookApplication {
 public:
  explicit FakeApplication(std::shared_ptr<FakeNamespace> ns) : ns_(std::move(ns)) {}
  std::shared_ptr<OutlookNamespace> GetNamespace(const std::string& type) override {
    if (!equalsIgnoreCase(type, "MAPI")) throw Failure::invalidParameter();
    return ns_;
  }

 private:
  std::shared_ptr<FakeNamespace> ns_;
};

/// A mail item in `folder` with every member the reconciliation reads: entry id "00AB", subject
/// "Hello", sent 09/03/2002 14:05:07 (UTC), received and created a minute later, last modified
/// at 14:10:00, 2048 bytes, read, not a draft.
inline std::shared_ptr<FakeObject> fakeMailItem(const OutlookRef& folder) {
  auto item = std::make_shared<FakeObject>();
  const std::time_t sent = 1015682707;  // 09/03/2002 14:05:07 UTC
  item->set("ConversationIndex", std::string("01C1C7A2"));
  item->set("ConversationTopic", std::string("Hello"));
  item->set("CreationTime", OutlookDate{sent + 60});
  item->set("EntryID", std::string("00AB"));
  item->set("LastModificationTime", OutlookDate{sent + 293});
  item->set("Parent", std::weak_ptr<OutlookObject>(folder));
  item->set("ReceivedTime", OutlookDate{sent + 60});
  item->set("Saved", true);
  item->set("Sensitivity", int32_t{2});
  item->set("Sent", true);
  item->set("SentOn", OutlookDate{sent});
  item->set("Size", int32_t{2048});
  item->set("Subject", std::string("  Hello  "));
  item->set("Submitted", false);
  item->set("UnRead", false);
  return item;
}

}  // namespace dks
