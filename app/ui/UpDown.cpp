#include "app/ui/UpDown.h"

#include <QToolButton>

#include <algorithm>

namespace ralvo {

namespace {

QToolButton *MakeArrow(Qt::ArrowType arrow, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoRepeat(true);
    button->setCursor(Qt::PointingHandCursor);
    button->setIconSize(QSize(7, 7));
    return button;
}

} // namespace

TUpDown::TUpDown(int minimum, int maximum, QWidget *parent)
    : QWidget(parent), m_minimum(minimum), m_maximum(maximum), m_position(std::clamp(0, minimum, maximum)),
      m_up(MakeArrow(Qt::UpArrow, this)), m_down(MakeArrow(Qt::DownArrow, this))
{
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
    m_up->setObjectName(QStringLiteral("up"));
    m_down->setObjectName(QStringLiteral("down"));
    connect(m_up, &QToolButton::clicked, this, [this] { Step(+1); });
    connect(m_down, &QToolButton::clicked, this, [this] { Step(-1); });
}

void TUpDown::Step(int direction)
{
    const int next = m_position + direction;
    if (next < m_minimum || next > m_maximum)
        return;
    m_position = next;
    Q_EMIT Click(direction);
}

void TUpDown::SetAccessibleNames(const QString &value)
{
    using namespace Qt::StringLiterals;
    setAccessibleName(value + u"の増減"_s);
    m_up->setAccessibleName(value + u"を増やす"_s);
    m_down->setAccessibleName(value + u"を減らす"_s);
}

void TUpDown::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int upper = height() / 2;
    m_up->setGeometry(0, 0, width(), upper);
    m_down->setGeometry(0, upper, width(), height() - upper);
}

} // namespace ralvo
