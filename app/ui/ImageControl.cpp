#include "app/ui/ImageControl.h"

#include <QAccessibleWidget>
#include <QMouseEvent>
#include <QPainter>

namespace ralvo {

namespace {

// A picture that is a command is a button to assistive technology, whose
// press action is a click; any other is a graphic.
class ImageAccessible final : public QAccessibleWidget
{
public:
    explicit ImageAccessible(TImage *image)
        : QAccessibleWidget(image, image->IsCommand() ? QAccessible::Button : QAccessible::Graphic)
    {}

    QStringList actionNames() const override
    {
        return Image()->IsCommand() ? QStringList{pressAction()} : QStringList{};
    }

    void doAction(const QString &actionName) override
    {
        if (actionName == pressAction() && Image()->IsCommand())
            Image()->Press();
    }

private:
    TImage *Image() const { return static_cast<TImage *>(widget()); }
};

QAccessibleInterface *ImageAccessibleFactory(const QString &, QObject *object)
{
    if (auto *image = qobject_cast<TImage *>(object))
        return new ImageAccessible(image);
    return nullptr;
}

} // namespace

TImage::TImage(QWidget *parent) : QWidget(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(ImageAccessibleFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

void TImage::Press()
{
    Q_EMIT MouseDown();
    Q_EMIT MouseUp();
    Q_EMIT Click();
}

void TImage::SetPicture(const QPixmap &picture)
{
    m_picture = picture;
    update();
}

QSize TImage::sizeHint() const { return m_picture.isNull() ? QSize(0, 0) : m_picture.deviceIndependentSize().toSize(); }

void TImage::paintEvent(QPaintEvent *)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.drawPixmap(QPoint(0, 0), m_picture);
}

void TImage::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_pressed = true;
    Q_EMIT MouseDown();
}

void TImage::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_pressed) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_pressed = false;
    Q_EMIT MouseUp();
    if (rect().contains(event->position().toPoint()))
        Q_EMIT Click();
}

} // namespace ralvo
