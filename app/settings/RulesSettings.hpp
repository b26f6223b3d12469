#pragma once

#include <QWidget>

class QPushButton;

namespace grellan {

class ApplicationList;
class GrellanKit_;

// The "Rules" tab: the applications in which the engine applies no Vim modifications. The engine's
// list is the truth: it is read each time the tab is shown and written whole after every change.
class RulesSettings final : public QWidget {
  Q_OBJECT

public:
  explicit RulesSettings(GrellanKit_& kit, QWidget* parent = nullptr);

  ApplicationList* ignoredApps() const { return ignoredApps_; }
  QPushButton* showActiveModificationsButton() const { return showActiveModificationsButton_; }

signals:
  // "Show active modifications" was pressed; whoever owns the windows shows them.
  void activeModificationsWanted();

protected:
  void showEvent(QShowEvent* event) override;

private:
  GrellanKit_& kit_;
  ApplicationList* ignoredApps_;
  QPushButton* showActiveModificationsButton_;
};

} // namespace grellan
