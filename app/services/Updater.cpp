#include "services/Updater.hpp"

#include "platform/NotificationCenter.hpp"

namespace grellan {
namespace {

// Knows of no update, ever: there is nothing to update from here.
class NoUpdateFramework final : public UpdateFramework {
public:
  void setDelegate(UpdaterDelegate* delegate) override { delegate_ = delegate; }
  void checkForUpdates() override {
    if (delegate_ != nullptr) {
      delegate_->didNotFindUpdate();
    }
  }
  bool updateInProgress() const override { return false; }

private:
  UpdaterDelegate* delegate_ = nullptr;
};

std::unique_ptr<UpdateFramework>& sharedFramework() {
  static std::unique_ptr<UpdateFramework> framework = std::make_unique<NoUpdateFramework>();
  return framework;
}

} // namespace

UpdateFramework& UpdateFramework::shared() { return *sharedFramework(); }

std::unique_ptr<UpdateFramework> UpdateFramework::setShared(std::unique_ptr<UpdateFramework> framework) {
  auto previous = std::move(sharedFramework());
  sharedFramework() = std::move(framework);
  return previous;
}

Updater::Updater() = default;

// The framework outlives the updater; it must not call a delegate that is gone.
Updater::~Updater() { UpdateFramework::shared().setDelegate(nullptr); }

void Updater::checkForUpdates() {
  UpdateFramework::shared().setDelegate(&delegate_);
  UpdateFramework::shared().checkForUpdates();
}

bool Updater::updateInProgress() const { return UpdateFramework::shared().updateInProgress(); }

void Updater::Delegate::didFindValidUpdate() { NotificationCenter::defaultCenter().post(Updater::didFindValidUpdate); }

void Updater::Delegate::didNotFindUpdate() {
  NotificationCenter::defaultCenter().post(Updater::updaterDidNotFindUpdate);
}

} // namespace grellan
