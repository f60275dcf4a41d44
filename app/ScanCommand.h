// `dks-reconciler scan`: a read-only look at the mail store as the reconciliation sees it. The
// Inbox (6) and the Sent Items (5) are opened as an include folder opens them, and every item is
// loaded into an item record as the tree walk loads it. Nothing is written to the settings hive
// and nothing is sent.
#pragma once

#include <memory>
#include <ostream>

#include "platform/Platform.h"

namespace dks {

/// Prints, for the default folders 6 and 5, one line of the folder's facts as clsFolder records
/// them ("# Folder 6", then EntryID=, FolderPath=, Name=, Parent=, ParentEntryID=,
/// ParentStoreID=, tab-separated), then a header line and one tab-separated line per item:
/// Folder (the path text of the folder that holds it), EntryID, Subject, CreationTime,
/// ModificationTime, ReceivedTime, SentOn, Size, UnRead, Sent, Sensitivity, ConversationTopic,
/// ConversationIndex, Parent, ParentEntryID, ParentStoreID. With `subFolders` the sub-folders
/// follow each folder's items, depth first in the order of its Folders. A last line counts
/// folders and items. Tabs and line breaks inside values print as spaces.
/// Failures are recorded in gcolError, which must be set; a folder that cannot be read is
/// reported on `err` and skipped. Returns 0, or 1 when anything failed.
int printScan(const std::shared_ptr<AutomationObject>& objApp, bool subFolders, std::ostream& out,
              std::ostream& err);

}  // namespace dks
