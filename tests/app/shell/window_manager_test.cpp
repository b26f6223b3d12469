#include "shell/AppDelegate.hpp"
#include "shell/AppMenu.hpp"
#include "shell/MenuItems.hpp"

#include "indicator/IndicatorImageView.hpp"
#include "platform/NotificationCenter.hpp"
#include "services/DefaultsKeys.hpp"
#include "support/app/platform/indicator_fixture.hpp"
#include "tutorial/Tutorial.hpp"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>

namespace {

using grellan::AppDelegate;
namespace DefaultsKeys = grellan::DefaultsKeys;

QStringList titles(const QMenu& menu) {
  QStringList result;
  for (const QAction* action : menu.actions()) {
    if (!action->isSeparator()) {
      result.append(action->text());
    }
  }
  return result;
}

QAction* action(const QMenu& menu, const QString& title) {
  for (QAction* candidate : menu.actions()) {
    if (candidate->text() == title) {
      return candidate;
    }
  }
  return nullptr;
}

// The windows made on request that hold content, with their titles.
const struct {
  void (grellan::WindowManager::*show)();
  QWidget* (grellan::WindowManager::*field)() const;
  const char* title;
} contentWindows[] = {
    {&grellan::WindowManager::showAboutWindow, &grellan::WindowManager::aboutWindow, "About"},
    {&grellan::WindowManager::showActiveModificationsView, &grellan::WindowManager::activeModificationsWindow,
     "Active modifications"},
    {&grellan::WindowManager::showTutorialWindow, &grellan::WindowManager::tutorialWindow, "grellan setup"},
};

// Quits when `quit` runs inside the event loop; a quit that does not come ends the loop with 1.
int exitCodeOf(const std::function<void()>& quit) {
  QTimer::singleShot(0, quit);
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
  guard.start(30000);
  return QApplication::exec();
}

class WindowManagerTest : public grellan_test::IndicatorFixture {
protected:
  ~WindowManagerTest() override {
    delegate_.reset();
    std::filesystem::remove_all(std::filesystem::path(std::getenv("XDG_CONFIG_HOME")) / "hobbard");
  }

  grellan::WindowManager& windowManager() { return delegate_->windowManager(); }

  std::ostringstream output_;
  std::unique_ptr<AppDelegate> delegate_ = std::make_unique<AppDelegate>(output_);
};

TEST_F(WindowManagerTest, each_content_window_is_made_once_and_brought_forward_on_every_request) {
  for (const auto& entry : contentWindows) {
    SCOPED_TRACE(entry.title);
    EXPECT_EQ((windowManager().*entry.field)(), nullptr);
    (windowManager().*entry.show)();
    QWidget* first = (windowManager().*entry.field)();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->windowTitle(), entry.title);

    // Closed by the user, the window is kept and comes back as it was.
    first->close();
    EXPECT_FALSE(first->isVisible());
    (windowManager().*entry.show)();
    EXPECT_EQ((windowManager().*entry.field)(), first);
    EXPECT_TRUE(first->isVisible());
  }
  EXPECT_TRUE(windowManager().aboutWindow()->windowFlags().testFlag(Qt::WindowCloseButtonHint));
}

TEST_F(WindowManagerTest, a_minimised_window_comes_back_restored_on_its_next_request) {
  // `request` asks for the window and answers it.
  const auto expectRestored = [](const char* title, const std::function<QWidget*()>& request) {
    SCOPED_TRACE(title);
    QWidget* window = request();
    ASSERT_NE(window, nullptr);
    window->showMinimized();
    ASSERT_TRUE(window->isMinimized());
    EXPECT_EQ(request(), window);
    EXPECT_FALSE(window->isMinimized());
    EXPECT_TRUE(window->isVisible());
  };
  for (const auto& entry : contentWindows) {
    expectRestored(entry.title, [this, &entry] {
      (windowManager().*entry.show)();
      return (windowManager().*entry.field)();
    });
  }
  expectRestored("Settings", [this]() -> QWidget* {
    windowManager().showSettings();
    return windowManager().settingsWindow();
  });
}

TEST_F(WindowManagerTest, closing_a_tutorial_window_that_does_not_exist_does_nothing) {
  windowManager().closeTutorialWindow();
  EXPECT_EQ(windowManager().tutorialWindow(), nullptr);

  windowManager().showTutorialWindow();
  windowManager().closeTutorialWindow();
  ASSERT_NE(windowManager().tutorialWindow(), nullptr);
  EXPECT_FALSE(windowManager().tutorialWindow()->isVisible());
}

TEST_F(WindowManagerTest, show_hide_forgets_the_indicator_with_its_timer_and_observations_and_makes_a_new_one) {
  auto& center = grellan::NotificationCenter::defaultCenter();
  const auto changeIndicatorBefore = center.observerCount("changeIndicator");
  const auto locationBefore = defaults().observerCount(DefaultsKeys::indicatorLocation);

  windowManager().showIndicatorWindow();
  ASSERT_NE(windowManager().indicatorWindow(), nullptr);
  const auto changeIndicatorShown = center.observerCount("changeIndicator");
  const auto locationShown = defaults().observerCount(DefaultsKeys::indicatorLocation);
  EXPECT_GT(changeIndicatorShown, changeIndicatorBefore);
  QPointer<grellan::IndicatorImageView> oldView = windowManager().indicatorWindow()->imageView();
  ASSERT_TRUE(oldView);
  EXPECT_TRUE(oldView->refreshTimer().isActive());

  windowManager().showHideIndicatorWindow();
  EXPECT_EQ(windowManager().indicatorWindow(), nullptr);
  EXPECT_FALSE(oldView);
  EXPECT_EQ(center.observerCount("changeIndicator"), changeIndicatorBefore);
  EXPECT_EQ(defaults().observerCount(DefaultsKeys::indicatorLocation), locationBefore);

  windowManager().showHideIndicatorWindow();
  ASSERT_NE(windowManager().indicatorWindow(), nullptr);
  EXPECT_TRUE(windowManager().indicatorWindow()->isVisible());
  EXPECT_EQ(center.observerCount("changeIndicator"), changeIndicatorShown);
  EXPECT_EQ(defaults().observerCount(DefaultsKeys::indicatorLocation), locationShown);
}

TEST_F(WindowManagerTest, the_tray_menu_title_follows_the_first_launch_sequence) {
  delegate_->applicationDidFinishLaunching();
  ASSERT_EQ(windowManager().indicatorWindow(), nullptr);
  grellan::AppMenu menu;
  EXPECT_EQ(titles(menu), (QStringList{"Settings", "Hide indicator", "About", "Quit"}));

  const struct {
    bool indicatorShown;
    const char* title;
  } steps[] = {{true, "Hide indicator"}, {false, "Show indicator"}, {true, "Hide indicator"}};
  for (const auto& step : steps) {
    menu.toggleIndicatorAction()->trigger();
    EXPECT_EQ(windowManager().indicatorWindow() != nullptr, step.indicatorShown);
    EXPECT_EQ(menu.toggleIndicatorTitle(), step.title);
  }

  menu.aboutAction()->trigger();
  ASSERT_NE(windowManager().aboutWindow(), nullptr);
  EXPECT_TRUE(windowManager().aboutWindow()->isVisible());
}

TEST_F(WindowManagerTest, about_and_quit_act_alike_in_the_tray_menu_and_the_main_menu) {
  grellan::AppMenu trayMenu;
  QMenuBar menuBar;
  const grellan::MenuItems items;
  items.addTo(menuBar);
  const struct {
    const char* name;
    QMenu* menu;
  } menus[] = {{"tray", &trayMenu}, {"main", menuBar.actions().front()->menu()}};
  for (const auto& entry : menus) {
    SCOPED_TRACE(entry.name);
    QAction* about = action(*entry.menu, "About");
    ASSERT_NE(about, nullptr);
    about->trigger();
    ASSERT_NE(windowManager().aboutWindow(), nullptr);
    EXPECT_TRUE(windowManager().aboutWindow()->isVisible());
    windowManager().aboutWindow()->close();

    QAction* quit = action(*entry.menu, "Quit");
    ASSERT_NE(quit, nullptr);
    EXPECT_EQ(exitCodeOf([quit] { quit->trigger(); }), 0);
  }

  // Menus that outlive the application's delegate do nothing.
  delegate_.reset();
  ASSERT_EQ(grellan::appDelegate(), nullptr);
  for (const auto& entry : menus) {
    action(*entry.menu, "About")->trigger();
  }
}

TEST_F(WindowManagerTest, the_help_menu_offers_active_modifications_only_once_the_tutorial_is_passed) {
  const grellan::MenuItems items;
  EXPECT_EQ(titles(*items.helpMenu()), (QStringList{"Run tutorial"}));

  defaults().setValue(DefaultsKeys::tutorialPassed, true);
  EXPECT_EQ(titles(*items.helpMenu()), (QStringList{"Run tutorial", "Show active modifications"}));
  action(*items.helpMenu(), "Show active modifications")->trigger();
  ASSERT_NE(windowManager().activeModificationsWindow(), nullptr);
  EXPECT_TRUE(windowManager().activeModificationsWindow()->isVisible());

  defaults().setValue(DefaultsKeys::tutorialPassed, false);
  EXPECT_EQ(titles(*items.helpMenu()), (QStringList{"Run tutorial"}));
  action(*items.helpMenu(), "Run tutorial")->trigger();
  EXPECT_NE(windowManager().tutorialWindow(), nullptr);
}

TEST_F(WindowManagerTest, main_menu_commands_have_their_shortcuts_and_edit_commands_reach_the_focused_field) {
  QMenuBar menuBar;
  const grellan::MenuItems items;
  items.addTo(menuBar);
  QHash<QString, QKeySequence> shortcuts;
  for (const QAction* menuAction : menuBar.actions()) {
    for (const QAction* item : menuAction->menu()->actions()) {
      shortcuts.insert(item->text(), item->shortcut());
    }
  }
  const QHash<QString, QKeySequence> expected{
      {"About", {}},
      {"Settings", QKeySequence(Qt::CTRL | Qt::Key_Comma)},
      {"Quit", QKeySequence(Qt::CTRL | Qt::Key_Q)},
      {"Close", QKeySequence(Qt::CTRL | Qt::Key_W)},
      {"Copy", QKeySequence(Qt::CTRL | Qt::Key_C)},
      {"Paste", QKeySequence(Qt::CTRL | Qt::Key_V)},
      {"Cut", QKeySequence(Qt::CTRL | Qt::Key_X)},
      {"Select All", QKeySequence(Qt::CTRL | Qt::Key_A)},
      {"Run tutorial", {}},
  };
  EXPECT_EQ(shortcuts, expected);

  // Nothing focused: the commands go nowhere and nothing breaks.
  grellan::MenuItems::send("copy");

  QWidget window;
  auto* field = new QLineEdit("modal", &window);
  window.show();
  QApplication::setActiveWindow(&window);
  field->setFocus();
  ASSERT_EQ(QApplication::focusWidget(), field);
  grellan::MenuItems::send("selectAll");
  grellan::MenuItems::send("cut");
  EXPECT_EQ(field->text(), "");
  grellan::MenuItems::send("paste");
  grellan::MenuItems::send("paste");
  EXPECT_EQ(field->text(), "modalmodal");

  QAction* close = action(*menuBar.actions().at(1)->menu(), "Close");
  ASSERT_NE(close, nullptr);
  close->trigger();
  EXPECT_FALSE(window.isVisible());
  ASSERT_EQ(QApplication::activeWindow(), nullptr);
  close->trigger();
}

TEST_F(WindowManagerTest, the_main_menu_sits_on_settings_and_its_shortcuts_work_in_every_window) {
  const auto press = [](QWidget& window, QKeyCombination keys) {
    QApplication::setActiveWindow(&window);
    QTest::keyClick(&window, keys.key(), keys.keyboardModifiers());
  };
  for (const auto& entry : contentWindows) {
    SCOPED_TRACE(entry.title);
    (windowManager().*entry.show)();
    QWidget& window = *(windowManager().*entry.field)();
    press(window, Qt::CTRL | Qt::Key_Comma);
    ASSERT_NE(windowManager().settingsWindow(), nullptr);
    EXPECT_TRUE(windowManager().settingsWindow()->isVisible());
    windowManager().settingsWindow()->close();

    press(window, Qt::CTRL | Qt::Key_W);
    EXPECT_FALSE(window.isVisible());
  }

  // Settings carries the main menu, whose help menu brings back the tutorial closed half-way.
  windowManager().showSettings();
  grellan::SettingsWindow& settings = *windowManager().settingsWindow();
  QStringList menus;
  for (const QAction* menu : settings.menuBar()->actions()) {
    menus.append(menu->text());
  }
  EXPECT_EQ(menus, (QStringList{"grellan", "File", "Edit", "Help"}));
  auto& tutorial = static_cast<grellan::Tutorial&>(*windowManager().tutorialWindow());
  tutorial.setTutorialStep(2);
  tutorial.close();
  action(*settings.menuBar()->actions().back()->menu(), "Run tutorial")->trigger();
  EXPECT_TRUE(tutorial.isVisible());
  EXPECT_EQ(tutorial.tutorialStep(), 2);

  press(settings, Qt::CTRL | Qt::Key_W);
  EXPECT_FALSE(settings.isVisible());
  EXPECT_EQ(exitCodeOf([&] { press(tutorial, Qt::CTRL | Qt::Key_Q); }), 0);
}

} // namespace
