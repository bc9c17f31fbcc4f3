// Consistency of a configuration, and the validators of interface names and
// failover types that the file reader shares.
#pragma once

#include <string_view>

#include "config/options.h"

// Tests the rules in order; at the first that fails, prints the error banner
// and that rule's message and returns 1. Returns 0 when all rules pass.
int check(const options *o);

// 0 for "eth" or "tr" followed by one or more digits, at most 15 characters
// in all; 1 otherwise.
int check_ifacename(std::string_view iname);

// 0 for exactly "master", "slave" or "standalone"; 1 otherwise.
int check_failover_type(std::string_view ftype);
