// The interface of an action's settings: the action code, the server URL, the namespace text
// of the envelope and the two dump paths. clsAction implements it; InertAction is the same
// interface presented without effect, as every action class presents it next to its own
// members.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dks {

class ActionInterface {
 public:
  virtual ~ActionInterface() = default;

  virtual int32_t Action() const = 0;
  virtual void setAction(int32_t value) = 0;
  virtual std::string RequestLog() const = 0;
  virtual void setRequestLog(std::string_view value) = 0;
  virtual std::string ResponseLog() const = 0;
  virtual void setResponseLog(std::string_view value) = 0;
  virtual std::string Script() const = 0;
  virtual void setScript(std::string_view value) = 0;
  virtual std::string URN() const = 0;
  virtual void setURN(std::string_view value) = 0;
  virtual bool pblnReset() = 0;
};

/// The settings interface without effect: reads give 0 or "", writes are ignored, pblnReset
/// gives False. Stateless; one instance serves every class that presents it.
class InertAction final : public ActionInterface {
 public:
  /// The one shared instance.
  static InertAction& instance();

  int32_t Action() const override { return 0; }
  void setAction(int32_t) override {}
  std::string RequestLog() const override { return {}; }
  void setRequestLog(std::string_view) override {}
  std::string ResponseLog() const override { return {}; }
  void setResponseLog(std::string_view) override {}
  std::string Script() const override { return {}; }
  void setScript(std::string_view) override {}
  std::string URN() const override { return {}; }
  void setURN(std::string_view) override {}
  bool pblnReset() override { return false; }
};

}  // namespace dks
