// The interface of a transport object: one XML document that is loaded from text, sent to the
// document server and dumped into a file. clsDocket implements it; InertDocket is the same
// interface presented without effect, as every action class presents it next to its own
// members.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/XmlDocument.h"

namespace dks {

class DocketInterface {
 public:
  virtual ~DocketInterface() = default;

  virtual std::string Script() const = 0;
  virtual void setScript(std::string_view strNew) = 0;
  virtual std::shared_ptr<XmlDocument> XMLDocument() const = 0;
  virtual std::string XMLText() const = 0;
  virtual bool pblnCreateFile(std::string_view strFile) = 0;
  virtual bool pblnLoadXML(std::string_view strXML) = 0;
  virtual bool pblnReset() = 0;
  virtual bool pblnSendXML(std::string& strResponse) = 0;
};

/// The transport interface without effect: reads give "" or no document, writes are ignored,
/// every function gives False and leaves its out argument alone. Stateless; one instance
/// serves every class that presents it.
class InertDocket final : public DocketInterface {
 public:
  /// The one shared instance.
  static InertDocket& instance();

  std::string Script() const override { return {}; }
  void setScript(std::string_view) override {}
  std::shared_ptr<XmlDocument> XMLDocument() const override { return nullptr; }
  std::string XMLText() const override { return {}; }
  bool pblnCreateFile(std::string_view) override { return false; }
  bool pblnLoadXML(std::string_view) override { return false; }
  bool pblnReset() override { return false; }
  bool pblnSendXML(std::string&) override { return false; }
};

}  // namespace dks
