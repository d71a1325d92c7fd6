#include "tabledata.h"
#include "trim/rangeslider.h"

#include <QKeyEvent>
#include <QPainter>
#include <QTest>

#include <memory>

class TestRangeSliderUi : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TmkRangeSlider> m_slider;
    int m_changes = 0;

    // A 345-pixel track over 0..max.
    void showSlider(int max, int minPosition, int maxPosition) {
        m_slider = std::make_unique<TmkRangeSlider>();
        m_slider->resize(371, 32);
        m_slider->setMax(max);
        m_slider->setMaxPosition(maxPosition);
        m_slider->setMinPosition(minPosition);
        m_changes = 0;
        m_slider->OnChange = [this] { ++m_changes; };
        m_slider->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_slider.get()));
    }
    QList<int> positions() const { return {m_slider->MinPosition(), m_slider->MaxPosition()}; }

private slots:
    void init() { showSlider(345, 100, 200); } // one unit a pixel
    void cleanup() { m_slider.reset(); }

    void dragging_data() {
        QTest::addColumn<int>("max");
        QTest::addColumn<QList<int>>("from");
        QTest::addColumn<QString>("grab"); // "min", "max" or "track" (beside the thumbs)
        QTest::addColumn<bool>("shift");
        QTest::addColumn<QList<int>>("moves"); // pixels from the press
        QTest::addColumn<QList<int>>("to");
        QTest::addColumn<int>("changes");
        const QList<int> span{100, 200};
        QTest::newRow("min thumb")
            << 345 << span << "min" << false << QList{10, 30} << QList{130, 200} << 1;
        QTest::newRow("min thumb stops at the max thumb")
            << 345 << span << "min" << false << QList{150} << QList{200, 200} << 1;
        QTest::newRow("Shift moves the span")
            << 345 << span << "min" << true << QList{30} << QList{130, 230} << 1;
        QTest::newRow("Shift drag stops at the end")
            << 345 << span << "min" << true << QList{100, 200} << QList{245, 345} << 1;
        QTest::newRow("Shift drag stops at the start")
            << 345 << span << "max" << true << QList{-150} << QList{0, 100} << 1;
        QTest::newRow("Shift keeps an empty span whole")
            << 345 << QList{100, 100} << "min" << true << QList{40} << QList{140, 140} << 1;
        QTest::newRow("ends where it began")
            << 345 << span << "min" << false << QList{30, 0} << span << 0;
        QTest::newRow("ends where it began, ten units a pixel")
            << 3450 << QList{1003, 2000} << "min" << false << QList{3, 0} << QList{1003, 2000} << 0;
        QTest::newRow("pressed beside the thumbs")
            << 345 << span << "track" << false << QList{-200} << span << 0;
    }
    void dragging() {
        const QList<int> from = cell<QList<int>>("from");
        showSlider(cell<int>("max"), from[0], from[1]);
        QFETCH(QString, grab);
        const QPoint press = grab == "min"   ? m_slider->MinThumb().LastRect().center()
                             : grab == "max" ? m_slider->MaxThumb().LastRect().center()
                                             : m_slider->TrackRect().topLeft() + QPoint(300, 5);
        const auto modifiers = cell<bool>("shift") ? Qt::ShiftModifier : Qt::NoModifier;
        QTest::mousePress(m_slider.get(), Qt::LeftButton, modifiers, press);
        QPoint at = press;
        for (int move : cell<QList<int>>("moves")) {
            at = press + QPoint(move, 0);
            QTest::mouseEvent(QTest::MouseMove, m_slider.get(), Qt::NoButton, modifiers, at);
        }
        QCOMPARE(m_changes, 0); // not while dragging
        QTest::mouseRelease(m_slider.get(), Qt::LeftButton, modifiers, at);
        QCOMPARE(positions(), cell<QList<int>>("to"));
        QCOMPARE(m_changes, cell<int>("changes"));

        m_changes = 0; // values set later notify again
        m_slider->setMinPosition(m_slider->MinPosition() - 1);
        QCOMPARE(m_changes, 1);
    }

    void arrowKeysAreConsumed() {
        QTest::keyClick(m_slider.get(), Qt::Key_Right, Qt::ControlModifier);
        QTest::keyClick(m_slider.get(), Qt::Key_Left, Qt::ShiftModifier);
        QCOMPARE(positions(), QList<int>({99, 200}));
        QCOMPARE(m_changes, 3); // one per position set
        QKeyEvent arrow(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(m_slider.get(), &arrow);
        QCoreApplication::sendEvent(m_slider.get(), &escape);
        QVERIFY(arrow.isAccepted());
        QVERIFY(!escape.isAccepted());
        // Where the keys act shows: the slider looks different with the focus.
        m_slider->clearFocus();
        const QImage without = m_slider->grab().toImage();
        m_slider->activateWindow();
        m_slider->setFocus();
        QTRY_VERIFY(m_slider->hasFocus());
        QVERIFY(m_slider->grab().toImage() != without);
    }

    void movingAThumbRedrawsOnlyItsRectangle() {
        // A mark the owner drew on the track: a whole repaint would wipe it.
        const QPoint mark = m_slider->TrackRect().topLeft() + QPoint(300, 3);
        m_slider->DrawOnCanvas([&](QPainter& p) { p.fillRect(QRect(mark, QSize(1, 1)), Qt::red); });
        m_slider->setMinPosition(150);
        m_slider->setMaxPosition(250);
        const QImage moved = m_slider->Canvas().toImage();
        QCOMPARE(moved.pixel(mark), qRgb(255, 0, 0));
        // Apart from the mark, the thumbs left exactly what a fresh painting shows.
        m_slider->Paint();
        QImage fresh = m_slider->Canvas().toImage();
        fresh.setPixel(mark, qRgb(255, 0, 0));
        QCOMPARE(moved, fresh);
    }

    void thumbsMeetEdgeToEdge() {
        m_slider->setMinPosition(200);
        const QRect minRect = m_slider->MinThumb().LastRect();
        const QRect maxRect = m_slider->MaxThumb().LastRect();
        QCOMPARE(minRect.size(), QSize(10, 22));
        QCOMPARE(maxRect.size(), QSize(10, 22));
        QCOMPARE(minRect.right() + 1, maxRect.left());
    }

    void turningSwapsWidthAndHeight() {
        m_slider->setOrientation(rsVertical);
        QCOMPARE(m_slider->size(), QSize(32, 371));
        QCOMPARE(m_slider->minimumSize(), QSize(10, 50));
        QCOMPARE(m_slider->MinThumb().LastRect().size(), QSize(22, 10));
    }

    void thumbWithoutSliderCannotBeDrawn() {
        TmkThumbBitmap thumb;
        QPixmap canvas(20, 20);
        QString message;
        try {
            thumb.Draw(canvas);
        } catch (const EmkRangeSlider& error) {
            message = error.message();
        }
        QCOMPARE(message, QString("Slider not assigned to bitmap"));
    }
};

QTEST_MAIN(TestRangeSliderUi)
#include "tst_rangeslider_ui.moc"
