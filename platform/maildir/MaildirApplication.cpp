#include "platform/maildir/MaildirApplication.h"

#include <sys/stat.h>

#include "platform/Failure.h"
#include "platform/Text.h"
#include "platform/maildir/MaildirNamespace.h"
#include "platform/maildir/MaildirStore.h"

namespace dks {

MaildirApplication::MaildirApplication(std::shared_ptr<MaildirStore> store)
    : namespace_(std::make_shared<MaildirNamespace>(std::move(store))) {}

std::shared_ptr<OutlookNamespace> MaildirApplication::GetNamespace(const std::string& type) {
  if (!equalsIgnoreCase(type, "MAPI")) throw Failure::invalidParameter();
  return namespace_;
}

std::shared_ptr<OutlookApplication> openMaildirStore(const MaildirSettings& settings) {
  return std::make_shared<MaildirApplication>(MaildirStore::open(settings));
}

std::shared_ptr<OutlookApplication> openUserMaildirStore(const std::string& hivePath) {
  MaildirSettings settings;
  try {
    struct stat info;
    std::shared_ptr<Hive> hive;
    if (::stat(hivePath.c_str(), &info) == 0) hive = Hive::open(hivePath);
    settings = readMaildirSettings(hive.get());
  } catch (const Failure&) {
    throw Failure::cannotCreateObject();
  }
  return openMaildirStore(settings);
}

}  // namespace dks
