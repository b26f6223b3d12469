#pragma once

#include "zunto/cf/run_loop_thread.hpp"

#include <memory>

namespace hbd::run_loop_thread_utility {

// The run-loop thread for power-management notifications; empty while no manager exists.
std::shared_ptr<zunto::cf::run_loop_thread>& get_power_management_run_loop_thread();

// Keeps the shared run-loop thread and the power-management run-loop thread running for its life.
// A second manager made while one lives finds both threads and creates nothing; destroying either
// terminates both.
class scoped_run_loop_thread_manager final {
public:
  scoped_run_loop_thread_manager();
  ~scoped_run_loop_thread_manager();

  scoped_run_loop_thread_manager(const scoped_run_loop_thread_manager&) = delete;
  scoped_run_loop_thread_manager& operator=(const scoped_run_loop_thread_manager&) = delete;
};

} // namespace hbd::run_loop_thread_utility
