#include "platform/Workspace.hpp"

#include "platform/NotificationCenter.hpp"

#include <QDesktopServices>

#include <algorithm>

namespace grellan::Workspace {
namespace {

struct Model {
  std::optional<RunningApplication> frontmost;
  std::vector<RunningApplication> running;
};

Model& model() {
  static Model state;
  return state;
}

} // namespace

bool openUrl(const QUrl& url) { return QDesktopServices::openUrl(url); }

std::optional<RunningApplication> frontmostApplication() { return model().frontmost; }

std::vector<RunningApplication> runningApplications() { return model().running; }

void applicationDidActivate(const RunningApplication& application) {
  auto& state = model();
  state.frontmost = application;
  if (std::find(state.running.begin(), state.running.end(), application) == state.running.end()) {
    state.running.push_back(application);
  }
  NotificationCenter::defaultCenter().post(didActivateApplicationNotification, application.processIdentifier);
}

void reset() { model() = {}; }

} // namespace grellan::Workspace
