#include "platform/qt/LazyIcon.h"

#include <QIconEngine>

#include <memory>
#include <optional>

namespace ralvo::platform {

namespace {

// The built icon, shared by the copies of the engine that QIcon detaches.
struct LazySource
{
    std::function<QIcon()> make;
    std::optional<QIcon> icon;

    const QIcon &Icon()
    {
        if (!icon)
            icon = make();
        return *icon;
    }
};

class LazyIconEngine final : public QIconEngine
{
public:
    explicit LazyIconEngine(std::shared_ptr<LazySource> source) : m_source(std::move(source)) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return Icon().pixmap(size, 1.0, mode, state);
    }
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        return Icon().pixmap(scale > 0 ? size / scale : size, scale, mode, state);
    }
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return Icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return Icon().availableSizes(mode, state);
    }
    QString iconName() override { return Icon().name(); }
    // Never null by contract, so that QWidget::setWindowIcon(), which asks,
    // does not build the icon.
    bool isNull() override { return false; }
    QString key() const override { return QStringLiteral("ralvo-lazy"); }
    QIconEngine *clone() const override { return new LazyIconEngine(m_source); }

private:
    const QIcon &Icon() { return m_source->Icon(); }

    std::shared_ptr<LazySource> m_source;
};

} // namespace

QIcon LazyIcon(std::function<QIcon()> make)
{
    auto source = std::make_shared<LazySource>();
    source->make = std::move(make);
    return QIcon(new LazyIconEngine(std::move(source)));
}

} // namespace ralvo::platform
