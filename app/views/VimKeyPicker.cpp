#include "views/VimKeyPicker.hpp"

#include "platform/engine/GRKGrellanKit.hpp"

namespace grellan {

VimKeyPicker::VimKeyPicker(std::function<QString()> vimKey, std::function<void(const QString&)> setVimKey,
                           KeyNames keyNames, QWidget* parent)
    : QComboBox(parent), vimKey_(std::move(vimKey)), setVimKey_(std::move(setVimKey)), keyNames_(std::move(keyNames)) {
  setMaximumWidth(200);
  setSizeAdjustPolicy(QComboBox::AdjustToContents);
  connect(this, &QComboBox::activated, this, [this](int index) { setVimKey_(itemText(index)); });
  reload();
}

VimKeyPicker::KeyNames VimKeyPicker::defaultKeyNames() {
  return [] { return GRKGrellanKitKt::modifierKeys(); };
}

void VimKeyPicker::reload() {
  const QSignalBlocker blocker(this);
  clear();
  addItems(keyNames_());
  // A stored name the engine does not list selects nothing; it stays stored until the user picks.
  setCurrentIndex(findText(vimKey_(), Qt::MatchExactly | Qt::MatchCaseSensitive));
}

void VimKeyPicker::showPopup() {
  reload();
  QComboBox::showPopup();
}

} // namespace grellan
