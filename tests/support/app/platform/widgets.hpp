#pragma once

#include <QComboBox>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QWidget>

namespace grellan_test {

// Picks the entry showing `text` in the pop-up the way a user does: opens it and clicks the entry.
void pick(QComboBox& picker, const QString& text);

// The texts of the buttons and of the labels a user sees under `root`, in their order.
QStringList buttons(const QWidget& root);
QStringList texts(const QWidget& root);
// Whether a widget named `name` under `root` is seen.
bool showsImage(const QWidget& root, const QString& name);
// Clicks the seen button with this title; a failure of the test when there is none.
void click(QWidget& root, const QString& title);
// Activates the seen link with this title and returns the address it opened; empty when none opened.
QUrl follow(QWidget& root, const QString& title);

} // namespace grellan_test
