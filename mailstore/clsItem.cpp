#include "mailstore/clsItem.h"

#include "app/attempt.h"
#include "app/clsApplication.h"
#include "app/modApplication.h"
#include "platform/Failure.h"
#include "platform/Text.h"

namespace dks {
namespace {
constexpr const char* kClass = "clsItem";
}  // namespace

bool clsItem::pblnLoad(const OutlookRef& objItem) {
  return attempt(kClass, "pblnLoad", [&] {
    if (!objItem) throw Failure::parameterMissing();
    // The message's members are what the mail client can give: a member it cannot read leaves
    // that field as it was.
    copyMailItem(mailHalf(), *objItem, [](auto&& statement) {
      ignoreFailures(std::forward<decltype(statement)>(statement));
    });
    ignoreFailures([&] { logLoad(*objItem); });
  });
}

bool clsItem::pblnReset() {
  email_.reset();
  mail_.reset();
  return true;
}

const clsMailItem& clsItem::mail() const {
  static const clsMailItem kReset;
  return mail_ ? *mail_ : kReset;
}

clsMailItem& clsItem::mailHalf() {
  if (!mail_) mail_ = std::make_unique<clsMailItem>();
  return *mail_;
}

const clsEmail& clsItem::email() const {
  static const clsEmail kReset;
  return email_ ? *email_ : kReset;
}

clsEmail& clsItem::emailHalf() {
  if (!email_) email_ = std::make_unique<clsEmail>();
  return *email_;
}

void clsItem::logLoad(OutlookObject& item) const {
  clsApplication& application = requireApplication();
  if (application.DebugLevel() < 3) return;
  std::string line = "Subject=" + textOf(item.Get("Subject"));
  line += ", EntryID=" + textOf(item.Get("EntryID"));
  line += ", Modification=" + textOf(item.Get("LastModificationTime"));
  line += ", Size=" + std::to_string(longOf(item.Get("Size")));
  line += std::string(", UnRead=") + booleanText(boolOf(item.Get("UnRead")));
  application.pblnLog(line);
}

}  // namespace dks
