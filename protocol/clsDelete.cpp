#include "protocol/clsDelete.h"

#include "app/orrEnums.h"
#include "platform/Text.h"

namespace dks {

clsDelete::clsDelete() : QueuedAction({"clsDelete", raDelete, cfDelete}) {}

void clsDelete::appendDocument(RequestBuilder& builder, XmlElement document,
                               const clsEmail& email) const {
  builder.number(document, "id", email.DocumentID());
  builder.location(document, "current_location", email.CurrentLocation());
}

std::string clsDelete::logLine(const clsEmail& email) const {
  return std::string(word()) + ", Title=" + email.Title() +
         ", CLocation=" + email.CurrentLocation() + ", CDate=" + email.CurrentDate();
}

}  // namespace dks
