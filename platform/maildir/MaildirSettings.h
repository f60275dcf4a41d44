// Where the user's Maildir store is and how it is presented: the settings the Maildir store is
// opened with.
#pragma once

#include <string>
#include <vector>

#include "platform/Hive.h"
#include "platform/ProcessFacts.h"

namespace dks {

struct MaildirSettings {
  /// The store's root folder.
  std::string root;
  /// The display name of the store's top folder.
  std::string storeName = "Personal Folders";
  /// The names looked for, in this order, among the top-level folders for the Sent Items.
  std::vector<std::string> sentFolderNames = {"Sent Items", "Sent", "Sent Messages"};
};

/// The settings of this user: the root is $MAILDIR when set and not empty, else
/// $HOME/Maildir (the account's home folder when HOME is not set; "" when none is known). From
/// the platform's key (kPlatformKeyPath) of `hive`, when given, the text values "StoreName"
/// and "SentFolders" (names separated by ";", each trimmed, empty ones dropped) replace the
/// defaults when they are present and not blank. Throws the hive's Failure when it cannot be
/// read.
MaildirSettings readMaildirSettings(Hive* hive, const EnvironmentLookup& environment);

/// The same with the process's environment.
MaildirSettings readMaildirSettings(Hive* hive);

}  // namespace dks
