#include "services/Updater.hpp"

#include "platform/NotificationCenter.hpp"

#include <QMessageBox>
#include <QPointer>

namespace grellan {
namespace {

// Knows of no update, ever: there is nothing to update from here. Like an update framework, it
// tells the user so; otherwise a check would look like a button that does nothing.
class NoUpdateFramework final : public UpdateFramework {
public:
  void setDelegate(UpdaterDelegate* delegate) override { delegate_ = delegate; }
  void checkForUpdates() override {
    if (delegate_ != nullptr) {
      delegate_->didNotFindUpdate();
    }
    showNoUpdateMessage();
  }
  bool updateInProgress() const override { return false; }

private:
  // Not modal, so nothing waits on it; a second check brings the same message forward.
  void showNoUpdateMessage() {
    if (!message_) {
      message_ = new QMessageBox(QMessageBox::Information, QObject::tr("Check for updates"),
                                 QObject::tr("No updates available"), QMessageBox::Ok);
      message_->setAttribute(Qt::WA_DeleteOnClose);
      message_->setModal(false);
    }
    message_->show();
    message_->raise();
    message_->activateWindow();
  }

  UpdaterDelegate* delegate_ = nullptr;
  QPointer<QMessageBox> message_;
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
