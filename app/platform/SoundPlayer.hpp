#pragma once

#include <QString>
#include <QStringList>

#include <memory>

namespace grellan {

// Plays the short named sounds of the application ("Pop", "Hero").
class SoundPlayer {
public:
  virtual ~SoundPlayer() = default;
  // Never fails: a sound that cannot be played is silence.
  virtual void play(const QString& name) = 0;

  // The desktop sound theme (libcanberra) unless another player was installed.
  static SoundPlayer& shared();
  // The desktop sound theme through `library`, loaded at the first sound; tests name a missing one.
  static std::unique_ptr<SoundPlayer> desktop(const QString& library);
  // Installs the process's player (null: back to the desktop one); returns the previous one.
  static std::unique_ptr<SoundPlayer> setShared(std::unique_ptr<SoundPlayer> replacement);
};

// Remembers what it was asked to play, for tests.
class RecordingSoundPlayer final : public SoundPlayer {
public:
  void play(const QString& name) override { played_.append(name); }
  const QStringList& played() const { return played_; }

private:
  QStringList played_;
};

} // namespace grellan
