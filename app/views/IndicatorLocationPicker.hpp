#pragma once

#include "views/Binding.hpp"

#include <QGroupBox>
#include <QtGlobal>

class QButtonGroup;

namespace grellan {

// The radio group of the six indicator locations, from top left to bottom right, each labelled with
// its case name in words. The chosen raw value lives with the caller.
class IndicatorLocationPicker final : public QGroupBox {
  Q_OBJECT

public:
  static constexpr qint64 defaultLocation = 1;

  IndicatorLocationPicker(const QString& title, Binding<qint64> location, QWidget* parent = nullptr);

  // The user-defaults key "indicatorLocation", read as `defaultLocation` while absent.
  static Binding<qint64> storedLocation();

  // One radio button per location; the id is the raw value.
  QButtonGroup* group() const { return group_; }
  // Shows the caller's value again; a number that names no location leaves every option unchosen.
  void refresh();

private:
  Binding<qint64> location_;
  QButtonGroup* group_;
};

} // namespace grellan
