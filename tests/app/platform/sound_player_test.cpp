#include "platform/SoundPlayer.hpp"

#include <QtGlobal>

#include <gtest/gtest.h>

#include <dlfcn.h>

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

} // namespace
