#pragma once

#include <filesystem>
#include <string>

namespace grellan_test {

// A backend state file under the test's system root.
std::filesystem::path stateFile(const std::string& name);

// Installs the driver's activation app as a script that notes its argument and exits with `status`.
void installActivationApp(int status);
// The argument the activation app got last; empty before it ran.
std::string activationArgument();

} // namespace grellan_test
