#pragma once

#include <QString>

#include <memory>

namespace grellan {

// What the updater hears back from a check.
class UpdaterDelegate {
public:
  virtual ~UpdaterDelegate() = default;
  virtual void didFindValidUpdate() = 0;
  virtual void didNotFindUpdate() = 0;
};

// The update machinery the application asks. No update framework exists on this platform: the
// default one finds no update; tests put in their own outcomes.
class UpdateFramework {
public:
  virtual ~UpdateFramework() = default;
  virtual void setDelegate(UpdaterDelegate* delegate) = 0;
  virtual void checkForUpdates() = 0;
  virtual bool updateInProgress() const = 0;

  static UpdateFramework& shared();
  // Replaces the shared framework and returns the previous one.
  static std::unique_ptr<UpdateFramework> setShared(std::unique_ptr<UpdateFramework> framework);
};

// Lets the user ask for an update and turns the two outcomes of a check into notifications on the
// default notification centre.
class Updater final {
public:
  static inline const QString didFindValidUpdate = "didFindValidUpdate";
  static inline const QString updaterDidNotFindUpdate = "updaterDidNotFindUpdate";

  Updater();
  ~Updater();
  Updater(const Updater&) = delete;
  Updater& operator=(const Updater&) = delete;

  // The delegate joins the framework on the first check, not before.
  void checkForUpdates();
  bool updateInProgress() const;

private:
  class Delegate final : public UpdaterDelegate {
  public:
    void didFindValidUpdate() override;
    void didNotFindUpdate() override;
  };

  Delegate delegate_;
};

} // namespace grellan
