// clsUpdate: reports that e-mail documents were used. An automation client queues the records;
// the reconciliation drains the queue. Per e-mail:
//
//   <document><id>7</id><current_location>dkemail://L</current_location>
//   <action>A</action><description>D</description></document>
#pragma once

#include <string>

#include "protocol/QueuedAction.h"

namespace dks {

class clsUpdate final : public QueuedAction {
 public:
  /// An action with code raUpdate and an empty queue, its settings loaded.
  clsUpdate();

 private:
  void appendDocument(RequestBuilder& builder, XmlElement document,
                      const clsEmail& email) const override;
  std::string logLine(const clsEmail& email) const override;
};

}  // namespace dks
