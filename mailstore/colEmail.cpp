#include "mailstore/colEmail.h"

#include "app/attempt.h"
#include "app/clsApplication.h"
#include "app/modApplication.h"
#include "platform/Failure.h"
#include "platform/Text.h"

namespace dks {
namespace {

void logLoad(const std::string& title, const clsEmail& email) {
  clsApplication& application = requireApplication();
  if (application.DebugLevel() < 3) return;
  application.pblnLog("Title=" + title + ", Resave=" + booleanText(email.Resave()) +
                      ", CLocation=" + email.CurrentLocation() + ", CDate=" + email.CurrentDate() +
                      ", PLocation=" + email.PreviousLocation() +
                      ", PDate=" + email.PreviousDate());
}

}  // namespace

void colEmail::Add(std::string_view strCurrent, std::string_view strKey) {
  attempt(className(), "Add", [&] {
    std::shared_ptr<clsEmail> record = appendNew(strKey);
    if (!trimSpaces(strCurrent).empty()) record->setCurrentLocation(strCurrent);
  });
}

bool colEmail::pblnLoad(const std::shared_ptr<clsItem>& objItem, const vntIndex& index) {
  return attempt(className(), "pblnLoad", [&] {
    if (!objItem) throw Failure::parameterMissing();
    const clsItem& item = *objItem;
    const std::string title = item.Parent() + "\\" + item.Subject();
    std::shared_ptr<clsEmail> email = Item(index);
    if (!email) throw Failure::objectNotSet();
    email->setCurrentDate(item.ModificationTime());
    email->setCurrentSize(item.Size());
    email->setDocumentID(item.DocumentID());
    email->setPreviousDate(item.PreviousDate());
    email->setPreviousLocation(item.PreviousLocation());
    email->setPreviousSize(item.PreviousSize());
    email->setResave(item.Resave());
    email->setTitle(title);
    logLoad(title, *email);
  });
}

}  // namespace dks
