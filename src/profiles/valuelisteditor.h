#pragma once

#include "profiles/profileformat.h"

#include <QColor>
#include <QStringList>
#include <QTableWidget>

// A two-column key/value grid of profile parameters. The key column is fixed: it is never
// edited and never becomes the current cell. The value column edits free text, offers a
// drop-down list for list rows, and leaves greyed rows alone. The current row is marked only in
// its key cell, blue while the grid has the focus; values are never highlighted.
class TValueListEditor : public QTableWidget {
    Q_OBJECT
public:
    static constexpr int RowPitch = 18;    // 17 pixels and a grid line
    static constexpr int DropDownRows = 8; // entries a drop-down list shows at a time
    static constexpr int BorderGrip = 3;   // pixels either side of the column border
    static QColor focusedKeyColor() { return {49, 106, 197}; }
    static QColor greyedTextColor() { return {192, 192, 192}; } // silver

    TValueListEditor(int keyWidth, int valueWidth, QWidget* parent = nullptr);

    // Rows with these keys and empty, editable values; the grid sized to them.
    void setKeys(const QStringList& keys);
    // Deletes every row, last row first.
    void clearRows();
    void appendParameter(const ProfileParameter& parameter);
    ProfileParameter parameter(int row) const;
    void setValue(int row, const QString& value);
    // The first row whose key equals `key`, letter case ignored; -1 when there is none.
    int findRow(const QString& key) const;
    // Height for every row: row count × 18.
    void fitHeightToRows();
    // A list row's value becomes the next entry of its list, the last one wrapping to the first.
    void stepPickList(int row);
    // The grid or its cell editor holds the input focus.
    bool hasInputFocus() const;

signals:
    // Any mouse button went down in the grid.
    void mousePressed();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

private:
    bool onColumnBorder(int x) const;
    // The value column takes the width the key column leaves.
    void fitColumnsToWidth();

    bool m_resizingColumns = false;
};
