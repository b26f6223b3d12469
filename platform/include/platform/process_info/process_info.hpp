#pragma once

#include <cstdint>
#include <string>

// The process-information object of this process.
namespace platform::process_info {

// A new identifier on every call, unique across processes and machines (upper-case uuid text).
std::string globally_unique_string();

int process_identifier();

// Sudden termination is allowed while the disable count is zero; the calls nest.
void disable_sudden_termination();
void enable_sudden_termination();

// How often each side was called in this process; tests check that saves keep them balanced.
std::uint64_t sudden_termination_disable_calls();
std::uint64_t sudden_termination_enable_calls();

} // namespace platform::process_info
