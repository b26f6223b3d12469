#pragma once

namespace hbd::dispatcher_utility {

// Brackets the library's lifetime: while one exists, the shared dispatcher and the file writer
// exist. Every dispatcher client must have detached before it goes.
class scoped_dispatcher_manager final {
public:
  // Initialises the shared dispatcher and creates the file writer, each only if absent.
  scoped_dispatcher_manager();
  // Terminates the shared dispatcher and drops the file writer, for every manager alike.
  ~scoped_dispatcher_manager();

  scoped_dispatcher_manager(const scoped_dispatcher_manager&) = delete;
  scoped_dispatcher_manager& operator=(const scoped_dispatcher_manager&) = delete;
};

} // namespace hbd::dispatcher_utility
