// QueuedAction: the shape that the four action classes (clsSave, clsUpdate, clsMove, clsDelete)
// share. An action owns its settings (a clsAction with the class's code), a request and a
// response transport and a queue of e-mail records. The reconciliation fills the queue and
// drains it in batches:
//
//   while (action.Emails()->Count() > 0) {
//     std::string text;
//     if (!action.pblnLoadXML(batch, text)) break;
//     action.pblnSendXML(batch, cfAll + cfIgnore);   // sends and drops the batch
//   }
//   action.pblnReset();
//
// A class adds only its request's own elements and its per-e-mail log line.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "mailstore/clsEmail.h"
#include "mailstore/colEmail.h"
#include "protocol/ActionInterface.h"
#include "protocol/DocketInterface.h"
#include "protocol/RequestBuilder.h"
#include "protocol/clsAction.h"
#include "protocol/clsDocket.h"

namespace dks {

/// What tells one action class from another.
struct ActionKind {
  const char* className;  ///< the name its failures are recorded under, "clsSave"
  int32_t code;           ///< its orrAction member
  int32_t dumpCode;       ///< its own orrCreateFile member
};

class QueuedAction {
 public:
  virtual ~QueuedAction();
  QueuedAction(const QueuedAction&) = delete;
  QueuedAction& operator=(const QueuedAction&) = delete;

  /// The queue of e-mail records still to be reported, in the order they were added.
  std::shared_ptr<colEmail> Emails() const noexcept { return emails_; }
  /// The request transport; its Script is the action's URL.
  std::shared_ptr<clsDocket> Request() const noexcept { return request_; }
  /// The response transport, holding the last answer.
  std::shared_ptr<clsDocket> Response() const noexcept { return response_; }

  // Forwarded to the settings object; a Script write also goes to the request transport.
  std::string RequestLog() const;
  void setRequestLog(std::string_view value);
  std::string ResponseLog() const;
  void setResponseLog(std::string_view value);
  std::string Script() const;
  void setScript(std::string_view value);
  std::string URN() const;
  void setURN(std::string_view value);

  /// Builds the request for the first `lngEmails` records of the queue (-1, or more than the
  /// queue holds: all of them; 0: none) and loads it into the request transport, after a reset
  /// of both transports; `strXML` receives the text. The queue is not changed. At DebugLevel 1
  /// writes the step block "WORD, LoadXML, Emails=N", at DebugLevel 3 one line per record.
  /// False with `strXML` "" and both transports untouched when a text preparation fails
  /// (nothing recorded); False when a transport call fails.
  bool pblnLoadXML(int32_t lngEmails, std::string& strXML);

  /// Creates the settings object, the transports and the queue on first use, afterwards resets
  /// each (the settings are read again, the dump files deleted, the queue emptied). False at
  /// the first part that reports failure.
  bool pblnReset();

  /// Sends the prepared request (first building one for the whole queue when the request
  /// transport is empty), loads the answer into the response transport and removes the first
  /// `lngEmails` records (clamped as in pblnLoadXML) from the queue, whether the send succeeded
  /// or not; an answer that cannot be loaded keeps them. Then dumps by `lngFile`: cfAll or the
  /// class's own dump code writes both dump files and fails when one cannot be written; those
  /// plus cfIgnore write them ignoring failures; anything else writes nothing. At DebugLevel 1
  /// writes the step block "WORD, SendXML=True|False, Emails=N". The result is the send's
  /// outcome; False without sending when fewer than 1 record is asked for.
  bool pblnSendXML(int32_t lngEmails = 0, int32_t lngFile = 0);

  /// The settings and transport interfaces that the class presents too, without effect.
  ActionInterface& AsAction() const noexcept { return InertAction::instance(); }
  DocketInterface& AsDocket() const noexcept { return InertDocket::instance(); }

 protected:
  /// An action of `kind`; runs pblnReset.
  explicit QueuedAction(const ActionKind& kind);

  /// Appends the request's header elements, between "type" and "user". None by default.
  virtual void appendHeader(RequestBuilder& builder) const;
  /// Appends the elements of `email` to its "document" element.
  virtual void appendDocument(RequestBuilder& builder, XmlElement document,
                              const clsEmail& email) const = 0;
  /// The run-log line of one reported record (DebugLevel 3), for example
  /// "delete, Title=..., CLocation=..., CDate=...".
  virtual std::string logLine(const clsEmail& email) const = 0;

  /// The action word of the class, "save".
  const char* word() const noexcept;

 private:
  int32_t clampedCount(int32_t lngEmails) const;
  bool buildRequest(int32_t lngEmails, std::string& strXML);
  bool writeDumps(int32_t lngFile);

  ActionKind kind_;
  std::shared_ptr<clsAction> action_;
  std::shared_ptr<clsDocket> request_;
  std::shared_ptr<clsDocket> response_;
  std::shared_ptr<colEmail> emails_;
};

}  // namespace dks
