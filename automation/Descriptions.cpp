#include "automation/Descriptions.h"

#include <memory>
#include <vector>

namespace dks::automation {
namespace {

// NewEnum: the members of a collection, in order.
template <class Collection>
auto membersOf(const Collection& collection) {
  std::vector<typename Collection::Member> members;
  for (const auto& member : collection.NewEnum()) members.push_back(member);
  return members;
}

// The four action requests share their members; each is exported under its own class name.
template <class Action>
ClassDescription<Action> actionDescription(const char* className) {
  ClassDescription<Action> description(className);
  description.property("Emails", &Action::Emails)
      .property("Request", &Action::Request)
      .property("RequestLog", &Action::RequestLog, &Action::setRequestLog)
      .property("Response", &Action::Response)
      .property("ResponseLog", &Action::ResponseLog, &Action::setResponseLog)
      .property("Script", &Action::Script, &Action::setScript)
      .property("URN", &Action::URN, &Action::setURN)
      .method("pblnLoadXML", &Action::pblnLoadXML, {"lngEmails", "strXML"})
      .method("pblnReset", &Action::pblnReset)
      .method("pblnSendXML", &Action::pblnSendXML, {"lngEmails", "lngFile"})
      .template presents<ActionInterface>(&Action::AsAction)
      .template presents<DocketInterface>(&Action::AsDocket);
  return description;
}

}  // namespace

template <>
const ClassDescription<clsReconciler>& describe<clsReconciler>() {
  using C = clsReconciler;
  static const auto description = ClassDescription<C>("clsReconciler")
                                      .property("Include", &C::Include)
                                      .property("State", &C::State)
                                      .method("ShutDown", &C::ShutDown)
                                      .method("pblnReconcile", &C::pblnReconcile)
                                      .method("pblnReset", &C::pblnReset);
  return description;
}

template <>
const ClassDescription<colInclude>& describe<colInclude>() {
  using C = colInclude;
  static const auto description =
      ClassDescription<C>("colInclude")
          .property("Count", &C::Count)
          .method("Item", &C::Item, {"vntIndex"})
          .method("NewEnum", [](C& collection) { return membersOf(collection); })
          .method("Add", &C::Add,
                  {"strFolder", "blnSubFolders", "lngDefault", "strEntryID", "strStoreID", "strKey"})
          .method("Remove", &C::Remove, {"vntIndex"})
          .method("pblnReset", &C::pblnReset);
  return description;
}

template <>
const ClassDescription<clsInclude>& describe<clsInclude>() {
  using C = clsInclude;
  static const auto description =
      ClassDescription<C>("clsInclude")
          .property("Default", &C::Default, &C::setDefault)
          .property("Delete", &C::Delete)
          .property("Exclude", &C::Exclude)
          .property("MailItems", &C::MailItems)
          .property("EntryID", &C::EntryID, &C::setEntryID)
          .property("FirstMatch", &C::FirstMatch, &C::setFirstMatch)
          .property("Folder", &C::Folder, &C::setFolder)
          .property("FolderPath", &C::FolderPath)
          .property("Key", &C::Key, &C::setKey)
          .property("MaxCharacters", &C::MaxCharacters, &C::setMaxCharacters)
          .property("MaxMatches", &C::MaxMatches, &C::setMaxMatches)
          .property("Move", &C::Move)
          .property("Name", &C::Name)
          .property("Parent", &C::Parent)
          .property("ParentEntryID", &C::ParentEntryID)
          .property("ParentStoreID", &C::ParentStoreID)
          .property("Request", &C::Request)
          .property("RequestLog", &C::RequestLog, &C::setRequestLog)
          .property("Response", &C::Response)
          .property("ResponseLog", &C::ResponseLog, &C::setResponseLog)
          .property("Save", &C::Save)
          .property("Script", &C::Script, &C::setScript)
          .property("Sorted", &C::Sorted, &C::setSorted)
          .property("StoreID", &C::StoreID, &C::setStoreID)
          .property("SubFolders", &C::SubFolders, &C::setSubFolders)
          .property("Update", &C::Update)
          .property("URN", &C::URN, &C::setURN)
          .method("pblnIgnore", &C::pblnIgnore, {"strPath", "blnIgnore"})
          .method("pblnLoadXML", &C::pblnLoadXML, {"strFolder", "blnSubFolders", "strXML"})
          .method("pblnReconcile", &C::pblnReconcile)
          .method("pblnReset", &C::pblnReset)
          .method("pblnSendXML", &C::pblnSendXML, {"strFolder", "blnSubFolders", "lngFile"})
          .method("pblnTreeWalk", &C::pblnTreeWalk, {"objRoot"})
          .presents<ActionInterface>(&C::AsAction)
          .presents<FolderInterface>(&C::AsFolder)
          .presents<DocketInterface>(&C::AsDocket);
  return description;
}

template <>
const ClassDescription<colExclude>& describe<colExclude>() {
  using C = colExclude;
  static const auto description =
      ClassDescription<C>("colExclude")
          .method("Add", &C::Add, {"strFolder", "blnSubFolders", "strEntryID", "strStoreID", "strKey"})
          .property("Count", &C::Count)
          .method("Item", &C::Item, {"vntIndex"})
          .method("NewEnum", [](C& collection) { return membersOf(collection); })
          .method("Remove", &C::Remove, {"vntIndex"})
          .method("pblnReset", &C::pblnReset, {"strInclude"});
  return description;
}

template <>
const ClassDescription<clsExclude>& describe<clsExclude>() {
  using C = clsExclude;
  static const auto description = ClassDescription<C>("clsExclude")
                                      .property("EntryID", &C::EntryID, &C::setEntryID)
                                      .property("Folder", &C::Folder, &C::setFolder)
                                      .property("Key", &C::Key, &C::setKey)
                                      .property("StoreID", &C::StoreID, &C::setStoreID)
                                      .property("SubFolders", &C::SubFolders, &C::setSubFolders)
                                      .method("pblnReset", &C::pblnReset);
  return description;
}

template <>
const ClassDescription<colItem>& describe<colItem>() {
  using C = colItem;
  static const auto description =
      ClassDescription<C>("colItem")
          .method("Add", &C::Add, {"strEntryID", "strKey"})
          .property("Count", &C::Count)
          .method("Item", &C::Item, {"vntIndex"})
          .method("NewEnum", [](C& collection) { return membersOf(collection); })
          .method("Remove", &C::Remove, {"vntIndex"})
          .method("pblnReset", &C::pblnReset);
  return description;
}

template <>
const ClassDescription<clsItem>& describe<clsItem>() {
  using C = clsItem;
  static const auto description =
      ClassDescription<C>("clsItem")
          .property("ConversationIndex", &C::ConversationIndex, &C::setConversationIndex)
          .property("ConversationTopic", &C::ConversationTopic, &C::setConversationTopic)
          .property("CreationTime", &C::CreationTime, &C::setCreationTime)
          .property("DocumentID", &C::DocumentID, &C::setDocumentID)
          .property("EntryID", &C::EntryID, &C::setEntryID)
          .property("ModificationTime", &C::ModificationTime, &C::setModificationTime)
          .property("Parent", &C::Parent, &C::setParent)
          .property("ParentEntryID", &C::ParentEntryID, &C::setParentEntryID)
          .property("ParentStoreID", &C::ParentStoreID, &C::setParentStoreID)
          .property("PreviousDate", &C::PreviousDate, &C::setPreviousDate)
          .property("PreviousLocation", &C::PreviousLocation, &C::setPreviousLocation)
          .property("PreviousSize", &C::PreviousSize, &C::setPreviousSize)
          .property("ReceivedTime", &C::ReceivedTime, &C::setReceivedTime)
          .property("Resave", &C::Resave, &C::setResave)
          .property("Saved", &C::Saved, &C::setSaved)
          .property("Sensitivity", &C::Sensitivity, &C::setSensitivity)
          .property("Sent", &C::Sent, &C::setSent)
          .property("SentOn", &C::SentOn, &C::setSentOn)
          .property("Size", &C::Size, &C::setSize)
          .property("Subject", &C::Subject, &C::setSubject)
          .property("Submitted", &C::Submitted, &C::setSubmitted)
          .property("Title", &C::Title, &C::setTitle)
          .property("UnRead", &C::UnRead, &C::setUnRead)
          .method("pblnLoad", &C::pblnLoad, {"objItem"})
          .method("pblnReset", &C::pblnReset)
          .presents<EmailInterface>(&C::AsEmail)
          .presents<MailItemInterface>(&C::AsMailItem);
  return description;
}

template <>
const ClassDescription<colEmail>& describe<colEmail>() {
  using C = colEmail;
  static const auto description =
      ClassDescription<C>("colEmail")
          .method("Add", &C::Add, {"strCurrent", "strKey"})
          .property("Count", &C::Count)
          .method("Item", &C::Item, {"vntIndex"})
          .method("NewEnum", [](C& collection) { return membersOf(collection); })
          .method("Remove", &C::Remove, {"vntIndex"})
          .method("pblnLoad", &C::pblnLoad, {"objItem", "vntIndex"})
          .method("pblnReset", &C::pblnReset);
  return description;
}

template <>
const ClassDescription<EmailInterface>& describe<EmailInterface>() {
  using C = EmailInterface;
  static const auto description =
      ClassDescription<C>("clsEmail")
          .property("Action", &C::Action, &C::setAction)
          .property("CurrentLocation", &C::CurrentLocation, &C::setCurrentLocation)
          .property("CurrentDate", &C::CurrentDate, &C::setCurrentDate)
          .property("CurrentSize", &C::CurrentSize, &C::setCurrentSize)
          .property("Description", &C::Description, &C::setDescription)
          .property("DocumentID", &C::DocumentID, &C::setDocumentID)
          .property("PreviousLocation", &C::PreviousLocation, &C::setPreviousLocation)
          .property("PreviousDate", &C::PreviousDate, &C::setPreviousDate)
          .property("PreviousSize", &C::PreviousSize, &C::setPreviousSize)
          .property("Resave", &C::Resave, &C::setResave)
          .property("SnapshotLocation", &C::SnapshotLocation, &C::setSnapshotLocation)
          .property("Title", &C::Title, &C::setTitle)
          .property("DataType", &C::DataType)
          .property("SourceURL", &C::SourceURL)
          .method("pblnReset", &C::pblnReset);
  return description;
}

template <>
const ClassDescription<MailItemInterface>& describe<MailItemInterface>() {
  using C = MailItemInterface;
  static const auto description =
      ClassDescription<C>("clsMailItem")
          .property("ConversationIndex", &C::ConversationIndex, &C::setConversationIndex)
          .property("ConversationTopic", &C::ConversationTopic, &C::setConversationTopic)
          .property("EntryID", &C::EntryID, &C::setEntryID)
          .property("CreationTime", &C::CreationTime, &C::setCreationTime)
          .property("ModificationTime", &C::ModificationTime, &C::setModificationTime)
          .property("Parent", &C::Parent, &C::setParent)
          .property("ParentEntryID", &C::ParentEntryID, &C::setParentEntryID)
          .property("ParentStoreID", &C::ParentStoreID, &C::setParentStoreID)
          .property("ReceivedTime", &C::ReceivedTime, &C::setReceivedTime)
          .property("Saved", &C::Saved, &C::setSaved)
          .property("Sensitivity", &C::Sensitivity, &C::setSensitivity)
          .property("Sent", &C::Sent, &C::setSent)
          .property("SentOn", &C::SentOn, &C::setSentOn)
          .property("Size", &C::Size, &C::setSize)
          .property("Subject", &C::Subject, &C::setSubject)
          .property("Submitted", &C::Submitted, &C::setSubmitted)
          .property("UnRead", &C::UnRead, &C::setUnRead)
          .method("pblnLoad", &C::pblnLoad, {"objItem"})
          .method("pblnReset", &C::pblnReset);
  return description;
}

template <>
const ClassDescription<FolderInterface>& describe<FolderInterface>() {
  using C = FolderInterface;
  static const auto description =
      ClassDescription<C>("clsFolder")
          .property("EntryID", &C::EntryID, &C::setEntryID)
          .property("FolderPath", &C::FolderPath, &C::setFolderPath)
          .property("Name", &C::Name, &C::setName)
          .property("Parent", &C::Parent, &C::setParent)
          .property("ParentEntryID", &C::ParentEntryID, &C::setParentEntryID)
          .property("ParentStoreID", &C::ParentStoreID, &C::setParentStoreID)
          .property("StoreID", &C::StoreID, &C::setStoreID)
          .method("pblnGetDefault", &C::pblnGetDefault, {"objApp", "lngFolder", "objFolder"})
          .method("pblnGetFromID", &C::pblnGetFromID, {"objApp", "objFolder"})
          .method("pblnReset", &C::pblnReset);
  return description;
}

template <>
const ClassDescription<ActionInterface>& describe<ActionInterface>() {
  using C = ActionInterface;
  static const auto description = ClassDescription<C>("clsAction")
                                      .property("Action", &C::Action, &C::setAction)
                                      .property("RequestLog", &C::RequestLog, &C::setRequestLog)
                                      .property("ResponseLog", &C::ResponseLog, &C::setResponseLog)
                                      .property("Script", &C::Script, &C::setScript)
                                      .property("URN", &C::URN, &C::setURN)
                                      .method("pblnReset", &C::pblnReset);
  return description;
}

template <>
const ClassDescription<DocketInterface>& describe<DocketInterface>() {
  using C = DocketInterface;
  static const auto description =
      ClassDescription<C>("clsDocket")
          .property("Script", &C::Script, &C::setScript)
          .property("XMLDocument", &C::XMLDocument)
          .property("XMLText", &C::XMLText)
          .method("pblnCreateFile", &C::pblnCreateFile, {"strFile"})
          .method("pblnLoadXML", &C::pblnLoadXML, {"strXML"})
          .method("pblnReset", &C::pblnReset)
          .method("pblnSendXML", &C::pblnSendXML, {"strResponse"});
  return description;
}

template <>
const ClassDescription<clsDelete>& describe<clsDelete>() {
  static const auto description = actionDescription<clsDelete>("clsDelete");
  return description;
}

template <>
const ClassDescription<clsSave>& describe<clsSave>() {
  static const auto description = actionDescription<clsSave>("clsSave");
  return description;
}

template <>
const ClassDescription<clsMove>& describe<clsMove>() {
  static const auto description = actionDescription<clsMove>("clsMove");
  return description;
}

template <>
const ClassDescription<clsUpdate>& describe<clsUpdate>() {
  static const auto description = actionDescription<clsUpdate>("clsUpdate");
  return description;
}

}  // namespace dks::automation
