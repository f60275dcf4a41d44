// MaildirApplication: the application object of the ProgID "Outlook.Application" on Linux, over
// the user's Maildir store.
#pragma once

#include <memory>
#include <string>

#include "platform/Outlook.h"
#include "platform/maildir/MaildirSettings.h"

namespace dks {

class MaildirNamespace;
class MaildirStore;

class MaildirApplication : public OutlookApplication {
 public:
  explicit MaildirApplication(std::shared_ptr<MaildirStore> store);

  /// The store's name space for "MAPI" (letter case ignored), the same object on every call.
  /// Throws Failure invalidParameter for any other type.
  std::shared_ptr<OutlookNamespace> GetNamespace(const std::string& type) override;

 private:
  std::shared_ptr<MaildirNamespace> namespace_;
};

/// The application object over the store that `settings` describe. Throws Failure 429
/// "ActiveX component can't create object" when the root is not an existing directory.
std::shared_ptr<OutlookApplication> openMaildirStore(const MaildirSettings& settings);

/// The application object over this user's store, with the settings read from the hive at
/// `hivePath` when that file exists (it is never created). Throws Failure 429 when the hive
/// cannot be read or the store's root is not an existing directory.
std::shared_ptr<OutlookApplication> openUserMaildirStore(const std::string& hivePath);

}  // namespace dks
