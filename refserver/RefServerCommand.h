// The command line of dks-refserver, the reference DKS document server:
//
//   dks-refserver --listen HOST:PORT --catalogue FILE   serve until SIGINT or SIGTERM
//   dks-refserver --catalogue FILE --dump               print the catalogue and end
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "refserver/Catalogue.h"

namespace dks {

/// An address to listen on, read from "HOST:PORT".
struct ListenAddress {
  std::string host;  ///< as given, an IPv6 address with its brackets ("[::1]")
  uint16_t port = 0;

  /// The host as the resolver takes it: without the brackets of an IPv6 address.
  std::string bareHost() const;
};

/// Reads "HOST:PORT" (the port after the last colon, 0 to 65535); nullopt when the host is
/// empty or the port is not a decimal number in that range.
std::optional<ListenAddress> readListenAddress(std::string_view text);

/// Writes the catalogue as tab-separated lines: the header line
/// "user, id, title, location, last_modified, size, usage" (tab-separated), then one line per
/// document, ordered by user and id. Tabs, carriage returns and line feeds inside a field are
/// written as spaces, so every document stays one line.
void printCatalogue(Catalogue& catalogue, std::ostream& out);

/// Runs the command line; the process's exit status: 0 after a clean stop or a dump, 1 when the
/// catalogue cannot be opened or the address cannot be listened on, 2 for bad arguments.
int runRefServer(int argc, char** argv);

}  // namespace dks
