#include "tutorial/Finished.hpp"

#include "platform/SoundPlayer.hpp"
#include "platform/UserDefaults.hpp"
#include "services/DefaultsKeys.hpp"
#include "services/GrellanKit_.hpp"
#include "views/Link.hpp"

#include <QVBoxLayout>

namespace grellan {

Tutorial::Finished::Finished(Binding<int> tutorialStep, std::function<void()> finish, QWidget* parent)
    : Page(std::move(tutorialStep), parent), usage_(text(usage(GrellanKit_::storedVimKey()), true, Qt::RichText)) {
  SoundPlayer::shared().play("Hero");
  observations_.push_back(
      UserDefaults::standard().observe(DefaultsKeys::vimKey, false, [this](const auto&) { refresh(); }));

  auto* layout = new QVBoxLayout(this);
  stack(*layout,
        {text(Tutorial::tr("Setup is finished"), true), usage_,
         lines({Tutorial::tr("The default mode is **insert** mode. In here, MacOS handles normally."),
                Tutorial::tr("**Normal mode** is used for navigating text."),
                Tutorial::tr("Press **v** in normal mode, to enter **visual mode**. Visual mode is used for selecting "
                             "text")},
               6, Qt::MarkdownText),
         nullptr,
         text(Tutorial::tr("Not all Vim functionality is enabled, because Mac cursor is different from the Vim one."),
              false),
         nullptr,
         row({text(Tutorial::tr("See the"), false), makeLink(Tutorial::tr("OpenVim tutorial"), openVimTutorial()),
              text(Tutorial::tr("to learn how to use vim."), false)}),
         nullptr,
         buttonRow({button(Tutorial::tr("Finish"),
                           [this, finish = std::move(finish)] {
                             UserDefaults::standard().setValue(DefaultsKeys::tutorialPassed, true);
                             finish();
                             setStep(0);
                           }),
                    button(Tutorial::tr("Back"), [this] { step(-1); })})});
}

QString Tutorial::Finished::usage(const QString& vimKey) {
  return Tutorial::tr("Use %1 to switch between normal/insert modes.").arg("<b>" + vimKey.toHtmlEscaped() + "</b>");
}

QUrl Tutorial::Finished::openVimTutorial() { return QUrl("https://www.openvim.com/"); }

void Tutorial::Finished::refresh() { usage_->setText(usage(GrellanKit_::storedVimKey())); }

} // namespace grellan
