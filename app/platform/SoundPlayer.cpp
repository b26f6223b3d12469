#include "platform/SoundPlayer.hpp"

#include "platform/Installed.hpp"

#include <canberra.h>

#include <utility>

namespace grellan {
namespace {

// The sound theme's event names for the application's sounds.
const char* themeEvent(const QString& name) {
  if (name == "Pop") {
    return "message-new-instant";
  }
  if (name == "Hero") {
    return "complete";
  }
  return nullptr;
}

class CanberraSoundPlayer final : public SoundPlayer {
public:
  ~CanberraSoundPlayer() override {
    if (context_ != nullptr) {
      ca_context_destroy(context_);
    }
  }

  void play(const QString& name) override {
    const char* event = themeEvent(name);
    if (event == nullptr || !open()) {
      return;
    }
    ca_context_play(context_, 0, CA_PROP_EVENT_ID, event, nullptr);
  }

private:
  // Connects on first use; without a reachable sound server every later play is silence.
  bool open() {
    if (!tried_) {
      tried_ = true;
      if (ca_context_create(&context_) == CA_SUCCESS &&
          ca_context_change_props(context_, CA_PROP_APPLICATION_NAME, "grellan", nullptr) == CA_SUCCESS &&
          ca_context_open(context_) == CA_SUCCESS) {
        opened_ = true;
      }
    }
    return opened_;
  }

  ca_context* context_ = nullptr;
  bool tried_ = false;
  bool opened_ = false;
};

} // namespace

SoundPlayer& SoundPlayer::shared() {
  return Installed<SoundPlayer>::get([] { return std::make_unique<CanberraSoundPlayer>(); });
}

std::unique_ptr<SoundPlayer> SoundPlayer::setShared(std::unique_ptr<SoundPlayer> replacement) {
  return Installed<SoundPlayer>::replace(std::move(replacement));
}

} // namespace grellan
