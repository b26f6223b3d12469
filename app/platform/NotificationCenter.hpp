#pragma once

#include "platform/ObservationToken.hpp"
#include "platform/ObserverRegistry.hpp"

#include <QString>
#include <QVariant>

namespace grellan {

// Named notifications inside the process, each with an object of any type (an invalid QVariant when
// there is none). Observers run synchronously on the posting thread, before post returns.
class NotificationCenter final {
public:
  using Observer = std::function<void(const QVariant& object)>;

  static NotificationCenter& defaultCenter();

  void post(const QString& name, const QVariant& object = {}) const;
  ObservationToken addObserver(const QString& name, Observer observer);

private:
  ObserverRegistry<QVariant> observers_;
};

} // namespace grellan
