#include "profiles/parametergroups.h"

#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

const QStringList TParameterGroups::InitialVideoKeys = {
    QStringLiteral("Video Codec"), QStringLiteral("Video Size"), QStringLiteral("Bit Rate"),
    QStringLiteral("Frame Rate"),  QStringLiteral("Aspect"),     QStringLiteral("Disable Video")};
const QStringList TParameterGroups::InitialAudioKeys = {
    QStringLiteral("Audio Codec"), QStringLiteral("Audio Bitrate"),
    QStringLiteral("Sample Rate"), QStringLiteral("Channels"),
    QStringLiteral("Volumn"),      QStringLiteral("Disable Audio")};
const QStringList TParameterGroups::InitialAdvancedKeys = {QStringLiteral("Bit Exact Algorithms"),
                                                           QStringLiteral("Deinterlace")};

namespace {
constexpr ParameterGroup AllGroups[] = {ParameterGroup::Video, ParameterGroup::Audio,
                                        ParameterGroup::Advanced};
}

TParameterGroups::TParameterGroups(int keyWidth, int valueWidth, HeaderButtons buttons,
                                   QWidget* parent)
    : QWidget(parent), m_buttons(buttons) {
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const auto group = [&](const QString& caption, QToolButton*& button, TValueListEditor*& grid,
                           const char* name, const QStringList& keys) {
        layout->addWidget(headerBar(caption, button));
        grid = new TValueListEditor(keyWidth, valueWidth, this);
        grid->setObjectName(QLatin1String(name));
        grid->setKeys(keys);
        layout->addWidget(grid);
        connect(grid, &TValueListEditor::mousePressed, this, &TParameterGroups::repaintGrids);
    };
    group(QStringLiteral("      Video"), btnVideo, vleVideo, "vleVideo", InitialVideoKeys);
    group(QStringLiteral("      Audio"), btnAudio, vleAudio, "vleAudio", InitialAudioKeys);
    group(QStringLiteral("      Advanced"), btnAdvanced, vleAdvanced, "vleAdvanced",
          InitialAdvancedKeys);
    btnVideo->setObjectName(QStringLiteral("btnVideo"));
    btnAudio->setObjectName(QStringLiteral("btnAudio"));
    btnAdvanced->setObjectName(QStringLiteral("btnAdvanced"));
    for (ParameterGroup g : AllGroups)
        connect(headerButton(g), &QToolButton::clicked, this, [this, g] { headerButtonClick(g); });
    layout->addStretch(1);
}

QWidget* TParameterGroups::headerBar(const QString& caption, QToolButton*& button) {
    auto* bar = new QLabel(caption, this);
    bar->setFixedHeight(HeaderHeight);
    bar->setAutoFillBackground(true);
    QPalette pal = bar->palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Mid)); // a shade of the button's colour
    pal.setColor(QPalette::WindowText, pal.color(QPalette::ButtonText));
    bar->setPalette(pal);
    QFont bold = bar->font();
    bold.setBold(true);
    bar->setFont(bold);
    bar->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    button = new QToolButton(bar);
    button->setText(QStringLiteral("-"));
    button->setGeometry(3, (HeaderHeight - ButtonSize) / 2, ButtonSize, ButtonSize);
    button->setFocusPolicy(Qt::NoFocus);
    return bar;
}

TValueListEditor* TParameterGroups::grid(ParameterGroup group) const {
    switch (group) {
    case ParameterGroup::Video:
        return vleVideo;
    case ParameterGroup::Audio:
        return vleAudio;
    case ParameterGroup::Advanced:
        break;
    }
    return vleAdvanced;
}

QToolButton* TParameterGroups::headerButton(ParameterGroup group) const {
    switch (group) {
    case ParameterGroup::Video:
        return btnVideo;
    case ParameterGroup::Audio:
        return btnAudio;
    case ParameterGroup::Advanced:
        break;
    }
    return btnAdvanced;
}

void TParameterGroups::showProfile(const ProfileRows& rows) {
    for (ParameterGroup g : AllGroups)
        grid(g)->clearRows();
    for (ParameterGroup g : AllGroups) {
        for (const ProfileParameter& p : rows.of(g))
            grid(g)->appendParameter(p);
        // Also after a failed load, so that no loaded row lies hidden below the grid's edge.
        grid(g)->fitHeightToRows();
    }
}

std::optional<ProfileParameter> TParameterGroups::parameter(ParameterGroup group,
                                                            const QString& key) const {
    const TValueListEditor* g = grid(group);
    const int row = g->findRow(key);
    if (row < 0)
        return std::nullopt;
    return g->parameter(row);
}

std::optional<QString> TParameterGroups::shownText(ParameterGroup group, const QString& key) const {
    if (const std::optional<ProfileParameter> p = parameter(group, key))
        return p->value;
    return std::nullopt;
}

ParameterLookup TParameterGroups::lookup() const {
    return [this](ParameterGroup group, const QString& key) { return parameter(group, key); };
}

void TParameterGroups::headerButtonClick(ParameterGroup group) {
    if (m_buttons != HeaderButtons::Collapse)
        return;
    QToolButton* button = headerButton(group);
    TValueListEditor* g = grid(group);
    if (button->text() == u"-") {
        g->setFixedHeight(1);
        button->setText(QStringLiteral("+"));
    } else {
        const int rows = g->rowCount();
        g->setFixedHeight(rows * 17 + rows + 1);
        button->setText(QStringLiteral("-"));
    }
}

void TParameterGroups::repaintGrids() {
    for (ParameterGroup g : AllGroups)
        grid(g)->viewport()->update();
}
