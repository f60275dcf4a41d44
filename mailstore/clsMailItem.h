// clsMailItem: a copy of the facts of one mail item that the reconciliation needs. Texts are
// stored trimmed, the four times in the pattern "dd/mm/yyyy hh:nn:ss" (or ""), the size not
// below 0.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "mailstore/MailItemInterface.h"
#include "mailstore/PathText.h"
#include "platform/Failure.h"
#include "platform/Outlook.h"

namespace dks {

class clsMailItem final : public MailItemInterface {
 public:
  /// A snapshot in its reset state (the defaults of pblnReset).
  clsMailItem() = default;

  const std::string& ConversationIndex() const override { return conversationIndex_; }
  void setConversationIndex(std::string_view value) override;
  const std::string& ConversationTopic() const override { return conversationTopic_; }
  void setConversationTopic(std::string_view value) override;
  const std::string& EntryID() const override { return entryID_; }
  void setEntryID(std::string_view value) override;
  const std::string& CreationTime() const override { return creationTime_; }
  /// Time rule; a text that is no date records ("clsMailItem", "CreationTime", 13) and keeps
  /// the field. The same holds for the other three times.
  void setCreationTime(std::string_view value) override;
  const std::string& ModificationTime() const override { return modificationTime_; }
  void setModificationTime(std::string_view value) override;
  /// The path text of the folder that holds the item.
  const std::string& Parent() const override { return parent_; }
  void setParent(std::string_view value) override;
  const std::string& ParentEntryID() const override { return parentEntryID_; }
  void setParentEntryID(std::string_view value) override;
  const std::string& ParentStoreID() const override { return parentStoreID_; }
  void setParentStoreID(std::string_view value) override;
  const std::string& ReceivedTime() const override { return receivedTime_; }
  void setReceivedTime(std::string_view value) override;
  bool Saved() const override { return saved_; }
  void setSaved(bool value) override { saved_ = value; }
  int32_t Sensitivity() const override { return sensitivity_; }
  void setSensitivity(int32_t value) override { sensitivity_ = value; }
  bool Sent() const override { return sent_; }
  void setSent(bool value) override { sent_ = value; }
  const std::string& SentOn() const override { return sentOn_; }
  void setSentOn(std::string_view value) override;
  int32_t Size() const override { return size_; }
  /// Size floor: a negative size is stored as 0.
  void setSize(int32_t value) override;
  const std::string& Subject() const override { return subject_; }
  void setSubject(std::string_view value) override;
  bool Submitted() const override { return submitted_; }
  void setSubmitted(bool value) override { submitted_ = value; }
  bool UnRead() const override { return unRead_; }
  void setUnRead(bool value) override { unRead_ = value; }

  /// Copies the members of the mail client's item `objItem` into the fields, in the order of
  /// copyMailItem, without resetting first. False after one recorded failure: -99987
  /// "Parameter missing" without an item (no field changes), else the first member that cannot
  /// be read, with the fields before it filled and the others kept.
  bool pblnLoad(const OutlookRef& objItem) override;

  /// Every field to its default: texts "", numbers 0, Saved and Sent True, Submitted and UnRead
  /// False. True.
  bool pblnReset() override;

 private:
  std::string conversationIndex_;
  std::string conversationTopic_;
  std::string entryID_;
  std::string creationTime_;
  std::string modificationTime_;
  std::string parent_;
  std::string parentEntryID_;
  std::string parentStoreID_;
  std::string receivedTime_;
  bool saved_ = true;
  int32_t sensitivity_ = 0;
  bool sent_ = true;
  std::string sentOn_;
  int32_t size_ = 0;
  std::string subject_;
  bool submitted_ = false;
  bool unRead_ = false;
};

/// The statements that copy a mail client's item into a snapshot, one per field, in this
/// order: ConversationIndex, ConversationTopic, CreationTime, EntryID, ModificationTime (from
/// "LastModificationTime"); the item's "Parent" folder, taken once, for Parent (its path text),
/// ParentEntryID and ParentStoreID; then ReceivedTime, Saved, Sensitivity, Sent, SentOn, Size,
/// Subject, Submitted, UnRead. Each statement is handed to `run` as a callable that throws the
/// failure of its read; `run` decides whether a failure ends the copy or is skipped.
template <class Run>
void copyMailItem(MailItemInterface& mail, OutlookObject& item, Run&& run) {
  run([&] { mail.setConversationIndex(textOf(item.Get("ConversationIndex"))); });
  run([&] { mail.setConversationTopic(textOf(item.Get("ConversationTopic"))); });
  run([&] { mail.setCreationTime(textOf(item.Get("CreationTime"))); });
  run([&] { mail.setEntryID(textOf(item.Get("EntryID"))); });
  run([&] { mail.setModificationTime(textOf(item.Get("LastModificationTime"))); });
  OutlookRef folder;
  auto parent = [&]() -> OutlookObject& {
    if (!folder) throw Failure::objectNotSet();
    return *folder;
  };
  run([&] { folder = objectOf(item.Get("Parent")); });
  run([&] { mail.setParent(pathText(parent())); });
  run([&] { mail.setParentEntryID(textOf(parent().Get("EntryID"))); });
  run([&] { mail.setParentStoreID(textOf(parent().Get("StoreID"))); });
  run([&] { mail.setReceivedTime(textOf(item.Get("ReceivedTime"))); });
  run([&] { mail.setSaved(boolOf(item.Get("Saved"))); });
  run([&] { mail.setSensitivity(longOf(item.Get("Sensitivity"))); });
  run([&] { mail.setSent(boolOf(item.Get("Sent"))); });
  run([&] { mail.setSentOn(textOf(item.Get("SentOn"))); });
  run([&] { mail.setSize(longOf(item.Get("Size"))); });
  run([&] { mail.setSubject(textOf(item.Get("Subject"))); });
  run([&] { mail.setSubmitted(boolOf(item.Get("Submitted"))); });
  run([&] { mail.setUnRead(boolOf(item.Get("UnRead"))); });
}

}  // namespace dks
