#include "hbd/async_file_writer.hpp"

#include "hbd/dispatcher_utility/file_writer_holder.hpp"
#include "hbd/logger.hpp"
#include "platform/fsevents/own_writes.hpp"
#include "zunto/filesystem/filesystem.hpp"
#include "zunto/filesystem/temporary_file.hpp"
#include "zunto/thread_wait.hpp"

#include <fcntl.h>
#include <fmt/format.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <exception>
#include <filesystem>
#include <future>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <system_error>
#include <utility>

namespace hbd {
namespace {

std::string describe_errno(int error) { return std::generic_category().message(error); }

std::string failure(std::string_view step, const std::string& path, int error) {
  return fmt::format("async_file_writer failed to {0}: {1}: {2}", step, path, describe_errno(error));
}

// What a write left: the identity of the file put in place, or what went wrong (logged already).
struct outcome final {
  zunto::filesystem::file_identity identity;
  std::optional<std::string> error;
};

outcome failed(std::string message) { return outcome{{}, std::move(message)}; }

// Runs on the file-writer dispatcher. Never throws.
outcome write_file(const std::string& path, const std::string& body, std::uint16_t directory_mode,
                   std::uint16_t file_mode, bool sync_to_disk) noexcept {
  try {
    if (path.empty()) {
      auto message = fmt::format("async_file_writer error: {0}", "the file path is empty");
      logger::get_logger()->error(message);
      return failed(std::move(message));
    }

    // A failure here shows up as a failure to open below.
    const auto directory = zunto::filesystem::parent_directory(path);
    (void)zunto::filesystem::create_directory_with_intermediate_directories(directory, directory_mode);

    // Temporary files of writers killed part way; the plain ".tmp" name is what earlier versions
    // wrote through, so one left at it is always stale.
    const auto name = std::filesystem::path(path).filename().string();
    zunto::filesystem::remove_stale_temporary_files(directory, [&](std::string_view target) { return target == name; });
    ::unlink((path + ".tmp").c_str());

    // A file of this write's own, created with no more than its final mode.
    auto [file, temporary_path] = zunto::filesystem::temporary_file::create_beside(path, file_mode);
    if (!file) {
      const int error = errno;
      logger::get_logger()->error("async_file_writer failed to open: {0}", path);
      return failed(failure("open", path, error));
    }
    const int fd = file.get();

    // The umask may have taken bits away at creation. A file system without modes refuses this,
    // and the file already has no more than its mode, so the write goes on.
    if (::fchmod(fd, file_mode) != 0) {
      logger::get_logger()->warn(failure("set the mode of", path, errno));
    }

    // The failed step and its errno; formatted only once the descriptor is closed.
    const char* failed_step = nullptr;
    int error = 0;
    const auto fail = [&](const char* step) {
      failed_step = step;
      error = errno;
    };
    std::optional<zunto::filesystem::file_identity> identity;
    if (!zunto::filesystem::write_all(fd, body)) {
      fail("write");
    } else if (sync_to_disk && ::fsync(fd) != 0) {
      fail("sync");
    } else if (!(identity = zunto::filesystem::file_identity::of(fd))) {
      fail("examine");
    }
    // Delayed write errors (a full disk on some file systems) surface here.
    if (!file.reset() && !failed_step) {
      fail("close");
    }
    if (!failed_step) {
      // File monitors skip this process's own writes; the rename keeps what is noted here.
      platform::fsevents::note_own_write(temporary_path);
      // The rename replaces the target in one step; until then the old file stays whole.
      if (::rename(temporary_path.c_str(), path.c_str()) != 0) {
        fail("rename");
      } else if (sync_to_disk && !zunto::filesystem::sync_directory(directory)) {
        // The new file is in place, but a crash could still take the rename back.
        auto message = failure("sync the folder of", path, errno);
        logger::get_logger()->error(message);
        return failed(std::move(message));
      }
    }

    if (!failed_step) {
      return outcome{*identity, std::nullopt};
    }
    ::unlink(temporary_path.c_str());
    auto message = failure(failed_step, path, error);
    logger::get_logger()->error(message);
    return failed(std::move(message));
  } catch (const std::exception& e) {
    auto message = fmt::format("async_file_writer error: {0}", e.what());
    logger::get_logger()->error(message);
    return failed(std::move(message));
  } catch (...) {
    return failed("async_file_writer error: unknown exception");
  }
}

} // namespace

void async_file_writer::enqueue(std::string path, std::string body, std::uint16_t directory_mode,
                                std::uint16_t file_mode) {
  dispatcher_utility::enqueue_to_file_writer_dispatcher(
      [path = std::move(path), body = std::move(body), directory_mode, file_mode] {
        write_file(path, body, directory_mode, file_mode, false);
      });
}

zunto::filesystem::file_identity async_file_writer::sync_save(std::string path, const std::string& body,
                                                              std::uint16_t directory_mode, std::uint16_t file_mode) {
  auto promise = std::make_shared<std::promise<outcome>>();
  auto future = promise->get_future();

  // The caller waits for the data, so it also goes to the disk before it replaces the old file.
  // It also waits for the job to run or to be dropped, so the job may read the caller's body.
  outcome result;
  if (dispatcher_utility::enqueue_to_file_writer_dispatcher([promise, path, &body, directory_mode, file_mode] {
        promise->set_value(write_file(path, body, directory_mode, file_mode, true));
      })) {
    try {
      result = future.get();
    } catch (const std::future_error&) {
      // The job was destroyed without running.
      throw std::runtime_error(fmt::format("async_file_writer cannot write {0}: the write was dropped", path));
    }
  } else {
    // Without a file writer no write is queued before this one, and the caller waits anyway.
    result = write_file(path, body, directory_mode, file_mode, true);
  }
  if (result.error) {
    throw std::runtime_error(*result.error);
  }
  return result.identity;
}

void async_file_writer::wait() {
  auto wait = zunto::make_thread_wait();
  // Without a file writer nothing is queued, so nothing is left to wait for.
  if (!dispatcher_utility::enqueue_to_file_writer_dispatcher([wait] { wait->notify(); })) {
    return;
  }
  wait->wait_notice();
}

} // namespace hbd
