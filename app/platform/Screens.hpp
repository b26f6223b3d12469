#pragma once

#include <QRect>
#include <QString>

#include <memory>
#include <vector>

namespace grellan {

// Posted on the default notification centre when a screen comes, goes or changes its geometry.
inline const QString screenParametersChangedNotification = "screenParametersChanged";

// The screens the system reports, in its order, as frames in Qt's global coordinates.
class Screens {
public:
  virtual ~Screens() = default;
  virtual std::vector<QRect> frames() const = 0;

  // Qt's screens unless another list was installed.
  static Screens& shared();
  // Installs the process's list (null: back to Qt's); returns the previous one.
  static std::unique_ptr<Screens> setShared(std::unique_ptr<Screens> replacement);
};

// A fixed list for tests; `setFrames` posts the change notification like a real screen change.
class FixedScreens final : public Screens {
public:
  explicit FixedScreens(std::vector<QRect> frames) : frames_(std::move(frames)) {}
  std::vector<QRect> frames() const override { return frames_; }
  void setFrames(std::vector<QRect> frames);

private:
  std::vector<QRect> frames_;
};

} // namespace grellan
