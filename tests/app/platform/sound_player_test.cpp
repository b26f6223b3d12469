#include "platform/SoundPlayer.hpp"

#include "support/stderr_capture.hpp"
#include "support/temporary_directory.hpp"

#include <QtGlobal>

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <fstream>
#include <string>

namespace {

bool loaded(const char* library) {
  void* handle = ::dlopen(library, RTLD_LAZY | RTLD_NOLOAD);
  if (handle != nullptr) {
    ::dlclose(handle);
  }
  return handle != nullptr;
}

TEST(DesktopSoundPlayer, the_sound_library_is_loaded_at_the_first_sound) {
  // A driver that does not exist keeps the sound silent on a machine that has a sound server.
  qputenv("CANBERRA_DRIVER", "grellan-test-none");
  // Nothing else in the tests plays through the desktop player.
  auto player = grellan::SoundPlayer::desktop("libcanberra.so.0");
  EXPECT_FALSE(loaded("libcanberra.so.0"));
  player->play("Pop");
  EXPECT_TRUE(loaded("libcanberra.so.0"));
  player->play("Hero");
  qunsetenv("CANBERRA_DRIVER");
}

TEST(DesktopSoundPlayer, a_missing_sound_library_is_silence) {
  auto player = grellan::SoundPlayer::desktop("libgrellan-missing-sound.so.0");
  // Each sound, and one played again after the library was found missing, is silence without a crash.
  for (const char* name : {"Pop", "Hero", "Pop", "Unknown"}) {
    SCOPED_TRACE(name);
    EXPECT_NO_THROW(player->play(name));
  }
}

TEST(DesktopSoundPlayer, a_sound_that_no_device_answers_writes_nothing_on_standard_error) {
  // ALSA with no devices configured, as on a machine where no sound server or card answers.
  hbd_test::temporary_directory directory;
  const auto configuration = directory.path() / "asound.conf";
  std::ofstream(configuration).close();
  qputenv("CANBERRA_DRIVER", "alsa");
  qputenv("ALSA_CONFIG_PATH", QByteArray::fromStdString(configuration.string()));
  std::string written;
  {
    hbd_test::stderr_capture errors;
    auto player = grellan::SoundPlayer::desktop("libcanberra.so.0");
    player->play("Pop");
    player->play("Hero");
    written = errors.text();
  }
  qunsetenv("ALSA_CONFIG_PATH");
  qunsetenv("CANBERRA_DRIVER");
  EXPECT_EQ(written, "");
}

} // namespace
