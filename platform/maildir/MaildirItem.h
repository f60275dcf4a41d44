// MaildirItem: one message of a Maildir folder, its members read by name.
//
// The item is light: it holds the file's name and nothing else until a member needs the file.
// The file is then looked at once (stat) and its header block read once (one open and read);
// what they give is kept for the item's life. Members that come from the name (EntryID, UnRead,
// Sent, and ReceivedTime when the name starts with the delivery time) never touch the file.
//
// A file that has gone from where it was listed is looked for once more, by its unique name,
// in the folder's new/ and cur/ (see MaildirListing::relocate). A message that is gone for good
// answers EntryID, Parent and the members that come from its name; every other member throws
// Failure objectNotFound.
#pragma once

#include <sys/stat.h>

#include <ctime>
#include <memory>
#include <optional>

#include "platform/Outlook.h"
#include "platform/maildir/HeaderBlock.h"
#include "platform/maildir/MaildirListing.h"

namespace dks {

class MaildirFolder;

class MaildirItem : public OutlookObject {
 public:
  MaildirItem(std::shared_ptr<MaildirFolder> folder, std::shared_ptr<MaildirListing> listing,
              MessageFile file);

  /// The member `name` (letter case ignored):
  ///   EntryID            text: the unique name as upper-case hexadecimal
  ///   Subject            text: the Subject header decoded; "" when there is none
  ///   SentOn             date: the Date header; Failure propertyNotFound when there is none
  ///                      or it is not a date
  ///   ReceivedTime, CreationTime
  ///                      date: the delivery time at the start of the unique name, else the
  ///                      file's modification time
  ///   LastModificationTime  date: the later of the file's modification and change times
  ///   Size               integer: the file's size in bytes; Failure 6 above 2^31 - 1
  ///   UnRead, Sent       Boolean: no "S" flag, no "D" flag (a file in new/ has no flags)
  ///   Saved, Submitted   Boolean: True, False
  ///   Sensitivity        integer: see MessageHeaders::sensitivity
  ///   ConversationTopic  text: Thread-Topic, else the Subject without leading "Re:", "Fw:"
  ///                      and "Fwd:" (letter case ignored, the spaces after them dropped)
  ///   ConversationIndex  text: Thread-Index as upper-case hexadecimal, else the upper-case
  ///                      hexadecimal MD5 of the thread's root Message-ID (of the EntryID when
  ///                      the message names none)
  ///   MessageClass       text: "IPM.Note"
  ///   Parent             object: the folder
  /// Throws Failure 438 for any other name, objectNotFound when the member needs a file that
  /// is gone, or the system's failure (Failure::fromErrno) when the file cannot be read.
  OutlookValue Get(std::string_view name) override;

  /// An item has no default value: throws Failure 438.
  std::string DefaultValue() override;

 private:
  struct FileFacts {
    int64_t size = 0;
    std::time_t modified = 0;
    std::time_t changed = 0;
  };

  static FileFacts factsOf(const struct stat& info);
  std::string_view unique() const;
  std::string entryID() const;
  std::string path() const;
  bool hasFlag(char flag) const;
  template <class Access>
  int onFile(Access access);
  const FileFacts& facts();
  const MessageHeaders& headers();

  std::shared_ptr<MaildirFolder> folder_;
  std::shared_ptr<MaildirListing> listing_;
  MessageFile file_;
  bool looked_ = false;  // the file has been looked for again
  bool gone_ = false;
  std::optional<FileFacts> facts_;
  std::optional<MessageHeaders> headers_;
};

}  // namespace dks
