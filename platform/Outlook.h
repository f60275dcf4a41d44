// The mail client's object model, as the mail store classes reach it: the application object
// created by the ProgID "Outlook.Application", its "MAPI" name space, folders with their items
// and sub-folders, and items whose members are read by name.
//
// Every member either returns its value or throws Failure with the number and description the
// mail client gives for that failure (438 for a member an object does not have). The store
// behind it is the user's Maildir (platform/maildir/); tests script their own objects.
#pragma once

#include <cstdint>
#include <ctime>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/Failure.h"
#include "platform/Platform.h"

namespace dks {

class OutlookObject;
using OutlookRef = std::shared_ptr<OutlookObject>;

/// A date value of the object model: a point in time. As text it is the general date form,
/// "dd/mm/yyyy hh:nn:ss" in local time.
struct OutlookDate {
  std::time_t time = 0;
};

/// The value of a member read by name: nothing, a Boolean, a 32-bit integer, a text, a date or
/// an object.
using OutlookValue =
    std::variant<std::monostate, bool, int32_t, std::string, OutlookDate, OutlookRef>;

/// An object of the model whose members can be read by name.
class OutlookObject : public AutomationObject {
 public:
  /// The member `name` (letter case ignored). Throws Failure 438 "Object doesn't support this
  /// property or method" when the object has no such member, or the failure of reading it.
  virtual OutlookValue Get(std::string_view name) = 0;

  /// The object's default value as text. Throws Failure 438 when the object has none.
  virtual std::string DefaultValue() = 0;
};

/// A collection of the model (a folder's Items or Folders): members counted from 1, in the
/// store's order, which stays fixed for the life of the collection.
template <class T>
class OutlookCollection {
 public:
  virtual ~OutlookCollection() = default;

  virtual int32_t Count() = 0;

  /// The member at `index`, 1 to Count. Throws Failure 9 "Subscript out of range" outside.
  virtual std::shared_ptr<T> Item(int32_t index) = 0;
};

/// A collection over a fixed list of members.
template <class T>
class OutlookList : public OutlookCollection<T> {
 public:
  explicit OutlookList(std::vector<std::shared_ptr<T>> members) : members_(std::move(members)) {}

  int32_t Count() override { return static_cast<int32_t>(members_.size()); }

  std::shared_ptr<T> Item(int32_t index) override {
    if (index < 1 || index > Count()) throw Failure::subscriptOutOfRange();
    return members_[static_cast<size_t>(index - 1)];
  }

 private:
  std::vector<std::shared_ptr<T>> members_;
};

/// A folder. Its members by name are "EntryID", "Name", "Parent" and "StoreID", answered by the
/// typed members; its default value is its Name.
class OutlookFolder : public OutlookObject {
 public:
  /// "EntryID", "Name", "Parent" or "StoreID" (letter case ignored); Failure 438 for any other.
  OutlookValue Get(std::string_view name) override;
  std::string DefaultValue() override { return Name(); }

  virtual std::string EntryID() = 0;
  virtual std::string Name() = 0;
  /// The folder that holds this one; the name space for the top folder of a store.
  virtual OutlookRef Parent() = 0;
  /// The entry id of the store that holds the folder.
  virtual std::string StoreID() = 0;
  /// The folder's items, of whatever kind.
  virtual std::shared_ptr<OutlookCollection<OutlookObject>> Items() = 0;
  /// The folder's direct sub-folders.
  virtual std::shared_ptr<OutlookCollection<OutlookFolder>> Folders() = 0;
};

class OutlookNamespace : public OutlookObject {
 public:
  /// The default folder numbered `folder` (6 the Inbox, 5 the Sent Items). Throws Failure
  /// invalidParameter for a number the store does not have.
  virtual std::shared_ptr<OutlookFolder> GetDefaultFolder(int32_t& folder) = 0;

  /// The folder with `entryID` in the store `storeID`. Throws Failure objectNotFound when the
  /// store holds no such folder.
  virtual std::shared_ptr<OutlookFolder> GetFolderFromID(const std::string& entryID,
                                                         const std::string& storeID) = 0;
};

class OutlookApplication : public AutomationObject {
 public:
  /// The name space of `type`; only "MAPI" (letter case ignored) exists. Throws Failure
  /// invalidParameter for any other type.
  virtual std::shared_ptr<OutlookNamespace> GetNamespace(const std::string& type) = 0;
};

// Conversions of member values, with the rules of the automation platform.

/// A text as it is; an integer in decimal; a Boolean as "True" or "False"; a date in the general
/// date form; an object as its default value; nothing as "". Throws the object's failure.
std::string textOf(const OutlookValue& value);
/// The same for a value that is not needed afterwards: a text is moved out, not copied.
std::string textOf(OutlookValue&& value);

/// An integer as it is; True as -1, False as 0; a text by toLong's rules (13, 6); nothing as 0.
/// Throws Failure 13 "Type mismatch" for a date or an object.
int32_t longOf(const OutlookValue& value);

/// A Boolean as it is; an integer as "not 0"; "True" or "False" (letter case ignored) or a
/// numeric text; nothing as False. Throws Failure 13 for anything else.
bool boolOf(const OutlookValue& value);

/// The object of an object value. Throws Failure 13 for any other value and Failure 91 for an
/// empty object.
OutlookRef objectOf(const OutlookValue& value);

}  // namespace dks
