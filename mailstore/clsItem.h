// clsItem: the record that pairs what the mail client says about one message (the mail half, a
// clsMailItem) with what the document server says about it (the email half, a clsEmail). A
// half exists only once something was written to it; reading a property of an absent half gives
// that half's reset value, so an absent half reads like a freshly reset one.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "mailstore/EmailInterface.h"
#include "mailstore/MailItemInterface.h"
#include "mailstore/clsEmail.h"
#include "mailstore/clsMailItem.h"
#include "platform/Outlook.h"

namespace dks {

class clsItem {
 public:
  /// A record without halves.
  clsItem() = default;

  // Each property reads its half (or that half's reset value) and writes through the half's own
  // property write, creating the half in its reset state first.
  const std::string& ConversationIndex() const { return mail().ConversationIndex(); }
  void setConversationIndex(std::string_view value) { mailHalf().setConversationIndex(value); }
  const std::string& ConversationTopic() const { return mail().ConversationTopic(); }
  void setConversationTopic(std::string_view value) { mailHalf().setConversationTopic(value); }
  const std::string& CreationTime() const { return mail().CreationTime(); }
  void setCreationTime(std::string_view value) { mailHalf().setCreationTime(value); }
  int32_t DocumentID() const { return email().DocumentID(); }
  void setDocumentID(int32_t value) { emailHalf().setDocumentID(value); }
  const std::string& EntryID() const { return mail().EntryID(); }
  void setEntryID(std::string_view value) { mailHalf().setEntryID(value); }
  const std::string& ModificationTime() const { return mail().ModificationTime(); }
  void setModificationTime(std::string_view value) { mailHalf().setModificationTime(value); }
  const std::string& Parent() const { return mail().Parent(); }
  void setParent(std::string_view value) { mailHalf().setParent(value); }
  const std::string& ParentEntryID() const { return mail().ParentEntryID(); }
  void setParentEntryID(std::string_view value) { mailHalf().setParentEntryID(value); }
  const std::string& ParentStoreID() const { return mail().ParentStoreID(); }
  void setParentStoreID(std::string_view value) { mailHalf().setParentStoreID(value); }
  const std::string& PreviousDate() const { return email().PreviousDate(); }
  void setPreviousDate(std::string_view value) { emailHalf().setPreviousDate(value); }
  const std::string& PreviousLocation() const { return email().PreviousLocation(); }
  void setPreviousLocation(std::string_view value) { emailHalf().setPreviousLocation(value); }
  int32_t PreviousSize() const { return email().PreviousSize(); }
  void setPreviousSize(int32_t value) { emailHalf().setPreviousSize(value); }
  const std::string& ReceivedTime() const { return mail().ReceivedTime(); }
  void setReceivedTime(std::string_view value) { mailHalf().setReceivedTime(value); }
  bool Resave() const { return email().Resave(); }
  void setResave(bool value) { emailHalf().setResave(value); }
  bool Saved() const { return mail().Saved(); }
  void setSaved(bool value) { mailHalf().setSaved(value); }
  int32_t Sensitivity() const { return mail().Sensitivity(); }
  void setSensitivity(int32_t value) { mailHalf().setSensitivity(value); }
  bool Sent() const { return mail().Sent(); }
  void setSent(bool value) { mailHalf().setSent(value); }
  const std::string& SentOn() const { return mail().SentOn(); }
  void setSentOn(std::string_view value) { mailHalf().setSentOn(value); }
  int32_t Size() const { return mail().Size(); }
  void setSize(int32_t value) { mailHalf().setSize(value); }
  const std::string& Subject() const { return mail().Subject(); }
  void setSubject(std::string_view value) { mailHalf().setSubject(value); }
  bool Submitted() const { return mail().Submitted(); }
  void setSubmitted(bool value) { mailHalf().setSubmitted(value); }
  const std::string& Title() const { return email().Title(); }
  void setTitle(std::string_view value) { emailHalf().setTitle(value); }
  bool UnRead() const { return mail().UnRead(); }
  void setUnRead(bool value) { mailHalf().setUnRead(value); }

  /// Copies the mail client's item `objItem` into the mail half (created when absent), skipping
  /// every member that cannot be read; the email half is not touched. At DebugLevel 3 or more
  /// writes one run-log line from values read again from the item ("Subject=..., EntryID=...,
  /// Modification=..., Size=..., UnRead=True|False"), none when one of them cannot be read.
  /// True; False only after recording -99987 "Parameter missing" for a missing item.
  bool pblnLoad(const OutlookRef& objItem);

  /// Releases both halves. True.
  bool pblnReset();

  bool hasMailHalf() const { return mail_ != nullptr; }
  bool hasEmailHalf() const { return email_ != nullptr; }

  /// The email interface as the record presents it: without effect (InertEmail).
  EmailInterface& AsEmail() const { return InertEmail::instance(); }
  /// The mail item interface as the record presents it: without effect (InertMailItem).
  MailItemInterface& AsMailItem() const { return InertMailItem::instance(); }

 private:
  const clsMailItem& mail() const;
  clsMailItem& mailHalf();
  const clsEmail& email() const;
  clsEmail& emailHalf();
  void logLoad(OutlookObject& item) const;

  std::unique_ptr<clsEmail> email_;
  std::unique_ptr<clsMailItem> mail_;
};

}  // namespace dks
