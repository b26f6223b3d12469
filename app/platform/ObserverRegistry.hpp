#pragma once

#include "platform/ObservationToken.hpp"

#include <QHash>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace grellan {

// Observers by name, called synchronously in the order they were added. An observer removed while
// a delivery runs is not called afterwards; one added during a delivery waits for the next. Tokens
// may outlive the registry.
template <typename Value>
class ObserverRegistry final {
public:
  using Callback = std::function<void(const Value&)>;

  ObservationToken add(const QString& name, Callback callback) {
    auto entry = std::make_shared<Entry>(Entry{std::move(callback), true});
    observers_->operator[](name).push_back(entry);
    std::weak_ptr<Observers> observers = observers_;
    return ObservationToken([observers, name, entry] {
      entry->active = false;
      if (auto alive = observers.lock()) {
        auto found = alive->find(name);
        if (found != alive->end()) {
          std::erase(found.value(), entry);
          if (found.value().empty()) {
            alive->erase(found);
          }
        }
      }
    });
  }

  void deliver(const QString& name, const Value& value) const {
    const auto found = observers_->constFind(name);
    if (found == observers_->constEnd()) {
      return;
    }
    const auto entries = found.value();
    for (const auto& entry : entries) {
      if (entry->active) {
        entry->callback(value);
      }
    }
  }

private:
  struct Entry {
    Callback callback;
    bool active;
  };
  using Observers = QHash<QString, std::vector<std::shared_ptr<Entry>>>;

  std::shared_ptr<Observers> observers_ = std::make_shared<Observers>();
};

} // namespace grellan
