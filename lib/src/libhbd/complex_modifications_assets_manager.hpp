#pragma once

#include "hbd/complex_modifications_assets_manager.hpp"

// The C interface's list of complex-modification asset files; empty until the first reload.
class libhbd_complex_modifications_assets_manager final {
public:
  libhbd_complex_modifications_assets_manager();
  ~libhbd_complex_modifications_assets_manager();

  libhbd_complex_modifications_assets_manager(const libhbd_complex_modifications_assets_manager&) = delete;
  libhbd_complex_modifications_assets_manager& operator=(const libhbd_complex_modifications_assets_manager&) = delete;

  hbd::complex_modifications_assets_manager& get_manager() { return manager_; }

private:
  hbd::complex_modifications_assets_manager manager_;
};
