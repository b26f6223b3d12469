#pragma once

#include "platform/SoundPlayer.hpp"
#include "platform/engine/GRKGrellanKit.hpp"
#include "services/GrellanKit_.hpp"
#include "services/Hobbard.hpp"
#include "support/app/platform/indicator_fixture.hpp"

#include <QStringList>

#include <cstddef>
#include <iosfwd>
#include <memory>
#include <sstream>
#include <string>

namespace grellan_test {

// A fresh first launch: in-memory user defaults, one screen, no backend files, silent sounds. What is
// launched is the derived fixture's: the application or only its services.
class FreshLaunchFixture : public IndicatorFixture {
protected:
  FreshLaunchFixture();
  ~FreshLaunchFixture() override;

  // Ends what runs, launches afresh and waits for the backend's first report of each state file.
  void start();
  // How many reports the backend control wrote since the last start.
  std::size_t updates() const;

  virtual void stop() = 0;
  virtual void launch(std::ostream& output) = 0;
  virtual grellan::GrellanKit_& kit() = 0;
  virtual grellan::Hobbard& hobbard() = 0;

  grellan::GRKGrellanKit& engine() { return kit().kit(); }
  const QStringList& sounds();
  // The backend's state as this process reads it, without waiting for the file monitor.
  void report(const std::string& content);

private:
  std::ostringstream output_;
  std::unique_ptr<grellan::SoundPlayer> previousSounds_;
};

} // namespace grellan_test
