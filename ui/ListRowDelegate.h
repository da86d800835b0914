// The rows of the lists that grow one entry at a time: "Link:", the text
// lines and "Bild:".
#pragma once

#include <QCache>
#include <QPixmap>
#include <QStyledItemDelegate>

namespace velmora::ui {

/// Paints a row from a picture of it that the standard delegate drew once.
/// Every append lays the list out anew and repaints all its visible rows;
/// copying pictures spares laying out and drawing the text of each row again,
/// which costs most of an add.
class ListRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    /// Everything a row's look depends on in these lists.
    struct Key {
        QString text;
        int state;
        QSize size;
        qint64 palette;
        qreal pixelRatio;

        friend bool operator==(const Key&, const Key&) = default;
    };

private:
    // A few lists full of rows in each of their looks; a row that comes back
    // after that is drawn anew.
    mutable QCache<Key, QPixmap> pictures_{64};
};

size_t qHash(const ListRowDelegate::Key& key, size_t seed = 0) noexcept;

}  // namespace velmora::ui
