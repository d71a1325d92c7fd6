// The three key/value grids of a window: rows, editing, drawing and sizing.
#include "profiles/parametergroups.h"

#include <QApplication>
#include <QComboBox>
#include <QScrollArea>
#include <QTest>
#include <QToolButton>

namespace {

ProfileParameter row(const QString& key, const QString& value, bool readOnly = false,
                     const QStringList& choices = {}, bool list = false) {
    return {key, value, readOnly || list, list, choices};
}

// Video: a list, a free-text row, a greyed row. Audio: one list. Advanced: none.
ProfileRows sampleRows() {
    ProfileRows rows;
    rows.video = {row("Size", "c", true, {"a", "b", "c"}, true), row("Free", "typed"),
                  row("Fixed", "grey", true)};
    rows.audio = {row("Channels", "Stereo", true, {"Mono", "Stereo"}, true)};
    return rows;
}

QPoint cell(const TValueListEditor* grid, int r, int column) {
    return grid->visualRect(grid->model()->index(r, column)).center();
}

QImage image(TValueListEditor* grid) {
    return grid->grab().toImage();
}

// The background just inside a cell's top left corner.
QColor background(TValueListEditor* grid, int r, int column) {
    return image(grid).pixelColor(grid->visualRect(grid->model()->index(r, column)).topLeft() +
                                  QPoint(1, 1));
}

// The darkest grey level in a cell: the core of its text.
int darkest(TValueListEditor* grid, int r, int column) {
    const QImage shot = image(grid);
    const QRect rect = grid->visualRect(grid->model()->index(r, column)).adjusted(1, 1, -2, -2);
    int level = 255;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            level = qMin(level, qGray(shot.pixel(x, y)));
    return level;
}

class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

} // namespace

class TestParameterGrids : public QObject {
    Q_OBJECT
    std::unique_ptr<QScrollArea> m_window;
    TParameterGroups* m_groups = nullptr;

    void show(TParameterGroups::HeaderButtons buttons, const ProfileRows* rows = nullptr) {
        m_window = std::make_unique<QScrollArea>();
        m_window->setWidgetResizable(true);
        m_groups = new TParameterGroups(95, 92, buttons);
        m_window->setWidget(m_groups);
        m_window->resize(210, 400);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        if (rows)
            m_groups->showProfile(*rows);
    }

private slots:
    void cleanup() { m_window.reset(); }

    void loadSizesTheGrids() {
        const ProfileRows rows = sampleRows();
        show(TParameterGroups::HeaderButtons::Inert, &rows);
        QCOMPARE(QList<int>({m_groups->vleVideo->height(), m_groups->vleAudio->height(),
                             m_groups->vleAdvanced->height()}),
                 QList<int>({54, 18, 0}));
        QVERIFY(m_groups->btnAdvanced->parentWidget()->isVisible());    // the empty grid's bar
        QTRY_COMPARE(m_groups->btnAudio->parentWidget()->y(), 18 + 54); // stacked
        QCOMPARE(m_groups->shownText(ParameterGroup::Video, "size"), QString("c"));
        QCOMPARE(m_groups->shownText(ParameterGroup::Audio, "Size"), std::nullopt);
    }

    void doubleClickSteps_data() {
        QTest::addColumn<QStringList>("choices");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("after");
        QTest::newRow("last wraps to first") << QStringList{"a", "b", "c"} << "c"
                                             << "a";
        QTest::newRow("to the next, case ignored") << QStringList{"a", "b", "c"} << "A"
                                                   << "b";
        QTest::newRow("not among them: the first") << QStringList{"a", "b"} << "zz"
                                                   << "a";
        QTest::newRow("no entries") << QStringList{} << ""
                                    << "";
    }
    void doubleClickSteps() {
        QFETCH(QStringList, choices);
        QFETCH(QString, shown);
        ProfileRows rows;
        rows.video = {row("L", shown, true, choices, true)};
        show(TParameterGroups::HeaderButtons::Inert, &rows);
        TValueListEditor* grid = m_groups->vleVideo;
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell(grid, 0, 1));
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell(grid, 0, 1));
        QTEST(grid->parameter(0).value, "after");
        QTest::qWait(QApplication::doubleClickInterval() + 100);
        QCOMPARE(grid->indexWidget(grid->model()->index(0, 1)), nullptr); // no editor follows
    }

    void editorByRowKind_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("editor"); // class of the value cell's editor; empty: none
        QTest::newRow("list row: drop-down list") << 0 << "QComboBox";
        QTest::newRow("free text row: text editor") << 1 << "QExpandingLineEdit";
        QTest::newRow("read-only text row: none") << 2 << "";
    }
    void editorByRowKind() {
        QFETCH(int, row);
        QFETCH(QString, editor);
        ProfileRows rows = sampleRows();
        for (int i = 0; i < 12; ++i)
            rows.video[0].pickList << QString::number(i);
        show(TParameterGroups::HeaderButtons::Inert, &rows);
        TValueListEditor* grid = m_groups->vleVideo;
        const QModelIndex index = grid->model()->index(row, 1);
        grid->setCurrentIndex(index);
        QTest::keyClick(grid, Qt::Key_F2);
        QWidget* open = grid->indexWidget(index);
        QCOMPARE(open ? QString(open->metaObject()->className()) : QString(), editor);
        if (auto* list = qobject_cast<QComboBox*>(open)) {
            QVERIFY(!list->isEditable());
            QCOMPARE(list->maxVisibleItems(), 8);
            QCOMPARE(list->currentText(), QString("c"));
            list->setCurrentIndex(10);
            emit list->activated(10);
            QTRY_COMPARE(m_groups->shownText(ParameterGroup::Video, "Size"), QString("7"));
        }
    }

    void currentRowMarkingAndGreyText() {
        const ProfileRows rows = sampleRows();
        show(TParameterGroups::HeaderButtons::Inert, &rows);
        TValueListEditor* video = m_groups->vleVideo;
        TValueListEditor* audio = m_groups->vleAudio;
        const QColor blue(49, 106, 197), window = video->palette().color(QPalette::Base);
        // A click on a key only moves to its row.
        QTest::mouseClick(video->viewport(), Qt::LeftButton, {}, cell(video, 2, 0));
        QCOMPARE(QApplication::focusWidget(), video);
        QCOMPARE(video->currentIndex(), video->model()->index(2, 1));
        QCOMPARE(background(video, 2, 0), blue);
        QCOMPARE(background(video, 0, 0), video->palette().color(QPalette::Button));
        QCOMPARE(background(video, 2, 1), window); // values are never highlighted
        QCOMPARE(darkest(video, 2, 1), 192);       // silver, also on the current row
        QVERIFY(darkest(video, 1, 1) < 100 && darkest(video, 0, 1) < 100);
        QCOMPARE(background(audio, 0, 0), window); // current, not focused
        QTest::mouseClick(audio->viewport(), Qt::LeftButton, {}, cell(audio, 0, 1));
        QCOMPARE(background(audio, 0, 0), blue);
        QCOMPARE(background(video, 2, 0), window);
    }

    void pressRepaintsAllThree() {
        show(TParameterGroups::HeaderButtons::Inert);
        TValueListEditor* audio = m_groups->vleAudio;
        QTest::mouseClick(audio->viewport(), Qt::LeftButton, {}, cell(audio, 0, 1));
        QTest::qWait(50);
        PaintCounter video, advanced;
        m_groups->vleVideo->viewport()->installEventFilter(&video);
        m_groups->vleAdvanced->viewport()->installEventFilter(&advanced);
        QTest::mouseClick(audio->viewport(), Qt::LeftButton, {}, cell(audio, 1, 1));
        QTRY_VERIFY(video.paints > 0 && advanced.paints > 0);
    }

    void headerButtons_data() {
        QTest::addColumn<TParameterGroups::HeaderButtons>("buttons");
        QTest::addColumn<QList<int>>("heights"); // after each click, then after a load and click
        QTest::newRow("settings dialog")
            << TParameterGroups::HeaderButtons::Collapse << QList<int>{1, 109, 1, 54, 55};
        QTest::newRow("main window: no action")
            << TParameterGroups::HeaderButtons::Inert << QList<int>{108, 108, 108, 54, 54};
    }
    void headerButtons() {
        QFETCH(TParameterGroups::HeaderButtons, buttons);
        QFETCH(QList<int>, heights);
        show(buttons);
        const bool collapses = buttons == TParameterGroups::HeaderButtons::Collapse;
        for (int i = 0; i < 3; ++i) {
            QTest::mouseClick(m_groups->btnVideo, Qt::LeftButton);
            QCOMPARE(m_groups->vleVideo->height(), heights[i]);
            QCOMPARE(m_groups->btnVideo->text(), QString(collapses && i != 1 ? "+" : "-"));
            QTRY_COMPARE(m_groups->btnAudio->parentWidget()->y(), 18 + heights[i]);
        }
        m_groups->showProfile(sampleRows()); // into the collapsed grid: its rows, "+" stays
        QCOMPARE(m_groups->vleVideo->height(), heights[3]);
        QCOMPARE(m_groups->btnVideo->text(), QString(collapses ? "+" : "-"));
        QTest::mouseClick(m_groups->btnVideo, Qt::LeftButton);
        QCOMPARE(m_groups->vleVideo->height(), heights[4]);
    }
};

QTEST_MAIN(TestParameterGrids)
#include "tst_parametergrids.moc"
