#include "protocol/clsMove.h"

#include "app/orrEnums.h"
#include "platform/Text.h"

namespace dks {

clsMove::clsMove() : QueuedAction({"clsMove", raMove, cfMove}) {}

void clsMove::appendDocument(RequestBuilder& builder, XmlElement document,
                             const clsEmail& email) const {
  builder.number(document, "id", email.DocumentID());
  XmlElement previous = builder.group(document, "previous_location");
  builder.location(previous, "path", email.PreviousLocation());
  builder.text(previous, "date", email.PreviousDate());
  builder.location(document, "current_location", email.CurrentLocation());
}

std::string clsMove::logLine(const clsEmail& email) const {
  return std::string(word()) + ", Title=" + email.Title() +
         ", CLocation=" + email.CurrentLocation() + ", CDate=" + email.CurrentDate() +
         ", PLocation=" + email.PreviousLocation() + ", PDate=" + email.PreviousDate();
}

}  // namespace dks
