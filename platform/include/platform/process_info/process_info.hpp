#pragma once

#include <cstdint>
#include <functional>
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

// Called on the calling thread right after each disable (true) or enable (false), so that tests
// can look at what happened inside the bracket; an empty function removes it.
void set_sudden_termination_observer(std::function<void(bool disabled)> observer);

} // namespace platform::process_info
