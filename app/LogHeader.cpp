#include "app/LogHeader.h"

#include "app/clsApplication.h"
#include "app/modApplication.h"
#include "app/orrEnums.h"
#include "platform/FileSystem.h"

namespace dks {

std::string logRuleLine() {
  return "'" + std::string(99, '-');
}

void logStepBlock(std::string_view summary) {
  clsApplication& application = requireApplication();
  if (application.DebugLevel() < dlOne) return;
  application.pblnLog("");
  application.pblnLog(logRuleLine());
  application.pblnLog(summary);
  application.pblnLog(logRuleLine());
}

void writeLogHeader(TextStream& stream, std::string_view title, std::string_view stamp) {
  const clsApplication& application = requireApplication();
  stream.WriteLine(logRuleLine());
  stream.WriteLine("'" + std::string(45, ' ') + std::string(title));
  stream.WriteLine("'");
  stream.WriteLine("'  Company: " + application.CompanyName());
  stream.WriteLine("'  Product: " + application.ProductName());
  stream.WriteLine("'  Created: " + std::string(stamp));
  stream.WriteLine("'  Version: " + application.VersionNumber());
  stream.WriteLine(logRuleLine());
}

}  // namespace dks
