#pragma once

#include <QStringList>
#include <QWidget>

#include <functional>

class QListWidget;

namespace grellan {

class GrellanKit_;

// The read-only list of the Vim modifications the engine has enabled. The names are asked of the
// engine every time the window is shown, never cached.
class ActiveModifications final : public QWidget {
  Q_OBJECT

public:
  using Names = std::function<QStringList()>;

  explicit ActiveModifications(GrellanKit_& kit, QWidget* parent = nullptr);
  // The names come from `names` instead of the engine.
  explicit ActiveModifications(Names names, QWidget* parent = nullptr);

  QStringList shownNames() const;
  // Asks the engine again.
  void reload();

protected:
  void showEvent(QShowEvent* event) override;

private:
  Names names_;
  QListWidget* list_;
};

} // namespace grellan
