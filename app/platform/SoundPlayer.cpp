#include "platform/SoundPlayer.hpp"

#include "platform/Installed.hpp"
#include "platform/LoadedLibrary.hpp"

#include <alsa/asoundlib.h>
#include <canberra.h>

#include <optional>
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

void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

// The sound library falls back to ALSA, which reports every device it cannot open on standard error:
// noise wherever no sound server or card answers, so its reports go nowhere.
void silenceAlsa() {
  static LoadedLibrary alsa("libasound.so.2");
  decltype(snd_lib_error_set_handler)* setErrorHandler = nullptr;
  if (alsa.resolve(setErrorHandler, "snd_lib_error_set_handler")) {
    setErrorHandler(&ignoreAlsaError);
  }
}

// The sound library's functions, typed as its header declares them.
struct Canberra {
  explicit Canberra(const QString& fileName) : library(fileName) {
    complete = library.resolve(create, "ca_context_create") &&
               library.resolve(changeProps, "ca_context_change_props") && library.resolve(open, "ca_context_open") &&
               library.resolve(play, "ca_context_play") && library.resolve(destroy, "ca_context_destroy");
  }

  LoadedLibrary library;
  decltype(ca_context_create)* create = nullptr;
  decltype(ca_context_change_props)* changeProps = nullptr;
  decltype(ca_context_open)* open = nullptr;
  decltype(ca_context_play)* play = nullptr;
  decltype(ca_context_destroy)* destroy = nullptr;
  bool complete = false;
};

class CanberraSoundPlayer final : public SoundPlayer {
public:
  explicit CanberraSoundPlayer(QString library) : libraryName_(std::move(library)) {}

  ~CanberraSoundPlayer() override {
    if (context_ != nullptr) {
      canberra_->destroy(context_);
    }
  }

  void play(const QString& name) override {
    const char* event = themeEvent(name);
    if (event == nullptr || !open()) {
      return;
    }
    canberra_->play(context_, 0, CA_PROP_EVENT_ID, event, nullptr);
  }

private:
  // Loads the library and connects on first use; without either every later play is silence.
  bool open() {
    if (!tried_) {
      tried_ = true;
      silenceAlsa();
      canberra_.emplace(libraryName_);
      if (canberra_->complete && canberra_->create(&context_) == CA_SUCCESS &&
          canberra_->changeProps(context_, CA_PROP_APPLICATION_NAME, "grellan", nullptr) == CA_SUCCESS &&
          canberra_->open(context_) == CA_SUCCESS) {
        opened_ = true;
      }
    }
    return opened_;
  }

  QString libraryName_;
  std::optional<Canberra> canberra_;
  ca_context* context_ = nullptr;
  bool tried_ = false;
  bool opened_ = false;
};

} // namespace

SoundPlayer& SoundPlayer::shared() {
  return Installed<SoundPlayer>::get([] { return desktop("libcanberra.so.0"); });
}

std::unique_ptr<SoundPlayer> SoundPlayer::desktop(const QString& library) {
  return std::make_unique<CanberraSoundPlayer>(library);
}

std::unique_ptr<SoundPlayer> SoundPlayer::setShared(std::unique_ptr<SoundPlayer> replacement) {
  return Installed<SoundPlayer>::replace(std::move(replacement));
}

} // namespace grellan
