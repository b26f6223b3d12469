#pragma once

#include "platform/dispatch/serial_queue.hpp"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// File-event streams: a stream watches directories and, on a serial queue, hands its callback
// batches of (path, flags) for the files changed in them. Changes are gathered for `latency`
// seconds after the first one; one path appears at most once a batch, with the flags of all its
// changes.
namespace platform::fsevents {

using event_id = std::uint64_t;
using event_flags = std::uint32_t;
using create_flags = std::uint32_t;

inline constexpr create_flags create_flag_none = 0x00000000;
// Also report root_changed when a watched directory, or one above it, is removed, renamed or
// (having been missing) created.
inline constexpr create_flags create_flag_watch_root = 0x00000004;
// Report the changed files; without it, the directory that holds them.
inline constexpr create_flags create_flag_file_events = 0x00000010;
// Set own_event on changes this process made (see own_writes.hpp).
inline constexpr create_flags create_flag_mark_self = 0x00000020;

// Rescan the directory: what changed in it is not known.
inline constexpr event_flags event_flag_must_scan_subdirs = 0x00000001;
// Events were lost in this process (too many before delivery).
inline constexpr event_flags event_flag_user_dropped = 0x00000002;
// Events were lost by the kernel.
inline constexpr event_flags event_flag_kernel_dropped = 0x00000004;
// The path is a watched directory that was removed, renamed or created.
inline constexpr event_flags event_flag_root_changed = 0x00000020;
inline constexpr event_flags event_flag_item_created = 0x00000100;
inline constexpr event_flags event_flag_item_removed = 0x00000200;
inline constexpr event_flags event_flag_item_inode_meta_mod = 0x00000400;
inline constexpr event_flags event_flag_item_renamed = 0x00000800;
inline constexpr event_flags event_flag_item_modified = 0x00001000;
inline constexpr event_flags event_flag_item_is_file = 0x00010000;
inline constexpr event_flags event_flag_item_is_dir = 0x00020000;
inline constexpr event_flags event_flag_own_event = 0x00080000;

// Streams report changes from their start on; there is no history to replay.
inline constexpr event_id event_id_since_now = ~event_id{0};

class stream;
using stream_ref = stream*;

struct stream_context {
  int version = 0;
  // Handed to the callback as it is; the stream neither owns nor copies it.
  void* info = nullptr;
};

// Runs on the stream's queue. The arrays hold event_count entries and are valid during the call.
using stream_callback = void (*)(stream_ref stream, void* info, std::size_t event_count, const char* const* event_paths,
                                 const event_flags* flags, const event_id* ids);

// A new, stopped stream with one reference for the caller; null without a callback or directories.
// Event paths lie under each directory's resolved path (symbolic links followed); root_changed and
// the dropped flags come with the directory as given. When a watched directory comes back (made,
// or renamed into place), whatever it holds once watched again is reported as created; without
// file events, the directory is reported with must_scan_subdirs.
stream_ref stream_create(stream_callback callback, const stream_context* context,
                         const std::vector<std::string>& paths_to_watch, event_id since_when, double latency_seconds,
                         create_flags flags);

// The queue that runs the callback; the stream keeps it until invalidated or released.
void stream_set_dispatch_queue(stream_ref stream, std::shared_ptr<dispatch::serial_queue> queue);

// Starts watching. False, with errno telling why, without a queue, or when the kernel refuses a
// watch for another reason than a missing directory (a missing one is watched for from its nearest
// existing parent), as when the user's inotify instances are all taken.
// Starting a started stream changes nothing.
bool stream_start(stream_ref stream);

// Stops watching. Once it returns no callback starts, and none runs unless stop was called from
// the callback's own queue.
void stream_stop(stream_ref stream);

// Stops and lets go of the queue; the stream cannot be started again.
void stream_invalidate(stream_ref stream);

// Drops the caller's reference; the last one stops the stream and frees it.
void stream_release(stream_ref stream);

std::vector<std::string> stream_copy_paths_being_watched(stream_ref stream);

// The watched directories of every started stream of this process, one list per stream, so that
// tests can see what the process watches.
std::vector<std::vector<std::string>> copy_started_streams_paths();

// Stopped streams hand their kernel descriptors to a background thread, since closing one waits
// for the kernel; this returns once every descriptor handed over so far is closed and that thread
// is done.
void wait_for_stopped_streams();

} // namespace platform::fsevents
