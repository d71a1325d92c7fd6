#pragma once

#include <QStringList>
#include <QTableWidget>
#include <QWidget>

class QToolButton;

// A two-column key/value grid: the key column fixed, 18 pixels a row, no title row.
class TValueListEditor : public QTableWidget {
    Q_OBJECT
public:
    static constexpr int RowPitch = 18; // 17 pixels and a grid line

    TValueListEditor(int keyWidth, int valueWidth, QWidget* parent = nullptr);

    // Replaces the rows with these keys and empty values, and sizes the grid to them.
    void setKeys(const QStringList& keys);
};

// The stacked Video, Audio and Advanced groups: a header bar with its button over each grid.
class TParameterGroups : public QWidget {
    Q_OBJECT
public:
    // The main window's grids have columns of 95 and 92 pixels, the settings dialog's 160 and 200.
    TParameterGroups(int keyWidth, int valueWidth, QWidget* parent = nullptr);

    QToolButton* btnVideo = nullptr;
    QToolButton* btnAudio = nullptr;
    QToolButton* btnAdvanced = nullptr;
    TValueListEditor* vleVideo = nullptr;
    TValueListEditor* vleAudio = nullptr;
    TValueListEditor* vleAdvanced = nullptr;

    static const QStringList InitialVideoKeys;
    static const QStringList InitialAudioKeys;
    static const QStringList InitialAdvancedKeys;

private:
    QWidget* headerBar(const QString& caption, QToolButton*& button);
};
