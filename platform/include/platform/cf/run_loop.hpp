#pragma once

#include "platform/cf/type.hpp"

#include <functional>
#include <vector>

// Run loops: every thread has one, made on first use, which serves the blocks and sources handed
// to it while the thread runs it. Handing over work does not wake a sleeping loop; whoever hands
// it over calls run_loop_wake_up afterwards.
namespace platform::cf {

class run_loop : public type {
protected:
  run_loop() = default;
};
using run_loop_ref = run_loop*;

class run_loop_source : public type {
protected:
  run_loop_source() = default;
};
using run_loop_source_ref = run_loop_source*;

struct run_loop_source_context {
  // Handed to perform as it is; the source neither owns nor copies it.
  void* info = nullptr;
  // Called on the thread of a loop that has the source, once per signal; may be null.
  void (*perform)(void* info) = nullptr;
};

// The calling thread's loop. The thread keeps the reference; callers that keep the loop beyond the
// thread's life retain it.
run_loop_ref run_loop_get_current();

// Serves the calling thread's loop: blocks in the order they were handed over, then each signalled
// source, then sleeps until woken. Returns when stopped, or at once when the loop has neither
// sources nor blocks, since nothing could then give it work.
void run_loop_run();

// Makes the innermost run of the loop return; wakes it. A stop made while the loop does not run
// ends its next run at once.
void run_loop_stop(run_loop_ref loop);
void run_loop_wake_up(run_loop_ref loop);
// True while the loop sleeps waiting for a wake-up.
bool run_loop_is_waiting(run_loop_ref loop);

// The block runs once, on the loop's thread, the next time the loop is awake and running. Blocks
// must not throw. Blocks still queued when the loop goes are destroyed without running.
void run_loop_perform_block(run_loop_ref loop, std::function<void()> block);

// The loop retains a source while it has it; adding a source twice changes nothing.
void run_loop_add_source(run_loop_ref loop, run_loop_source_ref source);
void run_loop_remove_source(run_loop_ref loop, run_loop_source_ref source);
bool run_loop_contains_source(run_loop_ref loop, run_loop_source_ref source);
// The loop's sources in the order they were added, each retained once for the caller.
std::vector<run_loop_source_ref> run_loop_copy_sources(run_loop_ref loop);

// A new source with one reference for the caller.
run_loop_source_ref run_loop_source_create(const run_loop_source_context& context);
// Marks the source ready: its perform callback runs once, on the next pass of a loop that has it.
// Signals given before that pass are merged into one; a source no loop has stays ready.
void run_loop_source_signal(run_loop_source_ref source);
// As above, and wakes every loop that has the source: the behaviour of a source fed by a port,
// whose signaller does not know the loops that serve it.
void run_loop_source_signal_and_wake_up(run_loop_source_ref source);

} // namespace platform::cf
