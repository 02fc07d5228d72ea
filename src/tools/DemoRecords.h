#pragma once
// The records of the demo Palm user: a dozen plausible contacts, events, tasks and memos,
// as common records. Texts are ANSI (Windows-1252) like Palm Desktop's own; times are
// local times of the time zone the caller has set.

#include <vector>

#include "palm/comm/CommAddrRec.h"
#include "palm/comm/CommDateRec.h"
#include "palm/comm/CommNoteRec.h"
#include "palm/comm/CommTaskRec.h"

namespace tabrel::demo {

std::vector<CommAddrRec> DemoContacts();
std::vector<CommDateRec> DemoEvents();
std::vector<CommTaskRec> DemoTasks();
std::vector<CommNoteRec> DemoMemos();

}  // namespace tabrel::demo
