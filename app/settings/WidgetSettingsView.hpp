#pragma once

#include "platform/ObservationToken.hpp"

#include <QComboBox>
#include <QWidget>

#include <vector>

namespace grellan {

class ApplicationList;

// A pop-up of texts bound to a string user-defaults key: choosing an entry stores its text, and a
// stored text that is no entry shows no selection.
class MyPicker final : public QComboBox {
  Q_OBJECT

public:
  MyPicker(const QString& key, const QStringList& options, QWidget* parent = nullptr);

private:
  ObservationToken observation_;
};

// The "Widgets" tab: the widgets above and below the indicator, and the Electron applications whose
// selected text the indicator observes.
class WidgetSettingsView final : public QWidget {
  Q_OBJECT

public:
  // Where the "Info" link leads.
  static inline const QString electronAccessibilityUrl =
      "https://www.electronjs.org/docs/latest/tutorial/accessibility";

  explicit WidgetSettingsView(QWidget* parent = nullptr);

  MyPicker* topPicker() const { return topPicker_; }
  MyPicker* bottomPicker() const { return bottomPicker_; }
  ApplicationList* electronApps() const { return electronApps_; }

private:
  MyPicker* topPicker_ = nullptr;
  MyPicker* bottomPicker_ = nullptr;
  ApplicationList* electronApps_;
};

} // namespace grellan
