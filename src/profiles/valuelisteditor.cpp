#include "profiles/valuelisteditor.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

// What a value cell carries besides its text.
enum Role { PickListRole = Qt::UserRole, HasPickListRole, ReadOnlyRole };

// Draws the cells in the grid's own way and gives list rows a drop-down editor.
class ValueCellDelegate : public QStyledItemDelegate {
public:
    explicit ValueCellDelegate(TValueListEditor* grid) : QStyledItemDelegate(grid), m_grid(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const QPalette& pal = option.palette;
        const bool isKey = index.column() == 0;
        const bool currentRow = m_grid->currentIndex().row() == index.row();
        QColor background = pal.color(isKey ? QPalette::Button : QPalette::Base);
        QColor text = pal.color(isKey ? QPalette::ButtonText : QPalette::Text);
        if (!isKey && m_grid->parameter(index.row()).greyed())
            text = TValueListEditor::greyedTextColor();
        if (isKey && currentRow) {
            background = m_grid->hasInputFocus() ? TValueListEditor::focusedKeyColor()
                                                 : pal.color(QPalette::Base);
            text = pal.color(QPalette::Text);
        }
        painter->save();
        painter->fillRect(option.rect, background);
        painter->setPen(text);
        painter->setFont(option.font);
        const QRect textRect = option.rect.adjusted(2, 0, -2, 0);
        const QString shown = option.fontMetrics.elidedText(index.data().toString(), Qt::ElideRight,
                                                            textRect.width());
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
        painter->restore();
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        if (!index.data(HasPickListRole).toBool())
            return QStyledItemDelegate::createEditor(parent, option, index);
        auto* list = new QComboBox(parent);
        list->setEditable(false); // chosen, never typed
        list->setMaxVisibleItems(TValueListEditor::DropDownRows);
        // Some styles open the list over the whole screen and ignore the visible-entry limit.
        list->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
        list->addItems(index.data(PickListRole).toStringList());
        auto* self = const_cast<ValueCellDelegate*>(this);
        connect(list, &QComboBox::activated, self, [self, list] {
            emit self->commitData(list);
            emit self->closeEditor(list);
        });
        return list;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        if (auto* list = qobject_cast<QComboBox*>(editor)) {
            const QStringList entries = index.data(PickListRole).toStringList();
            list->setCurrentIndex(int(CaptionIndex(entries, index.data().toString())));
            return;
        }
        QStyledItemDelegate::setEditorData(editor, index);
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        if (auto* list = qobject_cast<QComboBox*>(editor)) {
            if (list->currentIndex() >= 0)
                model->setData(index, list->currentText());
            return;
        }
        QStyledItemDelegate::setModelData(editor, model, index);
    }

private:
    TValueListEditor* m_grid;
};

} // namespace

TValueListEditor::TValueListEditor(int keyWidth, int valueWidth, QWidget* parent)
    : QTableWidget(0, 2, parent) {
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(RowPitch);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->resizeSection(0, keyWidth);
    horizontalHeader()->resizeSection(1, valueWidth);
    setFrameShape(QFrame::NoFrame);
    setShowGrid(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                    QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    setTabKeyNavigation(false); // Tab leaves the grid, as in any dialog
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setItemDelegate(new ValueCellDelegate(this));
    viewport()->setMouseTracking(true); // the cursor shows where a column border can be dragged
}

void TValueListEditor::setKeys(const QStringList& keys) {
    clearRows();
    for (const QString& key : keys) {
        ProfileParameter row;
        row.key = key;
        appendParameter(row);
    }
    fitHeightToRows();
}

void TValueListEditor::clearRows() {
    for (int row = rowCount() - 1; row >= 0; --row)
        removeRow(row);
}

void TValueListEditor::appendParameter(const ProfileParameter& p) {
    const int row = rowCount();
    insertRow(row);
    auto* key = new QTableWidgetItem(p.key);
    key->setFlags(Qt::ItemIsEnabled);
    setItem(row, 0, key);
    auto* value = new QTableWidgetItem(p.value);
    value->setData(PickListRole, p.pickList);
    value->setData(HasPickListRole, p.hasPickList);
    value->setData(ReadOnlyRole, p.readOnly);
    value->setFlags(p.greyed() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable
                               : Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
    setItem(row, 1, value);
    if (row == 0) // like any grid, the first row is current until the user moves
        selectionModel()->setCurrentIndex(model()->index(0, 1), QItemSelectionModel::NoUpdate);
}

ProfileParameter TValueListEditor::parameter(int row) const {
    ProfileParameter p;
    if (row < 0 || row >= rowCount())
        return p;
    p.key = item(row, 0)->text();
    const QTableWidgetItem* value = item(row, 1);
    p.value = value->text();
    p.pickList = value->data(PickListRole).toStringList();
    p.hasPickList = value->data(HasPickListRole).toBool();
    p.readOnly = value->data(ReadOnlyRole).toBool();
    return p;
}

void TValueListEditor::setValue(int row, const QString& value) {
    if (QTableWidgetItem* cell = item(row, 1))
        cell->setText(value);
}

int TValueListEditor::findRow(const QString& key) const {
    for (int row = 0; row < rowCount(); ++row)
        if (item(row, 0)->text().compare(key, Qt::CaseInsensitive) == 0)
            return row;
    return -1;
}

void TValueListEditor::fitHeightToRows() {
    setFixedHeight(rowCount() * RowPitch);
}

void TValueListEditor::stepPickList(int row) {
    const ProfileParameter p = parameter(row);
    if (!p.hasPickList || p.pickList.isEmpty())
        return;
    const qsizetype at = CaptionIndex(p.pickList, p.value);
    setValue(row, p.pickList[(at + 1) % p.pickList.size()]);
}

bool TValueListEditor::hasInputFocus() const {
    const QWidget* focus = QApplication::focusWidget();
    return focus && (focus == this || isAncestorOf(focus));
}

bool TValueListEditor::onColumnBorder(int x) const {
    return rowCount() > 0 && qAbs(x - columnViewportPosition(1)) <= BorderGrip;
}

void TValueListEditor::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    const QModelIndex index = indexAt(pos);
    if (event->button() == Qt::LeftButton && onColumnBorder(pos.x())) {
        m_resizingColumns = true;
    } else if (index.isValid() && index.column() == 0) {
        // The key column is fixed: a click there only moves to the row.
        setFocus(Qt::MouseFocusReason);
        setCurrentCell(index.row(), 1, QItemSelectionModel::ClearAndSelect);
    } else {
        QTableWidget::mousePressEvent(event);
    }
    emit mousePressed();
}

void TValueListEditor::mouseMoveEvent(QMouseEvent* event) {
    const int x = event->position().toPoint().x();
    if (m_resizingColumns) {
        setColumnWidth(0, x);
        fitColumnsToWidth();
        return;
    }
    if (onColumnBorder(x))
        viewport()->setCursor(Qt::SplitHCursor);
    else
        viewport()->unsetCursor();
    QTableWidget::mouseMoveEvent(event);
}

void TValueListEditor::mouseReleaseEvent(QMouseEvent* event) {
    if (m_resizingColumns) {
        m_resizingColumns = false;
        return;
    }
    QTableWidget::mouseReleaseEvent(event);
}

void TValueListEditor::mouseDoubleClickEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index.isValid() && index.column() == 1 &&
        parameter(index.row()).hasPickList) {
        stepPickList(index.row());
    } else if (!index.isValid() || index.column() == 1) {
        QTableWidget::mouseDoubleClickEvent(event);
    }
    emit mousePressed();
}

void TValueListEditor::resizeEvent(QResizeEvent* event) {
    QTableWidget::resizeEvent(event);
    fitColumnsToWidth();
}

void TValueListEditor::fitColumnsToWidth() {
    const int width = viewport()->width();
    if (width <= 0)
        return;
    setColumnWidth(
        0, qBound(2 * BorderGrip, columnWidth(0), qMax(2 * BorderGrip, width - 2 * BorderGrip)));
    setColumnWidth(1, qMax(1, width - columnWidth(0)));
}

void TValueListEditor::focusInEvent(QFocusEvent* event) {
    QTableWidget::focusInEvent(event);
    viewport()->update(); // the current key cell turns blue
}

void TValueListEditor::focusOutEvent(QFocusEvent* event) {
    QTableWidget::focusOutEvent(event);
    viewport()->update();
}

QModelIndex TValueListEditor::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    const QModelIndex next = QTableWidget::moveCursor(action, modifiers);
    return next.isValid() && next.column() == 0 ? next.siblingAtColumn(1) : next;
}
