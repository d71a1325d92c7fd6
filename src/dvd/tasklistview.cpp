#include "dvd/tasklistview.h"

#include "dvd/tasktree.h"

#include <QApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QToolTip>

namespace {

// Paints the header background from a tile: copies placed left to right and top to bottom
// from (1, 0); text and sort marks are drawn as usual on top.
class TiledHeader : public QHeaderView {
public:
    TiledHeader(const QPixmap& tile, QWidget* parent)
        : QHeaderView(Qt::Horizontal, parent), m_tile(tile), m_ink(inkFor(tile)) {
        setSectionsClickable(false);
        setHighlightSections(false);
        setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QHeaderView::paintEvent(event);
        // The area beyond the last column gets the same background.
        const int end = length() - offset();
        if (end < viewport()->width()) {
            QPainter p(viewport());
            paintTiles(p, QRect(end, 0, viewport()->width() - end, viewport()->height()));
        }
    }

    void paintSection(QPainter* painter, const QRect& rect, int section) const override {
        paintTiles(*painter, rect);
        painter->save();
        painter->setPen(palette().color(QPalette::Mid));
        painter->drawLine(rect.topRight(), rect.bottomRight());
        painter->drawLine(rect.bottomLeft(), rect.bottomRight());
        painter->setPen(m_ink.isValid() ? m_ink : palette().color(QPalette::ButtonText));
        painter->drawText(rect.adjusted(4, 0, -4, 0), Qt::AlignLeft | Qt::AlignVCenter,
                          model() ? model()->headerData(section, orientation()).toString()
                                  : QString());
        painter->restore();
    }

private:
    // The tile is the program's own picture, whatever the palette: its text is dark on a light
    // tile and light on a dark one.
    static QColor inkFor(const QPixmap& tile) {
        if (tile.isNull())
            return {};
        const QColor average = tile.toImage()
                                   .scaled(1, 1, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                   .pixelColor(0, 0);
        return average.lightness() > 128 ? QColor(Qt::black) : QColor(Qt::white);
    }

    void paintTiles(QPainter& p, const QRect& rect) const {
        if (m_tile.isNull())
            return;
        QPixmap cell(rect.size());
        cell.fill(palette().color(QPalette::Button));
        QPainter cp(&cell);
        for (int y = 0; y < rect.height(); y += m_tile.height())
            for (int x = 1; x < rect.width(); x += m_tile.width())
                cp.drawPixmap(x, y, m_tile);
        cp.end();
        p.drawPixmap(rect.topLeft(), cell);
    }

    QPixmap m_tile;
    QColor m_ink;
};

// Draws the grid lines around each cell.
class GridDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        painter->save();
        if (index.data(Qt::CheckStateRole).isValid()) {
            // The style's own box outline all but vanishes on a dark palette: the box is framed
            // in the text's colour, half strength.
            QStyleOptionViewItem item = option;
            initStyleOption(&item, index);
            const QWidget* view = option.widget;
            const QRect box =
                (view ? view->style() : QApplication::style())
                    ->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &item, view);
            QColor frame = option.palette.color(QPalette::Text);
            frame.setAlpha(128);
            painter->setPen(frame);
            painter->setBrush(Qt::NoBrush);
            painter->drawRect(box.adjusted(1, 1, -2, -2));
        }
        painter->setPen(option.palette.color(QPalette::Midlight));
        painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
        painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(20);
        return size;
    }
};

} // namespace

TTaskListView::TTaskListView(const QPixmap& headerTile, QWidget* parent) : QTreeView(parent) {
    setHeader(new TiledHeader(headerTile, this));
    setItemDelegate(new GridDelegate(this));
    setUniformRowHeights(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setRootIsDecorated(true);
    setExpandsOnDoubleClick(false); // the double click handler expands titles itself
    setAllColumnsShowFocus(true);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(QHeaderView::Interactive);
}

bool TTaskListView::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        // Only a cell whose text is cut off explains itself.
        auto* help = static_cast<QHelpEvent*>(event);
        const QModelIndex index = indexAt(help->pos());
        const QString text = index.data(Qt::DisplayRole).toString();
        const QRect cell = visualRect(index);
        const int needed = fontMetrics().horizontalAdvance(text) +
                           (index.column() == TTaskTree::TitleColumn ? 48 : 8);
        if (index.isValid() && !text.isEmpty() && needed > cell.width())
            QToolTip::showText(help->globalPos(), text, this, cell);
        else
            QToolTip::hideText();
        return true;
    }
    return QTreeView::viewportEvent(event);
}
