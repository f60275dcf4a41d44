#include "protocol/clsUpdate.h"

#include "app/orrEnums.h"
#include "platform/Text.h"

namespace dks {

clsUpdate::clsUpdate() : QueuedAction({"clsUpdate", raUpdate, cfUpdate}) {}

void clsUpdate::appendDocument(RequestBuilder& builder, XmlElement document,
                               const clsEmail& email) const {
  builder.number(document, "id", email.DocumentID());
  builder.location(document, "current_location", email.CurrentLocation());
  builder.text(document, "action", email.Action());
  builder.text(document, "description", email.Description());
}

std::string clsUpdate::logLine(const clsEmail& email) const {
  return std::string(word()) + ", Title=" + email.Title() +
         ", CLocation=" + email.CurrentLocation() + ", CDate=" + email.CurrentDate() +
         ", Action=" + email.Action() + ", Description=" + email.Description();
}

}  // namespace dks
