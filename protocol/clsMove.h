// clsMove: tells the server where an e-mail document is now. An automation client queues the
// records; the reconciliation drains the queue. Per e-mail:
//
//   <document><id>7</id><previous_location><path>dkemail://P</path><date>D</date>
//   </previous_location><current_location>dkemail://C</current_location></document>
#pragma once

#include <string>

#include "protocol/QueuedAction.h"

namespace dks {

class clsMove final : public QueuedAction {
 public:
  /// An action with code raMove and an empty queue, its settings loaded.
  clsMove();

 private:
  void appendDocument(RequestBuilder& builder, XmlElement document,
                      const clsEmail& email) const override;
  std::string logLine(const clsEmail& email) const override;
};

}  // namespace dks
