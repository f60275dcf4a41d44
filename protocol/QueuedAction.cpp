#include "protocol/QueuedAction.h"

#include "app/LogHeader.h"
#include "app/attempt.h"
#include "app/clsApplication.h"
#include "app/modApplication.h"
#include "app/orrEnums.h"
#include "platform/Failure.h"
#include "platform/Text.h"

namespace dks {

QueuedAction::QueuedAction(const ActionKind& kind) : kind_(kind) {
  pblnReset();
}

QueuedAction::~QueuedAction() {
  ignoreFailures([&] {
    action_.reset();
    response_.reset();
    request_.reset();
    emails_.reset();
  });
}

std::string QueuedAction::RequestLog() const {
  return action_ ? action_->RequestLog() : std::string();
}

void QueuedAction::setRequestLog(std::string_view value) {
  if (action_) action_->setRequestLog(value);
}

std::string QueuedAction::ResponseLog() const {
  return action_ ? action_->ResponseLog() : std::string();
}

void QueuedAction::setResponseLog(std::string_view value) {
  if (action_) action_->setResponseLog(value);
}

std::string QueuedAction::Script() const {
  return action_ ? action_->Script() : std::string();
}

void QueuedAction::setScript(std::string_view value) {
  if (action_) action_->setScript(value);
  if (request_) request_->setScript(value);
}

std::string QueuedAction::URN() const {
  return action_ ? action_->URN() : std::string();
}

void QueuedAction::setURN(std::string_view value) {
  if (action_) action_->setURN(value);
}

bool QueuedAction::pblnLoadXML(int32_t lngEmails, std::string& strXML) {
  return attempt(kind_.className, "pblnLoadXML", [&] {
    strXML.clear();
    const int32_t count = clampedCount(lngEmails);
    logStepBlock(std::string(word()) + ", LoadXML, Emails=" + std::to_string(count));
    std::string text;
    if (!buildRequest(count, text)) return false;
    strXML = text;
    return request_->pblnReset() && request_->pblnLoadXML(strXML) && response_->pblnReset();
  });
}

bool QueuedAction::pblnReset() {
  return attempt(kind_.className, "pblnReset", [&] {
    if (!action_) {
      action_ = std::make_shared<clsAction>();
      action_->setAction(kind_.code);
    } else if (!action_->pblnReset()) {
      return false;
    }
    if (!request_) {
      request_ = std::make_shared<clsDocket>();
      request_->setScript(action_->Script());
    } else if (!request_->pblnReset()) {
      return false;
    }
    if (!response_) {
      response_ = std::make_shared<clsDocket>();
    } else if (!response_->pblnReset()) {
      return false;
    }
    if (!emails_) {
      emails_ = std::make_shared<colEmail>();
      return true;
    }
    return emails_->pblnReset();
  });
}

bool QueuedAction::pblnSendXML(int32_t lngEmails, int32_t lngFile) {
  return attempt(kind_.className, "pblnSendXML", [&] {
    const int32_t count = clampedCount(lngEmails);
    if (request_->XMLText().empty()) {
      std::string whole;
      if (!pblnLoadXML(-1, whole)) return false;
    }
    bool sent = false;
    if (count >= 1) {
      std::string answer;
      sent = request_->pblnSendXML(answer);
      logStepBlock(std::string(word()) + ", SendXML=" + booleanText(sent) +
                   ", Emails=" + std::to_string(count));
      if (sent && !response_->pblnLoadXML(answer)) return false;
      // A batch whose send failed is dropped as well: nothing is retried.
      for (int32_t i = 0; i < count; ++i) emails_->Remove(1);
    }
    return writeDumps(lngFile) && sent;
  });
}

void QueuedAction::appendHeader(RequestBuilder&) const {}

const char* QueuedAction::word() const noexcept {
  return actionWord(kind_.code);
}

int32_t QueuedAction::clampedCount(int32_t lngEmails) const {
  if (!emails_ || !request_ || !response_) throw Failure::objectNotSet();
  const int32_t queued = emails_->Count();
  return lngEmails == -1 || lngEmails > queued ? queued : lngEmails;
}

bool QueuedAction::buildRequest(int32_t count, std::string& text) {
  clsApplication& application = requireApplication();
  RequestBuilder builder(requireUtility(), URN(), word());
  appendHeader(builder);
  builder.user(application.UserID());
  for (int32_t i = 1; i <= count; ++i) {
    appendDocument(builder, builder.document(), *emails_->Item(i));
    if (!builder.ok()) return false;
    if (application.DebugLevel() >= dlThree) application.pblnLog(logLine(*emails_->Item(i)));
  }
  if (!builder.ok()) return false;
  text = builder.xml();
  return true;
}

bool QueuedAction::writeDumps(int32_t lngFile) {
  switch (dumpRequest(lngFile, kind_.dumpCode)) {
    case DumpRequest::required:
      return request_->pblnCreateFile(RequestLog()) && response_->pblnCreateFile(ResponseLog());
    case DumpRequest::failuresIgnored:
      request_->pblnCreateFile(RequestLog());
      response_->pblnCreateFile(ResponseLog());
      return true;
    case DumpRequest::none:
      break;
  }
  return true;
}

}  // namespace dks
