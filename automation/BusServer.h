// BusServer: the automation server on the session bus. It owns the bus name, the root object
// with the factory that creates a clsReconciler for the calling client, the reconcilers that
// clients hold, and the loop that serves calls one at a time on the process's one thread.
#pragma once

#include <sdbus-c++/sdbus-c++.h>

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "automation/ObjectTable.h"
#include "reconcile/clsReconciler.h"

namespace dks::automation {

inline constexpr const char* kBusName = "org.dksreconciler.Server";
inline constexpr const char* kServerInterface = "org.dksreconciler.Server";
inline constexpr const char* kLifetimeInterface = "org.dksreconciler.Lifetime";
inline constexpr const char* kShutDownError = "org.dksreconciler.Error.ShutDown";
inline constexpr std::chrono::seconds kDefaultIdle{60};
/// While calls keep coming, each call pays for looking at this many exported objects for
/// their end; after kQuietBeforeSweep without a call, all of them are looked at.
inline constexpr size_t kObjectsSweptPerCall = 64;
inline constexpr std::chrono::milliseconds kQuietBeforeSweep{20};

class BusServer {
 public:
  /// Exports the root object on `connection` and takes the bus name. Throws sdbus::Error when
  /// the name is already owned or the bus refuses.
  BusServer(std::unique_ptr<sdbus::IConnection> connection, std::chrono::milliseconds idle);
  ~BusServer();
  BusServer(const BusServer&) = delete;
  BusServer& operator=(const BusServer&) = delete;

  /// Serves calls until the process may end: after ShutDown once no client holds a reconciler,
  /// once no client has held one for the idle period, or once `stopDescriptor` (when not -1)
  /// becomes readable.
  void run(int stopDescriptor = -1);

 private:
  struct Held {
    std::string client;
    std::shared_ptr<clsReconciler> reconciler;
    std::unique_ptr<sdbus::IObject> lifetime;
  };
  using Clock = std::chrono::steady_clock;

  void createReconciler(sdbus::MethodCall& call);
  void release(sdbus::MethodCall& call);
  void clientLeft(sdbus::Message& signal);
  void drop(std::map<std::string, Held>::iterator held);
  void afterCalls();
  void sweep();
  bool mayEnd() const;
  int pollTimeout(int busTimeout) const;

  std::unique_ptr<sdbus::IConnection> connection_;
  ObjectTable objects_;
  std::unique_ptr<sdbus::IObject> root_;
  sdbus::Slot clientWatch_;
  std::map<std::string, Held> held_;  // by the reconciler's path
  // Lifetime objects of released reconcilers; dropped after the call, outside it.
  std::vector<std::unique_ptr<sdbus::IObject>> released_;
  std::chrono::milliseconds idle_;
  std::optional<Clock::time_point> idleSince_;
  size_t callsSinceSweep_ = 0;  // messages served since the last sweep
};

/// Serves the session bus until the server may end (BusServer::run) or SIGINT or SIGTERM
/// arrives, then releases the process-wide objects. Expects start-up to have run. Returns the exit status: 0 after
/// serving, kExitNotStarted when the bus name is taken, 1 when the session bus cannot be
/// reached.
int serve(std::chrono::milliseconds idle);

}  // namespace dks::automation
