#include "automation/ServiceFile.h"

#include <unistd.h>

#include <cerrno>
#include <fstream>

#include "automation/BusServer.h"
#include "platform/Failure.h"
#include "platform/Folders.h"

namespace dks::automation {

std::string serviceFilePath(const EnvironmentLookup& environment) {
  return dataFolder(environment) + "/dbus-1/services/" + kBusName + ".service";
}

std::string serviceFileText(const std::string& executable) {
  // The Exec line is split at blanks; a path holding blanks or quotes is quoted.
  std::string quoted = "\"";
  for (char c : executable) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  quoted += '"';
  return std::string("[D-BUS Service]\nName=") + kBusName + "\nExec=" + quoted + " serve\n";
}

void writeServiceFile(const std::string& path, const std::string& executable) {
  createFolders(path.substr(0, path.find_last_of('/')), 0700);
  const std::string temporary = path + ".new";
  {
    std::ofstream file(temporary, std::ios::trunc);
    file << serviceFileText(executable);
    file.close();
    if (!file) throw Failure::fromErrno(errno ? errno : EIO);
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) throw Failure::fromErrno(errno);
}

bool removeServiceFile(const std::string& path) {
  if (::unlink(path.c_str()) == 0) return true;
  if (errno == ENOENT) return false;
  throw Failure::fromErrno(errno);
}

}  // namespace dks::automation
