// A datagram server standing in for the backend's grabber daemon, run as a process of its own.
// Usage: datagram_peer SOCKET_PATH
// It binds a datagram socket at SOCKET_PATH, prints "ready", and then reports on standard output
// every datagram it receives as "received SENDER HEX" (SENDER is the sender's path, "-" when the
// sender is unbound; HEX the datagram's bytes, "-" for none). Commands come one a line on standard
// input; each is answered with "done" once carried out:
//   echo on|off                 send every datagram received back to its (bound) sender
//   stop_reading                leave datagrams unread from now on
//   send HEX PATH               send the bytes to PATH from the server socket
//   move PATH                   remove the socket and its file and bind anew at PATH
//   disappear                   remove the socket and its file
//   quit                        remove the socket and its file and exit
// End of input counts as quit. A PATH is the rest of its line, spaces included.

#include "support/hex.hpp"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

int server_fd = -1;
std::string server_path;
bool echo = false;
bool reading = true;

bool make_address(const std::string& path, sockaddr_un& address) {
  std::memset(&address, 0, sizeof(address));
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof(address.sun_path)) {
    return false;
  }
  std::memcpy(address.sun_path, path.data(), path.size());
  return true;
}

void print(const std::string& line) { std::cout << line << '\n' << std::flush; }

void remove_server() {
  if (server_fd >= 0) {
    ::close(server_fd);
    server_fd = -1;
    ::unlink(server_path.c_str());
  }
}

bool bind_server(const std::string& path) {
  sockaddr_un address;
  if (!make_address(path, address)) {
    return false;
  }
  server_fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  ::unlink(path.c_str());
  if (server_fd < 0 || ::bind(server_fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
    std::perror("datagram_peer: bind");
    return false;
  }
  server_path = path;
  return true;
}

bool send_bytes(int fd, const std::string& path, const std::vector<std::uint8_t>& bytes) {
  sockaddr_un address;
  return make_address(path, address) &&
         ::sendto(fd, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&address), sizeof(address)) >= 0;
}

void receive() {
  std::vector<std::uint8_t> buffer(1024 * 1024);
  sockaddr_un sender;
  socklen_t sender_length = sizeof(sender);
  const ssize_t size =
      ::recvfrom(server_fd, buffer.data(), buffer.size(), 0, reinterpret_cast<sockaddr*>(&sender), &sender_length);
  if (size < 0) {
    return;
  }
  std::string sender_path = "-";
  if (sender_length > sizeof(sa_family_t) && sender.sun_path[0] != '\0') {
    sender_path = sender.sun_path;
  }
  buffer.resize(static_cast<std::size_t>(size));
  print("received " + sender_path + " " + hbd_test::to_hex(buffer));
  if (echo && sender_path != "-") {
    ::sendto(server_fd, buffer.data(), static_cast<std::size_t>(size), 0, reinterpret_cast<sockaddr*>(&sender),
             sender_length);
  }
}

std::string rest_of_line(std::istringstream& words) {
  std::string rest;
  std::getline(words >> std::ws, rest);
  return rest;
}

// False when the peer should exit.
bool run_command(const std::string& line) {
  std::istringstream words(line);
  std::string command;
  words >> command;
  bool ok = true;
  if (command == "echo") {
    std::string value;
    words >> value;
    echo = value == "on";
  } else if (command == "stop_reading") {
    reading = false;
  } else if (command == "send") {
    std::string hex;
    words >> hex;
    ok = send_bytes(server_fd, rest_of_line(words), hbd_test::from_hex(hex));
  } else if (command == "move") {
    const auto path = rest_of_line(words);
    remove_server();
    ok = bind_server(path);
  } else if (command == "disappear") {
    remove_server();
  } else if (command == "quit") {
    remove_server();
    print("done");
    return false;
  } else {
    ok = false;
  }
  print(ok ? "done" : "failed " + line);
  return true;
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 2 || !bind_server(argv[1])) {
    std::fprintf(stderr, "usage: datagram_peer SOCKET_PATH\n");
    return 1;
  }
  print("ready");

  std::string input;
  char chunk[4096];
  while (true) {
    pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {server_fd, POLLIN, 0}};
    const nfds_t count = (reading && server_fd >= 0) ? 2 : 1;
    if (::poll(fds, count, -1) < 0) {
      if (errno == EINTR) {
        continue;
      }
      break;
    }
    if (count == 2 && (fds[1].revents & POLLIN) != 0) {
      receive();
    }
    if ((fds[0].revents & (POLLIN | POLLHUP)) != 0) {
      const ssize_t size = ::read(STDIN_FILENO, chunk, sizeof(chunk));
      if (size <= 0) {
        break;
      }
      input.append(chunk, static_cast<std::size_t>(size));
      std::size_t end = 0;
      while ((end = input.find('\n')) != std::string::npos) {
        const std::string line = input.substr(0, end);
        input.erase(0, end + 1);
        if (!run_command(line)) {
          return 0;
        }
      }
    }
  }
  remove_server();
  return 0;
}
