// Checking a replay trace against an expectation file: key lines found in order, the sequence of
// main states, and the final line, each described by the fields it must carry.
#pragma once

#include <string>
#include <vector>

// Expectation file, one rule a line (`#` starts a comment):
//   then FIELDS   a line after the previous match carries every key=value of FIELDS
//   never FIELDS  no line carries every key=value of FIELDS
//   states A,B,.. the main states of the trace in order, consecutive repeats collapsed
//   last FIELDS   the final line carries every key=value of FIELDS
// Returns one message per unmet rule (empty when the trace meets them all).
std::vector<std::string> CheckTrace(const std::string& trace, const std::string& expectations);
