// The interface of a mail item snapshot: what the mail client says about one message. clsMailItem
// implements it; InertMailItem is the same interface presented without effect, as the item
// record presents it next to its own members.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Outlook.h"

namespace dks {

class MailItemInterface {
 public:
  virtual ~MailItemInterface() = default;

  virtual const std::string& ConversationIndex() const = 0;
  virtual void setConversationIndex(std::string_view value) = 0;
  virtual const std::string& ConversationTopic() const = 0;
  virtual void setConversationTopic(std::string_view value) = 0;
  virtual const std::string& EntryID() const = 0;
  virtual void setEntryID(std::string_view value) = 0;
  virtual const std::string& CreationTime() const = 0;
  virtual void setCreationTime(std::string_view value) = 0;
  virtual const std::string& ModificationTime() const = 0;
  virtual void setModificationTime(std::string_view value) = 0;
  virtual const std::string& Parent() const = 0;
  virtual void setParent(std::string_view value) = 0;
  virtual const std::string& ParentEntryID() const = 0;
  virtual void setParentEntryID(std::string_view value) = 0;
  virtual const std::string& ParentStoreID() const = 0;
  virtual void setParentStoreID(std::string_view value) = 0;
  virtual const std::string& ReceivedTime() const = 0;
  virtual void setReceivedTime(std::string_view value) = 0;
  virtual bool Saved() const = 0;
  virtual void setSaved(bool value) = 0;
  virtual int32_t Sensitivity() const = 0;
  virtual void setSensitivity(int32_t value) = 0;
  virtual bool Sent() const = 0;
  virtual void setSent(bool value) = 0;
  virtual const std::string& SentOn() const = 0;
  virtual void setSentOn(std::string_view value) = 0;
  virtual int32_t Size() const = 0;
  virtual void setSize(int32_t value) = 0;
  virtual const std::string& Subject() const = 0;
  virtual void setSubject(std::string_view value) = 0;
  virtual bool Submitted() const = 0;
  virtual void setSubmitted(bool value) = 0;
  virtual bool UnRead() const = 0;
  virtual void setUnRead(bool value) = 0;

  virtual bool pblnLoad(const OutlookRef& objItem) = 0;
  virtual bool pblnReset() = 0;
};

/// The mail item interface without effect: every read gives the empty value of its type ("",
/// 0, False), every write is ignored, pblnLoad and pblnReset give False. Stateless; one instance
/// serves every record that presents it.
class InertMailItem final : public MailItemInterface {
 public:
  /// The one shared instance.
  static InertMailItem& instance();

  const std::string& ConversationIndex() const override { return empty(); }
  void setConversationIndex(std::string_view) override {}
  const std::string& ConversationTopic() const override { return empty(); }
  void setConversationTopic(std::string_view) override {}
  const std::string& EntryID() const override { return empty(); }
  void setEntryID(std::string_view) override {}
  const std::string& CreationTime() const override { return empty(); }
  void setCreationTime(std::string_view) override {}
  const std::string& ModificationTime() const override { return empty(); }
  void setModificationTime(std::string_view) override {}
  const std::string& Parent() const override { return empty(); }
  void setParent(std::string_view) override {}
  const std::string& ParentEntryID() const override { return empty(); }
  void setParentEntryID(std::string_view) override {}
  const std::string& ParentStoreID() const override { return empty(); }
  void setParentStoreID(std::string_view) override {}
  const std::string& ReceivedTime() const override { return empty(); }
  void setReceivedTime(std::string_view) override {}
  bool Saved() const override { return false; }
  void setSaved(bool) override {}
  int32_t Sensitivity() const override { return 0; }
  void setSensitivity(int32_t) override {}
  bool Sent() const override { return false; }
  void setSent(bool) override {}
  const std::string& SentOn() const override { return empty(); }
  void setSentOn(std::string_view) override {}
  int32_t Size() const override { return 0; }
  void setSize(int32_t) override {}
  const std::string& Subject() const override { return empty(); }
  void setSubject(std::string_view) override {}
  bool Submitted() const override { return false; }
  void setSubmitted(bool) override {}
  bool UnRead() const override { return false; }
  void setUnRead(bool) override {}

  bool pblnLoad(const OutlookRef&) override { return false; }
  bool pblnReset() override { return false; }

 private:
  static const std::string& empty();
};

}  // namespace dks
