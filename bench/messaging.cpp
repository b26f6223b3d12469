// A request through the grabber client to an echoing peer and back to the client's received
// signal, against the same bytes sent and received on a raw AF_UNIX datagram socket, and against
// that raw exchange handed over between threads as the client's road is; and a batch
// of datagrams queued on the datagram client until the last one has left the queue, against a raw
// send loop of the same datagrams. The peer is a thread of this process that reads its socket
// (and answers, for the round trip).

#include "support/ratio.hpp"
#include "support/scratch_folder.hpp"

#include "hbd/constants.hpp"
#include "hbd/dispatcher_utility/scoped_dispatcher_manager.hpp"
#include "hbd/grabber_client.hpp"
#include "zunto/dispatcher/dispatcher.hpp"
#include "zunto/dispatcher/hardware_time_source.hpp"
#include "zunto/local_datagram/client.hpp"
#include "zunto/thread_wait.hpp"

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

sockaddr_un make_address(const std::string& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof(address.sun_path)) {
    throw std::runtime_error("socket path too long: " + path);
  }
  std::memcpy(address.sun_path, path.data(), path.size());
  return address;
}

int bound_socket(const std::string& path) {
  const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  ::unlink(path.c_str());
  const auto address = make_address(path);
  if (fd < 0 || ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
    throw std::runtime_error("cannot bind " + path);
  }
  return fd;
}

// Reads its socket on a thread of its own and, when asked to, sends each datagram back to its
// sender.
class peer final {
public:
  peer(const std::string& path, bool echo) : path_(path), fd_(bound_socket(path)), echo_(echo) {
    thread_ = std::thread([this] { run(); });
  }

  ~peer() {
    // An empty datagram of type 255 ends the loop.
    const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const auto address = make_address(path_);
    const std::uint8_t stop = 0xff;
    ::sendto(fd, &stop, 1, 0, reinterpret_cast<const sockaddr*>(&address), sizeof(address));
    ::close(fd);
    thread_.join();
    ::close(fd_);
    ::unlink(path_.c_str());
  }

  peer(const peer&) = delete;
  peer& operator=(const peer&) = delete;

private:
  void run() {
    std::vector<std::uint8_t> buffer(64 * 1024);
    while (true) {
      sockaddr_un sender{};
      socklen_t sender_length = sizeof(sender);
      const ssize_t size =
          ::recvfrom(fd_, buffer.data(), buffer.size(), 0, reinterpret_cast<sockaddr*>(&sender), &sender_length);
      if (size == 1 && buffer[0] == 0xff) {
        return;
      }
      if (size > 0 && echo_ && buffer[0] == 1 && sender_length > sizeof(sa_family_t)) {
        ::sendto(fd_, buffer.data(), static_cast<std::size_t>(size), 0, reinterpret_cast<sockaddr*>(&sender),
                 sender_length);
      }
    }
  }

  std::string path_;
  int fd_;
  bool echo_;
  std::thread thread_;
};

hbd_bench::scratch_folder& get_folder() {
  static hbd_bench::scratch_folder folder("hbd_bench_messaging");
  return folder;
}

// The grabber's socket folder lies under the system root, which is read once, before any path.
[[maybe_unused]] const bool system_root_set = (::setenv("HBD_SYSTEM_ROOT", get_folder().path().c_str(), 1), true);

std::vector<std::uint8_t> set_app_icon_message(int number) {
  return nlohmann::json::to_msgpack({{"number", number}, {"operation_type", "set_app_icon"}});
}

// Counts answers and lets the benchmark wait for the next one.
class answers final {
public:
  void arrived() {
    {
      std::lock_guard lock(mutex_);
      ++count_;
    }
    changed_.notify_one();
  }

  void wait_for(std::uint64_t count) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return count_ >= count; });
  }

private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::uint64_t count_ = 0;
};

void grabber_client_round_trip(benchmark::State& state) {
  const auto directory = hbd::constants::get_grabber_socket_directory_path();
  std::filesystem::create_directories(directory);
  hbd::dispatcher_utility::scoped_dispatcher_manager dispatcher_manager;
  peer grabber((directory / "grabber.sock").string(), true);

  answers received;
  auto connected = zunto::make_thread_wait();
  auto client = std::make_unique<hbd::grabber_client>(get_folder().path() + "/client.sock");
  client->connected.connect([&] { connected->notify(); });
  client->received.connect([&](auto&&...) { received.arrived(); });
  client->async_start();
  connected->wait_notice();

  std::uint64_t count = 0;
  for (auto _ : state) {
    client->async_set_app_icon(static_cast<int>(count));
    received.wait_for(++count);
  }
  client = nullptr;
}

void raw_datagram_round_trip(benchmark::State& state) {
  peer grabber(get_folder().path() + "/raw_grabber.sock", true);
  const int fd = bound_socket(get_folder().path() + "/raw_client.sock");
  const auto address = make_address(get_folder().path() + "/raw_grabber.sock");
  ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address));

  std::vector<std::uint8_t> answer(64 * 1024);
  int count = 0;
  for (auto _ : state) {
    auto datagram = set_app_icon_message(count++);
    datagram.insert(datagram.begin(), 1);
    ::send(fd, datagram.data(), datagram.size(), 0);
    benchmark::DoNotOptimize(::recv(fd, answer.data(), answer.size(), 0));
  }
  ::close(fd);
  ::unlink((get_folder().path() + "/raw_client.sock").c_str());
}

// A thread that runs the jobs handed to it in order, waking on a condition variable: the least a
// hand-over between two threads costs.
class relay final {
public:
  relay() : thread_([this] { run(); }) {}

  ~relay() {
    post(nullptr);
    thread_.join();
  }

  relay(const relay&) = delete;
  relay& operator=(const relay&) = delete;

  // An empty job ends the thread.
  void post(std::function<void()> job) {
    {
      std::lock_guard lock(mutex_);
      jobs_.push_back(std::move(job));
    }
    changed_.notify_one();
  }

private:
  void run() {
    for (;;) {
      std::function<void()> job;
      {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return !jobs_.empty(); });
        job = std::move(jobs_.front());
        jobs_.pop_front();
      }
      if (!job) {
        return;
      }
      job();
    }
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::function<void()>> jobs_;
  std::thread thread_;
};

// The raw round trip with the thread hand-overs the client's road takes: the caller to the
// dispatcher thread, to the I/O thread that sends and receives, back to the dispatcher thread and
// to the caller. What the client costs beyond this is its own.
void relayed_datagram_round_trip(benchmark::State& state) {
  peer grabber(get_folder().path() + "/relayed_grabber.sock", true);
  const int fd = bound_socket(get_folder().path() + "/relayed_client.sock");
  const auto address = make_address(get_folder().path() + "/relayed_grabber.sock");
  ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address));

  answers received;
  std::vector<std::uint8_t> answer(64 * 1024);
  {
    relay dispatcher_thread;
    relay io_thread;
    std::uint64_t count = 0;
    for (auto _ : state) {
      const int number = static_cast<int>(count);
      dispatcher_thread.post([&, number] {
        auto datagram = set_app_icon_message(number);
        datagram.insert(datagram.begin(), 1);
        io_thread.post([&, datagram = std::move(datagram)] {
          ::send(fd, datagram.data(), datagram.size(), 0);
          benchmark::DoNotOptimize(::recv(fd, answer.data(), answer.size(), 0));
          dispatcher_thread.post([&] { received.arrived(); });
        });
      });
      received.wait_for(++count);
    }
  }
  ::close(fd);
  ::unlink((get_folder().path() + "/relayed_client.sock").c_str());
}

void datagram_client_queued_sends(benchmark::State& state) {
  auto time_source = std::make_shared<zunto::dispatcher::hardware_time_source>();
  auto dispatcher = std::make_shared<zunto::dispatcher::dispatcher>(time_source);
  const auto server_path = get_folder().path() + "/sink.sock";
  peer sink(server_path, false);

  auto connected = zunto::make_thread_wait();
  auto client = std::make_unique<zunto::local_datagram::client>(dispatcher, server_path, std::nullopt, 32 * 1024);
  client->connected.connect([&] { connected->notify(); });
  client->async_start();
  connected->wait_notice();

  const auto message = set_app_icon_message(1);
  for (auto _ : state) {
    auto sent = zunto::make_thread_wait();
    for (std::int64_t i = 1; i < state.range(0); ++i) {
      client->async_send(message, nullptr);
    }
    client->async_send(message, [&] { sent->notify(); });
    sent->wait_notice();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  client = nullptr;
  dispatcher->terminate();
}

void raw_datagram_send_loop(benchmark::State& state) {
  const auto server_path = get_folder().path() + "/raw_sink.sock";
  peer sink(server_path, false);
  const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  const auto address = make_address(server_path);
  ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address));

  auto datagram = set_app_icon_message(1);
  datagram.insert(datagram.begin(), 1);
  for (auto _ : state) {
    for (std::int64_t i = 0; i < state.range(0); ++i) {
      benchmark::DoNotOptimize(::send(fd, datagram.data(), datagram.size(), 0));
    }
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  ::close(fd);
}

} // namespace

BENCHMARK(grabber_client_round_trip)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(raw_datagram_round_trip)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(relayed_datagram_round_trip)->UseRealTime()->Unit(benchmark::kMicrosecond);
HBD_BENCH_RATIO("grabber_client_round_trip", "raw_datagram_round_trip");
HBD_BENCH_RATIO("grabber_client_round_trip", "relayed_datagram_round_trip");

BENCHMARK(datagram_client_queued_sends)->Arg(1024)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(raw_datagram_send_loop)->Arg(1024)->UseRealTime()->Unit(benchmark::kMicrosecond);
HBD_BENCH_RATIO("datagram_client_queued_sends", "raw_datagram_send_loop");
