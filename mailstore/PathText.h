// The path text of a mail folder: its parent text (the default value of its Parent object, as
// text), "\", its name. Two levels only: no walk up the folder chain. Every place that names a
// folder by its path (include folders, exclusions, the tree walk, mail items) builds it here, so
// the texts compare with each other.
#pragma once

#include <string>

#include "platform/Outlook.h"

namespace dks {

/// The path text of `folder`, reading its "Name" first, then its "Parent". Throws the failure of
/// either read, or of a parent that has no default value (the name space above a store's top
/// folder: 438).
std::string pathText(OutlookObject& folder);

}  // namespace dks
