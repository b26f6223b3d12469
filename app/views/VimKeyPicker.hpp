#pragma once

#include <QComboBox>
#include <QStringList>

#include <functional>

namespace grellan {

// The pop-up of the key names the engine offers as the Vim mode key. The chosen name lives with the
// caller: the picker reads it through `vimKey` and writes a picked name through `setVimKey`.
class VimKeyPicker final : public QComboBox {
  Q_OBJECT

public:
  using KeyNames = std::function<QStringList()>;

  VimKeyPicker(std::function<QString()> vimKey, std::function<void(const QString&)> setVimKey,
               KeyNames keyNames = defaultKeyNames(), QWidget* parent = nullptr);

  static KeyNames defaultKeyNames();

  // Asks the engine for its names again and shows the caller's key among them.
  void reload();

protected:
  void showPopup() override;

private:
  std::function<QString()> vimKey_;
  std::function<void(const QString&)> setVimKey_;
  KeyNames keyNames_;
};

} // namespace grellan
