#include "refserver/RefServerCommand.h"

#include <signal.h>
#include <sys/stat.h>

#include <CLI/CLI.hpp>
#include <charconv>
#include <iostream>

#include "platform/Failure.h"
#include "refserver/HttpListener.h"
#include "refserver/ReferenceServer.h"

namespace dks {
namespace {

constexpr int kExitFailed = 1;
constexpr int kExitBadArguments = 2;

// The listener that SIGINT and SIGTERM stop; stop() only stores a flag and writes to a pipe,
// both safe in a signal handler.
HttpListener* gStoppable = nullptr;

void stopListening(int) {
  if (gStoppable) gStoppable->stop();
}

void printError(std::string_view message) {
  std::cerr << "dks-refserver: " << message << std::endl;
}

std::string field(std::string text) {
  for (char& c : text)
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  return text;
}

int serve(const ListenAddress& address, const std::string& cataloguePath) {
  try {
    Catalogue catalogue(cataloguePath);
    ReferenceServer server(catalogue);
    HttpListener listener(address.bareHost(), address.port,
                          [&](const HttpMessage& message) { return server.answer(message); });
    gStoppable = &listener;
    struct sigaction action {};
    action.sa_handler = stopListening;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    std::cout << "listening on " << address.host << ":" << listener.port() << std::endl;
    listener.serve();
    signal(SIGINT, SIG_DFL);
    signal(SIGTERM, SIG_DFL);
    gStoppable = nullptr;
    return 0;
  } catch (const Failure& failure) {
    printError("cannot open the catalogue " + cataloguePath + ": " + failure.description());
  } catch (const std::runtime_error& failure) {
    printError(failure.what());
  }
  return kExitFailed;
}

int dump(const std::string& cataloguePath) {
  // Dumping never creates a catalogue: a mistyped name would otherwise print an empty one.
  struct stat info {};
  if (::stat(cataloguePath.c_str(), &info) != 0) {
    printError("no catalogue at " + cataloguePath);
    return kExitFailed;
  }
  try {
    Catalogue catalogue(cataloguePath);
    printCatalogue(catalogue, std::cout);
    std::cout.flush();
    return 0;
  } catch (const Failure& failure) {
    printError("cannot read the catalogue " + cataloguePath + ": " + failure.description());
  }
  return kExitFailed;
}

}  // namespace

std::string ListenAddress::bareHost() const {
  if (host.size() >= 2 && host.front() == '[' && host.back() == ']')
    return host.substr(1, host.size() - 2);
  return host;
}

std::optional<ListenAddress> readListenAddress(std::string_view text) {
  const size_t colon = text.rfind(':');
  if (colon == std::string_view::npos || colon == 0) return std::nullopt;
  const std::string_view port = text.substr(colon + 1);
  ListenAddress address{std::string(text.substr(0, colon)), 0};
  auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), address.port);
  if (port.empty() || error != std::errc() || end != port.data() + port.size()) return std::nullopt;
  return address;
}

void printCatalogue(Catalogue& catalogue, std::ostream& out) {
  out << "user\tid\ttitle\tlocation\tlast_modified\tsize\tusage\n";
  catalogue.forEachDocument([&](const CatalogueDocument& document) {
    out << document.user << '\t' << document.id << '\t' << field(document.title) << '\t'
        << field(document.location) << '\t' << field(document.lastModified) << '\t' << document.size
        << '\t' << document.usage << '\n';
  });
}

int runRefServer(int argc, char** argv) {
  CLI::App app{
      "The reference DKS document server: keeps e-mail documents per user in an SQLite "
      "catalogue and answers the reconciler's requests.",
      "dks-refserver"};
  std::string listen;
  std::string cataloguePath;
  bool dumpOnly = false;
  CLI::Option* listenOption =
      app.add_option("--listen", listen, "Serve on HOST:PORT; port 0 takes a free port");
  app.add_option("--catalogue", cataloguePath, "The catalogue file, created when missing")
      ->required();
  app.add_flag("--dump", dumpOnly, "Print the catalogue as tab-separated lines and end")
      ->excludes(listenOption);
  app.footer(
      "Serving prints \"listening on HOST:PORT\" with the port taken, and stops cleanly on "
      "SIGINT or SIGTERM.");
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& failure) {
    return app.exit(failure) == 0 ? 0 : kExitBadArguments;
  }

  if (dumpOnly) return dump(cataloguePath);
  if (listen.empty()) {
    printError("give --listen HOST:PORT to serve, or --dump to print the catalogue");
    return kExitBadArguments;
  }
  std::optional<ListenAddress> address = readListenAddress(listen);
  if (!address) {
    printError("--listen takes HOST:PORT with a port from 0 to 65535, not \"" + listen + "\"");
    return kExitBadArguments;
  }
  return serve(*address, cataloguePath);
}

}  // namespace dks
