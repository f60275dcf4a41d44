// LoopbackServer: a real HTTP server on 127.0.0.1 for tests, serving on a thread of its own.
// It keeps every request it received and answers each with `answer` (by default an empty
// SOAP envelope), or the first requests in turn with `answers`, or through `respond`, after
// `delay` when one is set:
//
//   LoopbackServer server;
//   server.answer = htmlErrorAnswer(404, "No such script.");
//   docket.setScript(server.url("/updateDocumentStatus"));
//   ... send ...
//   EXPECT_EQ(server.requests().at(0).body, expectedWireText);
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "refserver/HttpListener.h"

namespace dks {

class LoopbackServer {
 public:
  LoopbackServer()
      : listener_("127.0.0.1", 0, [this](const HttpMessage& request) { return handle(request); }),
        serving_([this] { listener_.serve(); }) {}

  ~LoopbackServer() {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    wake_.notify_all();  // cuts a delay short: the client has long given up
    listener_.stop();
    serving_.join();
  }

  /// "http://127.0.0.1:PORT" followed by `path`.
  std::string url(const std::string& path = "/") const {
    return "http://127.0.0.1:" + std::to_string(listener_.port()) + path;
  }

  /// The requests received so far, in order.
  std::vector<HttpMessage> requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
  }

  /// What every request is answered with; set before the client sends.
  HttpAnswer answer{200, "text/xml; charset=utf-8",
                    "<SOAP:Envelope xmlns:SOAP=\"urn:test\"><SOAP:Body><response/></SOAP:Body>"
                    "</SOAP:Envelope>"};
  /// The answers to the first requests, in order; `answer` answers those after them.
  std::vector<HttpAnswer> answers;
  /// How long the server waits before it answers.
  std::chrono::milliseconds delay{0};
  /// When set, answers every request instead of `answers` and `answer` (for example a
  /// ReferenceServer over a catalogue of the test's own).
  std::function<HttpAnswer(const HttpMessage&)> respond;

 private:
  HttpAnswer handle(const HttpMessage& request) {
    std::unique_lock lock(mutex_);
    requests_.push_back(request);
    wake_.wait_for(lock, delay, [this] { return stopping_; });
    if (respond) return respond(request);
    return requests_.size() <= answers.size() ? answers[requests_.size() - 1] : answer;
  }

  mutable std::mutex mutex_;
  std::condition_variable wake_;
  bool stopping_ = false;
  std::vector<HttpMessage> requests_;
  HttpListener listener_;
  std::thread serving_;
};

}  // namespace dks
