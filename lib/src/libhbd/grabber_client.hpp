#pragma once

#include "hbd/grabber_client.hpp"
#include "libhbd.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

// The grabber client of the C interface: its connection events reach three plain C callbacks.
class libhbd_grabber_client final {
public:
  // How long sync_set_variable waits for its request to leave the send queue.
  static constexpr std::chrono::milliseconds sync_set_variable_timeout{3000};

  libhbd_grabber_client(libhbd_grabber_client_connected_callback connected,
                        libhbd_grabber_client_connect_failed_callback connect_failed,
                        libhbd_grabber_client_closed_callback closed);
  ~libhbd_grabber_client();

  libhbd_grabber_client(const libhbd_grabber_client&) = delete;
  libhbd_grabber_client& operator=(const libhbd_grabber_client&) = delete;

  void async_set_app_icon(int number) const;
  void async_set_keyboard_type(std::uint64_t country_code, std::uint64_t keyboard_type) const;
  // `processed` runs once the request has left the queue, or is released unrun when the request
  // is dropped.
  void async_set_variable(const std::string& name, std::int32_t value, std::function<void()> processed) const;

private:
  std::unique_ptr<hbd::grabber_client> grabber_client_;
};
