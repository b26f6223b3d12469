#include "tutorial/Tutorial.hpp"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace grellan {

Tutorial::Tutorial(GrellanKit_&, Hobbard&, QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  auto* welcome = new QLabel(tr("Welcome to grellan!"), this);
  QFont font = welcome->font();
  font.setPointSizeF(font.pointSizeF() * 1.6);
  font.setBold(true);
  welcome->setFont(font);
  layout->addWidget(welcome, 0, Qt::AlignHCenter);
  layout->addStretch();
  layout->addWidget(new QLabel(tr("Let's set up this mac."), this), 0, Qt::AlignHCenter);
  layout->addStretch();
  layout->addWidget(new QPushButton(tr("Continue"), this), 0, Qt::AlignHCenter);
  resize(500, 450);
}

} // namespace grellan
