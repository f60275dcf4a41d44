// clsDelete: tells the server that e-mails it lists are no longer in the watched folders. Each
// record names the document by id and by the location the server last knew:
//
//   <document><id>7</id><current_location>dkemail://L</current_location></document>
#pragma once

#include <string>

#include "protocol/QueuedAction.h"

namespace dks {

class clsDelete final : public QueuedAction {
 public:
  /// An action with code raDelete and an empty queue, its settings loaded.
  clsDelete();

 private:
  void appendDocument(RequestBuilder& builder, XmlElement document,
                      const clsEmail& email) const override;
  std::string logLine(const clsEmail& email) const override;
};

}  // namespace dks
