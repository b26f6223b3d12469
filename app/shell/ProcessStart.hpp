#pragma once

namespace grellan {

// The first thing main() does. Opens /dev/null on whichever of descriptors 0-2 is closed, so that no
// file or connection opened later (the display's, a settings file) becomes standard output and
// receives log lines; and ignores SIGPIPE, so a reader of the output that goes away does not end the
// application.
void prepareProcessStart();

} // namespace grellan
