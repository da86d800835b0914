#include "ui/ListRowDelegate.h"

#include <QPainter>
#include <memory>

namespace velmora::ui {
namespace {

// The colours the view fills its background with for a row in this state.
QPalette::ColorGroup colourGroup(QStyle::State state) {
    if (!(state & QStyle::State_Enabled)) return QPalette::Disabled;
    return (state & QStyle::State_Active) ? QPalette::Active : QPalette::Inactive;
}

}  // namespace

size_t qHash(const ListRowDelegate::Key& key, size_t seed) noexcept {
    return qHashMulti(seed, key.text, key.state, key.size.width(), key.size.height(), key.palette,
                      key.pixelRatio);
}

void ListRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
    QStyleOptionViewItem row(option);
    initStyleOption(&row, index);
    const qreal ratio = painter->device()->devicePixelRatioF();
    Key key{row.text, static_cast<int>(row.state), row.rect.size(), row.palette.cacheKey(), ratio};
    if (const QPixmap* picture = pictures_.object(key)) {
        painter->drawPixmap(option.rect.topLeft(), *picture);
        return;
    }
    // Drawn on the list's own background, so that the text is smoothed
    // against the colour it will stand on.
    auto picture = std::make_unique<QPixmap>(option.rect.size() * ratio);
    picture->setDevicePixelRatio(ratio);
    picture->fill(row.palette.color(colourGroup(row.state), QPalette::Base));
    {
        QPainter onPicture(picture.get());
        QStyleOptionViewItem atOrigin(option);
        atOrigin.rect.moveTo(0, 0);
        QStyledItemDelegate::paint(&onPicture, atOrigin, index);
    }
    painter->drawPixmap(option.rect.topLeft(), *picture);
    pictures_.insert(key, picture.release());
}

}  // namespace velmora::ui
