// clsSave: tells the server about e-mails it should store as documents: new mail, and mail
// that changed since the server last saw it (Resave). Its request carries the sending
// application after "type", and per e-mail:
//
//   <document><id>12</id><title>T</title><source_url>dkemail://L</source_url>
//   <data_type>eml</data_type><current_version><location>dkemail://L</location>
//   <resave>True</resave></current_version><snapshot_version><location/></snapshot_version>
//   </document>
#pragma once

#include <string>

#include "protocol/QueuedAction.h"

namespace dks {

class clsSave final : public QueuedAction {
 public:
  /// An action with code raSave and an empty queue, its settings loaded.
  clsSave();

 private:
  void appendHeader(RequestBuilder& builder) const override;
  void appendDocument(RequestBuilder& builder, XmlElement document,
                      const clsEmail& email) const override;
  std::string logLine(const clsEmail& email) const override;
};

}  // namespace dks
