#pragma once

#include "ReferenceService.h"
#include "XmlTree.h"

#include <string>
#include <vector>

namespace qarvon::test {

// One service for the tests that only read, started before the first test
// and stopped after the last; tests that change faults clear them again.
ReferenceService &SharedService();

// The root of a well-formed 200 answer; records a failure otherwise.
XmlNode Answer(const ReferenceService &service, const std::string &call);
XmlNode Answer(const std::string &call);

// The code of the root's `err` child, -1 when there is none.
int ErrorCode(const XmlNode &root);

// The total as the client digs it out of the raw text: from the first "total",
// skip `total="`, cut before the character ahead of the first "/".
std::string ClientTotal(const std::string &rawAnswer);

std::string Lower(std::string text);

// Every record of a paged answer, walking the pages until one holds only the carrier.
std::vector<XmlNode> AllPages(const std::string &callWithoutPage, int perPage, int *total);

} // namespace qarvon::test
