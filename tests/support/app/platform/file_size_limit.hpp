#pragma once

#include <sys/resource.h>

#include <functional>

namespace grellan_test {

// Runs `work` in a forked child whose files may not grow beyond `limit` bytes, with SIGXFSZ ignored:
// every write past the limit fails with EFBIG, as a write to a full disk fails. The child's exit
// status is what `work` answered; -1 when it ended otherwise.
int exitStatusUnderFileSizeLimit(rlim_t limit, const std::function<int()>& work);

} // namespace grellan_test
