#include "support/datagram_peer.hpp"

#include "support/hex.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <sstream>

extern char** environ;

namespace hbd_test {

datagram_peer::datagram_peer(const std::string& socket_path) {
  int input[2];
  int output[2];
  if (::pipe2(input, O_CLOEXEC) != 0 || ::pipe2(output, O_CLOEXEC) != 0) {
    ADD_FAILURE() << "pipe: " << std::strerror(errno);
    return;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);

  std::string program = HBD_DATAGRAM_PEER;
  std::string path = socket_path;
  char* argv[] = {program.data(), path.data(), nullptr};
  const int error = ::posix_spawn(&pid_, HBD_DATAGRAM_PEER, &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(input[0]);
  ::close(output[1]);
  input_fd_ = input[1];
  output_fd_ = output[0];
  if (error != 0) {
    pid_ = -1;
    ADD_FAILURE() << "cannot start " << HBD_DATAGRAM_PEER << ": " << std::strerror(error);
    return;
  }
  reader_ = std::thread([this] { read_output(); });

  std::unique_lock lock(mutex_);
  if (!changed_.wait_for(lock, std::chrono::seconds(20), [this] { return ready_ || ended_; }) || !ready_) {
    ADD_FAILURE() << "datagram_peer did not bind " << socket_path;
  }
}

datagram_peer::~datagram_peer() {
  if (input_fd_ >= 0) {
    // End of input makes the peer remove its socket and exit.
    ::close(input_fd_);
  }
  if (pid_ > 0) {
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
  }
  if (reader_.joinable()) {
    reader_.join();
  }
  if (output_fd_ >= 0) {
    ::close(output_fd_);
  }
}

bool datagram_peer::command(const std::string& line) {
  std::size_t answers = 0;
  {
    std::lock_guard lock(mutex_);
    answers = answers_;
  }
  const std::string text = line + "\n";
  if (::write(input_fd_, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
    return false;
  }
  return wait_for_answer(answers + 1);
}

bool datagram_peer::wait_for_answer(std::size_t answers) {
  std::unique_lock lock(mutex_);
  const auto failures = failures_;
  if (!changed_.wait_for(lock, std::chrono::seconds(20), [&] { return answers_ >= answers || ended_; })) {
    return false;
  }
  return answers_ >= answers && failures_ == failures;
}

bool datagram_peer::send(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  return command("send " + hbd_test::to_hex(bytes) + " " + path);
}

bool datagram_peer::wait_for(const std::function<bool(const std::vector<datagram>&)>& predicate,
                             std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return predicate(datagrams_); });
}

bool datagram_peer::wait_for_type(std::uint8_t type, std::size_t count, std::chrono::milliseconds timeout) const {
  return wait_for(
      [&](const std::vector<datagram>& all) {
        std::size_t found = 0;
        for (const auto& d : all) {
          if (!d.bytes.empty() && d.bytes[0] == type) {
            ++found;
          }
        }
        return found >= count;
      },
      timeout);
}

std::vector<datagram_peer::datagram> datagram_peer::datagrams() const {
  std::lock_guard lock(mutex_);
  return datagrams_;
}

std::vector<datagram_peer::datagram> datagram_peer::datagrams_of_type(std::uint8_t type) const {
  std::vector<datagram> result;
  for (auto& d : datagrams()) {
    if (!d.bytes.empty() && d.bytes[0] == type) {
      result.push_back(std::move(d));
    }
  }
  return result;
}

void datagram_peer::read_output() {
  std::string pending;
  char chunk[4096];
  while (true) {
    const ssize_t size = ::read(output_fd_, chunk, sizeof(chunk));
    if (size < 0 && errno == EINTR) {
      continue;
    }
    if (size <= 0) {
      break;
    }
    pending.append(chunk, static_cast<std::size_t>(size));
    std::size_t end = 0;
    while ((end = pending.find('\n')) != std::string::npos) {
      const std::string line = pending.substr(0, end);
      pending.erase(0, end + 1);
      std::istringstream words(line);
      std::string word;
      words >> word;
      {
        std::lock_guard lock(mutex_);
        if (word == "ready") {
          ready_ = true;
        } else if (word == "done") {
          ++answers_;
        } else if (word == "failed") {
          ++failures_;
          ++answers_;
        } else if (word == "received") {
          datagram d;
          std::string hex;
          words >> d.sender >> hex;
          d.bytes = from_hex(hex);
          d.arrival = std::chrono::steady_clock::now();
          datagrams_.push_back(std::move(d));
        }
      }
      changed_.notify_all();
    }
  }
  {
    std::lock_guard lock(mutex_);
    ended_ = true;
  }
  changed_.notify_all();
}

} // namespace hbd_test
