#pragma once

#include <QPixmap>
#include <QTreeView>

// The task list's look: 20-pixel rows, grid lines, a header painted with a tiled picture, and
// tooltips only on cells whose text is cut off.
class TTaskListView : public QTreeView {
    Q_OBJECT
public:
    TTaskListView(const QPixmap& headerTile, QWidget* parent = nullptr);

protected:
    bool viewportEvent(QEvent* event) override;
};
