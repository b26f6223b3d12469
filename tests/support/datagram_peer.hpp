#pragma once

#include <sys/types.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace hbd_test {

// The datagram server helper (programs/datagram_peer.cpp) in a process of its own, bound at a path
// in the test's folder; it records every datagram it receives and obeys commands.
class datagram_peer final {
public:
  struct datagram {
    std::string sender; // "-" for an unbound sender
    std::vector<std::uint8_t> bytes;
    std::chrono::steady_clock::time_point arrival;
  };

  // Starts the peer and waits until its socket is bound; fails the test otherwise.
  explicit datagram_peer(const std::string& socket_path);
  // Ends the peer; its socket file goes with it.
  ~datagram_peer();

  datagram_peer(const datagram_peer&) = delete;
  datagram_peer& operator=(const datagram_peer&) = delete;

  // Runs one command of the helper and waits for its answer; true when it worked.
  bool command(const std::string& line);

  bool echo(bool on) { return command(on ? "echo on" : "echo off"); }
  bool send(const std::string& path, const std::vector<std::uint8_t>& bytes);

  // Blocks until `predicate` holds for the datagrams received so far; false when time runs out.
  bool wait_for(const std::function<bool(const std::vector<datagram>&)>& predicate,
                std::chrono::milliseconds timeout = std::chrono::seconds(20)) const;
  // Blocks until at least `count` datagrams whose first byte is `type` have arrived.
  bool wait_for_type(std::uint8_t type, std::size_t count,
                     std::chrono::milliseconds timeout = std::chrono::seconds(20)) const;

  std::vector<datagram> datagrams() const;
  std::vector<datagram> datagrams_of_type(std::uint8_t type) const;

private:
  void read_output();
  bool wait_for_answer(std::size_t answers);

  pid_t pid_ = -1;
  int input_fd_ = -1;
  int output_fd_ = -1;
  std::thread reader_;

  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  bool ready_ = false;
  bool ended_ = false;
  std::size_t answers_ = 0;
  std::size_t failures_ = 0;
  std::vector<datagram> datagrams_;
};

} // namespace hbd_test
