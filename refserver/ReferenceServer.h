// ReferenceServer: the document server's side of the exchange. It reads a request as the
// reconciler sends it (refserver/WireRequest.h), applies it to the catalogue and answers with a
// SOAP envelope; docs/refserver.md describes every request and answer.
//
//   Catalogue catalogue(path);
//   ReferenceServer server(catalogue);
//   HttpListener listener(host, port, [&](const HttpMessage& m) { return server.answer(m); });
#pragma once

#include "refserver/Catalogue.h"
#include "refserver/HttpListener.h"

namespace dks {

class ReferenceServer {
 public:
  /// A server over `catalogue`, which must outlive it.
  explicit ReferenceServer(Catalogue& catalogue) : catalogue_(catalogue) {}

  /// The answer to `message`, whatever its method and path. A request that was read is applied
  /// in one transaction and answered 200 with a "text/xml; charset=utf-8" envelope. A request
  /// that cannot be read is answered 400 with an HTML page naming the reason, and a catalogue
  /// that fails 500; in both cases the catalogue is left as it was.
  HttpAnswer answer(const HttpMessage& message);

 private:
  Catalogue& catalogue_;
};

/// The first `count` characters of the UTF-8 `text` (a byte that is not UTF-8 counts as one).
std::string firstCharacters(const std::string& text, int32_t count);

}  // namespace dks
