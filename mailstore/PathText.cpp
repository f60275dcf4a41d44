#include "mailstore/PathText.h"

namespace dks {

std::string pathText(OutlookObject& folder) {
  std::string name = textOf(folder.Get("Name"));
  return textOf(folder.Get("Parent")) + "\\" + name;
}

}  // namespace dks
