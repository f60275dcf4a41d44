#include "protocol/clsSave.h"

#include "app/clsApplication.h"
#include "app/modApplication.h"
#include "app/orrEnums.h"
#include "platform/Text.h"

namespace dks {

clsSave::clsSave() : QueuedAction({"clsSave", raSave, cfSave}) {}

void clsSave::appendHeader(RequestBuilder& builder) const {
  const clsApplication& application = requireApplication();
  XmlElement source = builder.group(builder.request(), "source_application");
  builder.text(source, "name", application.ProductName());
  builder.text(source, "version", application.VersionNumber());
}

void clsSave::appendDocument(RequestBuilder& builder, XmlElement document,
                             const clsEmail& email) const {
  builder.number(document, "id", email.DocumentID());
  builder.text(document, "title", email.Title());
  builder.text(document, "source_url", email.SourceURL());
  builder.text(document, "data_type", email.DataType());
  XmlElement current = builder.group(document, "current_version");
  builder.location(current, "location", email.CurrentLocation());
  builder.boolean(current, "resave", email.Resave());
  builder.location(builder.group(document, "snapshot_version"), "location",
                   email.SnapshotLocation());
}

std::string clsSave::logLine(const clsEmail& email) const {
  return std::string(word()) + ", Title=" + email.Title() +
         ", Resave=" + booleanText(email.Resave()) + ", CLocation=" + email.CurrentLocation() +
         ", CDate=" + email.CurrentDate() + ", PDate=" + email.PreviousDate();
}

}  // namespace dks
