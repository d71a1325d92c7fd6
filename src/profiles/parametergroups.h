#pragma once

#include "profiles/profilefile.h"
#include "profiles/valuelisteditor.h"

#include <QStringList>
#include <QWidget>

#include <optional>

class QToolButton;

// The stacked Video, Audio and Advanced groups of one window: a header bar with its button over
// each grid, in a column that a scrolling area holds.
class TParameterGroups : public QWidget {
    Q_OBJECT
public:
    // What the 12 × 12 header buttons do: nothing on the main window; in the settings dialog
    // "-" collapses the grid below it and "+" expands it again.
    enum class HeaderButtons { Inert, Collapse };

    // The main window's grids have columns of 95 and 92 pixels, the settings dialog's 160 and 200.
    TParameterGroups(int keyWidth, int valueWidth, HeaderButtons buttons = HeaderButtons::Inert,
                     QWidget* parent = nullptr);

    QToolButton* btnVideo = nullptr;
    QToolButton* btnAudio = nullptr;
    QToolButton* btnAdvanced = nullptr;
    TValueListEditor* vleVideo = nullptr;
    TValueListEditor* vleAudio = nullptr;
    TValueListEditor* vleAdvanced = nullptr;

    static const QStringList InitialVideoKeys;
    static const QStringList InitialAudioKeys;
    static const QStringList InitialAdvancedKeys;
    static constexpr int HeaderHeight = 18;
    static constexpr int ButtonSize = 12;

    TValueListEditor* grid(ParameterGroup group) const;
    QToolButton* headerButton(ParameterGroup group) const;

    // Replaces every row with the profile's and sizes each grid to its rows.
    void showProfile(const ProfileRows& rows);

    // The text a row shows, found by its grid and key; nothing when there is no such row.
    std::optional<QString> shownText(ParameterGroup group, const QString& key) const;
    std::optional<ProfileParameter> parameter(ParameterGroup group, const QString& key) const;
    // parameter() as a lookup for saving a profile.
    ParameterLookup lookup() const;

    // A click on a header button: "-" collapses its grid to 1 pixel, "+" gives it its rows again
    // and one pixel more than a load does.
    void headerButtonClick(ParameterGroup group);

private:
    QWidget* headerBar(const QString& caption, QToolButton*& button);
    void repaintGrids();

    HeaderButtons m_buttons;
};
