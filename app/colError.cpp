#include "app/colError.h"

#include "app/LogHeader.h"
#include "app/clsApplication.h"
#include "app/modApplication.h"
#include "platform/Text.h"

namespace dks {
namespace {

// A text that is no number is not 0.
bool isZero(const Variant& number) {
  return tryLong(number) == 0;
}

}  // namespace

colError::colError(std::shared_ptr<FileSystem> fileSystem, Observer observer)
    : KeyedCollection("colError"),
      fileSystem_(std::move(fileSystem)),
      observer_(std::move(observer)) {}

std::string colError::recordLine(const clsError& record) {
  return record.Stamp() + " " + record.Object() + " " + record.Procedure() + " " +
         trimSpaces(toText(record.Number())) + " " + record.Description();
}

void colError::Add(const std::string& strObject, const std::string& strProcedure,
                   const Variant& vntNumber, const std::string& strDescription,
                   const std::string& strKey) noexcept {
  ignoreFailures([&] {
    std::string description = trimSpaces(strDescription);
    auto record = std::make_shared<clsError>();
    append(record, strKey);
    record->setObject(trimSpaces(strObject));
    record->setProcedure(trimSpaces(strProcedure));
    if (description.empty() || isZero(vntNumber)) {
      record->setNumber(kUnknownErrorNumber);
      record->setDescription(kUnknownErrorDescription);
    } else {
      record->setNumber(vntNumber);
      record->setDescription(description);
    }
    if (observer_) observer_(*record);
    appendToLog(recordLine(*record));
  });
}

void colError::appendToLog(const std::string& line) {
  const std::string& path = requireApplication().ErrorLog();
  std::unique_ptr<TextStream> stream;
  if (fileSystem_->FileExists(path)) {
    stream = fileSystem_->OpenTextFileForAppending(path);
  } else {
    std::string stamp;
    if (!requireUtility().GetTimeStamp(stamp)) return;
    stream = fileSystem_->CreateTextFile(path, true);
    writeLogHeader(*stream, "ERROR LOG", stamp);
    stream->WriteLine("");
  }
  stream->WriteLine(line);
  stream->Close();
}

}  // namespace dks
