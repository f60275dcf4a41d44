// clsAction: the settings of one kind of exchange with the document server. It takes the URL,
// the envelope's namespace text and the dump paths from the application settings and lets the
// action's own registry key override them:
//
//   code  action word        key  default Script                          own dump code
//   0     "list documents"   41   Host + ":" + Port + "/listDocuments"    cfInclude
//   1     "delete"           42   the application's Script                cfDelete
//   2     "save"             47   the application's Script                cfSave
//   4     "move document"    45   the application's Script                cfMove
//   8     "update usage"     46   the application's Script                cfUpdate
//
// Any other code is treated like 0.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "protocol/ActionInterface.h"

namespace dks {

/// The word of an action code in requests and log lines ("list documents" for 0 and any code
/// that is no action).
const char* actionWord(int32_t code);

/// What the dump selector `lngFile` asks of an exchange whose own dump code is `ownCode`:
/// cfAll or the own code dump and must succeed; either plus cfIgnore dump, failures ignored;
/// anything else writes no dump.
enum class DumpRequest { none, required, failuresIgnored };
DumpRequest dumpRequest(int32_t lngFile, int32_t ownCode);

class clsAction final : public ActionInterface {
 public:
  /// Code 0, with its settings loaded by pblnReset (a failure there is recorded by it).
  clsAction();
  /// When the utility component still exists, deletes the files at RequestLog and ResponseLog,
  /// ignoring the outcome.
  ~clsAction() override;
  clsAction(const clsAction&) = delete;
  clsAction& operator=(const clsAction&) = delete;

  int32_t Action() const override { return action_; }
  /// Stores the code, then runs pblnReset (its result is not passed on).
  void setAction(int32_t value) override;
  std::string RequestLog() const override { return requestLog_; }
  void setRequestLog(std::string_view value) override;  // trimmed, lower case
  std::string ResponseLog() const override { return responseLog_; }
  void setResponseLog(std::string_view value) override;  // trimmed, lower case
  std::string Script() const override { return script_; }
  void setScript(std::string_view value) override;  // trimmed
  std::string URN() const override { return urn_; }
  void setURN(std::string_view value) override;  // trimmed, proper case

  /// Loads the settings: dump paths, Script and URN from the application settings, then the
  /// values "RequestLog", "ResponseLog", "Script" and "URN" of the action's key where they are
  /// not blank ("Script" holds only the path: Script becomes Host + ":" + Port + "/" + it), then
  /// deletes the files at RequestLog and ResponseLog. False at the first utility call that
  /// reports failure, with the settings read before it kept; a run-time failure is recorded
  /// under ("clsAction", "pblnReset").
  bool pblnReset() override;

 private:
  int32_t action_ = 0;
  std::string requestLog_;
  std::string responseLog_;
  std::string script_;
  std::string urn_;
};

}  // namespace dks
