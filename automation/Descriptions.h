// The descriptions of every class a client reaches on the bus: one per class, each listing the
// class's members in the class's own order. A docket and an e-mail record are exported with the
// members of their interfaces, which also serve the inert presentations of those classes.
#pragma once

#include "automation/ClassDescription.h"
#include "mailstore/EmailInterface.h"
#include "mailstore/FolderInterface.h"
#include "mailstore/MailItemInterface.h"
#include "mailstore/clsEmail.h"
#include "mailstore/clsItem.h"
#include "mailstore/colEmail.h"
#include "mailstore/colItem.h"
#include "protocol/ActionInterface.h"
#include "protocol/DocketInterface.h"
#include "protocol/clsDelete.h"
#include "protocol/clsDocket.h"
#include "protocol/clsMove.h"
#include "protocol/clsSave.h"
#include "protocol/clsUpdate.h"
#include "reconcile/clsExclude.h"
#include "reconcile/clsInclude.h"
#include "reconcile/clsReconciler.h"
#include "reconcile/colExclude.h"
#include "reconcile/colInclude.h"

namespace dks::automation {

template <>
struct DescribedAs<clsDocket> {
  using type = DocketInterface;
};
template <>
struct DescribedAs<clsEmail> {
  using type = EmailInterface;
};

template <>
const ClassDescription<clsReconciler>& describe<clsReconciler>();
template <>
const ClassDescription<colInclude>& describe<colInclude>();
template <>
const ClassDescription<clsInclude>& describe<clsInclude>();
template <>
const ClassDescription<colExclude>& describe<colExclude>();
template <>
const ClassDescription<clsExclude>& describe<clsExclude>();
template <>
const ClassDescription<colItem>& describe<colItem>();
template <>
const ClassDescription<clsItem>& describe<clsItem>();
template <>
const ClassDescription<colEmail>& describe<colEmail>();
template <>
const ClassDescription<EmailInterface>& describe<EmailInterface>();
template <>
const ClassDescription<MailItemInterface>& describe<MailItemInterface>();
template <>
const ClassDescription<FolderInterface>& describe<FolderInterface>();
template <>
const ClassDescription<ActionInterface>& describe<ActionInterface>();
template <>
const ClassDescription<DocketInterface>& describe<DocketInterface>();
template <>
const ClassDescription<clsDelete>& describe<clsDelete>();
template <>
const ClassDescription<clsSave>& describe<clsSave>();
template <>
const ClassDescription<clsMove>& describe<clsMove>();
template <>
const ClassDescription<clsUpdate>& describe<clsUpdate>();

}  // namespace dks::automation
