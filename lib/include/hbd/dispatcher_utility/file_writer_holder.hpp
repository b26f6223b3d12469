#pragma once

#include "hbd/dispatcher_utility/file_writer.hpp"

#include <functional>
#include <memory>
#include <mutex>

namespace hbd::dispatcher_utility {

// The process's one file writer (empty when none); read and changed only under
// get_file_writer_mutex().
std::shared_ptr<file_writer>& get_file_writer();
std::mutex& get_file_writer_mutex();

// Hands `function` to the file writer. False, and the function is dropped, when no file writer
// exists; true means it will run, even if the writer goes meanwhile (the writer drains first).
bool enqueue_to_file_writer_dispatcher(std::function<void()> function);

} // namespace hbd::dispatcher_utility
