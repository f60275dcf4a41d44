#include "automation/BusServer.h"

#include <poll.h>
#include <pthread.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <csignal>

#include <algorithm>
#include <iostream>

#include "app/attempt.h"
#include "app/modApplication.h"
#include "automation/Descriptions.h"

namespace dks::automation {
namespace {

constexpr const char* kAccessDeniedError = "org.freedesktop.DBus.Error.AccessDenied";
constexpr const char* kClientWatch =
    "type='signal',sender='org.freedesktop.DBus',interface='org.freedesktop.DBus',"
    "member='NameOwnerChanged'";

// The server is shut down once ShutDown has released the process-wide objects.
bool isShutDown() { return gobjUtility == nullptr; }

void refuseAfterShutDown() {
  if (isShutDown())
    throw sdbus::Error(kShutDownError,
                       "dks-reconciler was shut down; release your reconciler and start again");
}

}  // namespace

BusServer::BusServer(std::unique_ptr<sdbus::IConnection> connection,
                     std::chrono::milliseconds idle)
    : connection_(std::move(connection)), objects_(*connection_), idle_(idle) {
  objects_.setGate(refuseAfterShutDown);
  root_ = sdbus::createObject(*connection_, kObjectRoot);
  root_->registerMethod(kServerInterface, "CreateReconciler", "", {}, "o", {"reconciler"},
                        [this](sdbus::MethodCall call) { createReconciler(call); });
  root_->finishRegistration();
  clientWatch_ =
      connection_->addMatch(kClientWatch, [this](sdbus::Message& signal) { clientLeft(signal); });
  connection_->requestName(kBusName);
}

BusServer::~BusServer() {
  ignoreFailures([&] { connection_->releaseName(kBusName); });
}

void BusServer::createReconciler(sdbus::MethodCall& call) {
  refuseAfterShutDown();
  auto reconciler = std::make_shared<clsReconciler>();
  std::string path = objects_.pathOf(reconciler);
  auto lifetime = sdbus::createObject(*connection_, path);
  lifetime->registerMethod(kLifetimeInterface, "Release", "", {}, "", {},
                           [this](sdbus::MethodCall releaseCall) { release(releaseCall); });
  lifetime->finishRegistration();
  held_.emplace(path, Held{call.getSender(), std::move(reconciler), std::move(lifetime)});
  auto reply = call.createReply();
  reply << sdbus::ObjectPath(path);
  reply.send();
}

// Release is answered after ShutDown too: it is how a client lets the process end.
void BusServer::release(sdbus::MethodCall& call) {
  auto held = held_.find(call.getPath());
  if (held == held_.end())
    throw sdbus::Error(kUnknownObjectError, "The reconciler was already released");
  if (held->second.client != call.getSender())
    throw sdbus::Error(kAccessDeniedError, "The reconciler belongs to another client");
  drop(held);
  call.createReply().send();
}

// NameOwnerChanged(name, old owner, new owner): a client's unique name that lost its owner has
// left the bus, and gives up its reconcilers.
void BusServer::clientLeft(sdbus::Message& signal) {
  std::string name, oldOwner, newOwner;
  signal >> name >> oldOwner >> newOwner;
  if (!newOwner.empty()) return;
  for (auto held = held_.begin(); held != held_.end();) {
    auto next = std::next(held);
    if (held->second.client == name) drop(held);
    held = next;
  }
}

void BusServer::drop(std::map<std::string, Held>::iterator held) {
  released_.push_back(std::move(held->second.lifetime));
  held_.erase(held);
}

// Finding the objects that ended means looking at every exported one. While calls keep
// coming, a sweep runs once the calls since the last one reach the exported objects divided by
// kObjectsSweptPerCall, so each call pays for looking at that many objects however many are
// out; once the bus is quiet for kQuietBeforeSweep, everything that ended is unexported. A
// call on an object that ended and is not yet unexported is refused all the same.
void BusServer::afterCalls() {
  released_.clear();
  if (callsSinceSweep_ > 0 && callsSinceSweep_ * kObjectsSweptPerCall >= objects_.size()) sweep();
  if (!held_.empty()) {
    idleSince_.reset();
  } else if (!idleSince_) {
    idleSince_ = Clock::now();
  }
}

void BusServer::sweep() {
  objects_.sweep();
  callsSinceSweep_ = 0;
}

bool BusServer::mayEnd() const {
  if (!held_.empty()) return false;
  return isShutDown() || Clock::now() - *idleSince_ >= idle_;
}

int BusServer::pollTimeout(int busTimeout) const {
  auto earliest = [](int a, int b) { return a < 0 ? b : b < 0 ? a : std::min(a, b); };
  int timeout = busTimeout;
  if (idleSince_) {
    auto left = std::chrono::ceil<std::chrono::milliseconds>(*idleSince_ + idle_ - Clock::now());
    timeout = earliest(timeout, static_cast<int>(std::max<int64_t>(0, left.count())));
  }
  if (callsSinceSweep_ > 0) timeout = earliest(timeout, static_cast<int>(kQuietBeforeSweep.count()));
  return timeout;
}

void BusServer::run(int stopDescriptor) {
  for (;;) {
    while (connection_->processPendingRequest()) ++callsSinceSweep_;
    afterCalls();
    if (mayEnd()) return;
    auto data = connection_->getEventLoopPollData();
    pollfd descriptors[] = {{data.fd, data.events, 0}, {stopDescriptor, POLLIN, 0}};
    const int ready = ::poll(descriptors, 2, pollTimeout(data.getPollTimeout()));
    if (descriptors[1].revents != 0) return;
    if (ready == 0 && callsSinceSweep_ > 0) sweep();
  }
}

int serve(std::chrono::milliseconds idle) {
  // SIGINT and SIGTERM end the server between calls, with the same release as any other end.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  const int stopDescriptor = signalfd(-1, &stopSignals, SFD_CLOEXEC);
  int status = 0;
  try {
    BusServer server(sdbus::createSessionBusConnection(), idle);
    server.run(stopDescriptor);
  } catch (const sdbus::Error& error) {
    // Another server owns the name: sd-bus reports that as EEXIST.
    const bool nameTaken = error.getName() == "org.freedesktop.DBus.Error.FileExists";
    std::cerr << "dks-reconciler: cannot serve " << kBusName << " on the session bus: "
              << error.getMessage() << "\n";
    status = nameTaken ? kExitNotStarted : 1;
  }
  if (stopDescriptor >= 0) ::close(stopDescriptor);
  modApplication::pblnShutDown();
  return status;
}

}  // namespace dks::automation
