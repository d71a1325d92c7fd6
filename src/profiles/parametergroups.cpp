#include "parametergroups.h"

#include <QHeaderView>
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

TValueListEditor::TValueListEditor(int keyWidth, int valueWidth, QWidget* parent)
    : QTableWidget(0, 2, parent) {
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(RowPitch);
    horizontalHeader()->resizeSection(0, keyWidth);
    horizontalHeader()->resizeSection(1, valueWidth);
    horizontalHeader()->setStretchLastSection(true);
    setFrameShape(QFrame::NoFrame);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void TValueListEditor::setKeys(const QStringList& keys) {
    setRowCount(0);
    for (const QString& key : keys) {
        const int row = rowCount();
        insertRow(row);
        auto* keyItem = new QTableWidgetItem(key);
        keyItem->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        setItem(row, 0, keyItem);
        setItem(row, 1, new QTableWidgetItem());
    }
    setFixedHeight(rowCount() * RowPitch);
}

TParameterGroups::TParameterGroups(int keyWidth, int valueWidth, QWidget* parent)
    : QWidget(parent) {
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
    };
    group(QStringLiteral("      Video"), btnVideo, vleVideo, "vleVideo", InitialVideoKeys);
    group(QStringLiteral("      Audio"), btnAudio, vleAudio, "vleAudio", InitialAudioKeys);
    group(QStringLiteral("      Advanced"), btnAdvanced, vleAdvanced, "vleAdvanced",
          InitialAdvancedKeys);
    btnVideo->setObjectName(QStringLiteral("btnVideo"));
    btnAudio->setObjectName(QStringLiteral("btnAudio"));
    btnAdvanced->setObjectName(QStringLiteral("btnAdvanced"));
    layout->addStretch(1);
}

QWidget* TParameterGroups::headerBar(const QString& caption, QToolButton*& button) {
    auto* bar = new QLabel(caption, this);
    bar->setFixedHeight(18);
    bar->setAutoFillBackground(true);
    QPalette pal = bar->palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Dark));
    pal.setColor(QPalette::WindowText, Qt::black);
    bar->setPalette(pal);
    QFont bold = bar->font();
    bold.setBold(true);
    bar->setFont(bold);
    bar->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    button = new QToolButton(bar);
    button->setText(QStringLiteral("-"));
    button->setGeometry(3, 3, 12, 12);
    return bar;
}
