#include "zunto/osx/kern_return.hpp"

#include <array>
#include <string_view>

namespace zunto::osx {
namespace {

constexpr std::array<std::string_view, 53> names = {
    "KERN_SUCCESS",
    "KERN_INVALID_ADDRESS",
    "KERN_PROTECTION_FAILURE",
    "KERN_NO_SPACE",
    "KERN_INVALID_ARGUMENT",
    "KERN_FAILURE",
    "KERN_RESOURCE_SHORTAGE",
    "KERN_NOT_RECEIVER",
    "KERN_NO_ACCESS",
    "KERN_MEMORY_FAILURE",
    "KERN_MEMORY_ERROR",
    "KERN_ALREADY_IN_SET",
    "KERN_NOT_IN_SET",
    "KERN_NAME_EXISTS",
    "KERN_ABORTED",
    "KERN_INVALID_NAME",
    "KERN_INVALID_TASK",
    "KERN_INVALID_RIGHT",
    "KERN_INVALID_VALUE",
    "KERN_UREFS_OVERFLOW",
    "KERN_INVALID_CAPABILITY",
    "KERN_RIGHT_EXISTS",
    "KERN_INVALID_HOST",
    "KERN_MEMORY_PRESENT",
    "KERN_MEMORY_DATA_MOVED",
    "KERN_MEMORY_RESTART_COPY",
    "KERN_INVALID_PROCESSOR_SET",
    "KERN_POLICY_LIMIT",
    "KERN_INVALID_POLICY",
    "KERN_INVALID_OBJECT",
    "KERN_ALREADY_WAITING",
    "KERN_DEFAULT_SET",
    "KERN_EXCEPTION_PROTECTED",
    "KERN_INVALID_LEDGER",
    "KERN_INVALID_MEMORY_CONTROL",
    "KERN_INVALID_SECURITY",
    "KERN_NOT_DEPRESSED",
    "KERN_TERMINATED",
    "KERN_LOCK_SET_DESTROYED",
    "KERN_LOCK_UNSTABLE",
    "KERN_LOCK_OWNED",
    "KERN_LOCK_OWNED_SELF",
    "KERN_SEMAPHORE_DESTROYED",
    "KERN_RPC_SERVER_TERMINATED",
    "KERN_RPC_TERMINATE_ORPHAN",
    "KERN_RPC_CONTINUE_ORPHAN",
    "KERN_NOT_SUPPORTED",
    "KERN_NODE_DOWN",
    "KERN_NOT_WAITING",
    "KERN_OPERATION_TIMED_OUT",
    "KERN_CODESIGN_ERROR",
    "KERN_POLICY_STATIC",
    "KERN_INSUFFICIENT_BUFFER_SIZE",
};

} // namespace

std::string kern_return::to_string() const {
  const auto code = static_cast<std::uint32_t>(value_) & 0x3FFFu;
  if (code < names.size()) {
    return std::string(names[code]);
  }
  return "Unknown kern_return_t (" + std::to_string(value_) + ")";
}

} // namespace zunto::osx
