// Reading the process environment through a lookup function, so that tests can give their own, and
// the running executable's path.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace pelimon {

// Looks up an environment variable; nullopt when it is not set. Empty values count as unset.
using EnvLookup = std::function<std::optional<std::string>(const std::string& name)>;

// The process's own environment (getenv).
std::optional<std::string> ProcessEnvironment(const std::string& name);

// The running executable (/proc/self/exe); empty when the platform cannot tell.
std::string CurrentModulePath();

}  // namespace pelimon
