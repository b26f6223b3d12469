#include "tutorial/ChooseVimKey.hpp"

#include "platform/UserDefaults.hpp"
#include "services/DefaultsKeys.hpp"
#include "services/GrellanKit_.hpp"
#include "services/LaunchAtLogin.hpp"
#include "views/VimKeyPicker.hpp"

#include <QVBoxLayout>

namespace grellan {

Tutorial::ChooseVimKey::ChooseVimKey(Binding<int> tutorialStep, GrellanKit_& kit, QWidget* parent)
    : Page(std::move(tutorialStep), parent),
      kit_(kit),
      picker_(
          new VimKeyPicker(&GrellanKit_::storedVimKey,
                           [](const QString& key) { UserDefaults::standard().setValue(DefaultsKeys::vimKey, key); })),
      launchAtLoginToggle_(new LaunchAtLogin::Toggle(Tutorial::tr("Launch grellan at login"))) {
  sendVimKey();
  observations_.push_back(UserDefaults::standard().observe(DefaultsKeys::vimKey, false, [this](const auto&) {
    // Writing the key it already holds is no change.
    if (GrellanKit_::storedVimKey() != sentVimKey_) {
      sendVimKey();
    }
    picker_->reload();
  }));

  QLabel* title = text(Tutorial::tr("Choose the vim mode key"), false);
  QFont bold = title->font();
  bold.setBold(true);
  title->setFont(bold);

  auto* layout = new QVBoxLayout(this);
  stack(*layout, {text(Tutorial::tr("Choose the Vim mode key"), true),
                  lines({Tutorial::tr("Normal mode can be activated by holding or pressing this key."),
                         Tutorial::tr("WARNING: Setting this key will disable its native funtionality.")},
                        5),
                  nullptr, title, picker_, nullptr, launchAtLoginToggle_, nullptr,
                  buttonRow({button(Tutorial::tr("Continue"), [this] { step(+1); }),
                             button(Tutorial::tr("Back"), [this] { step(-1); })})});
}

void Tutorial::ChooseVimKey::sendVimKey() {
  sentVimKey_ = GrellanKit_::storedVimKey();
  kit_.kit().setVimKeyVimKey(sentVimKey_);
}

} // namespace grellan
