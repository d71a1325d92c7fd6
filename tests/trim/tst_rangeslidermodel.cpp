#include "tabledata.h"
#include "trim/rangeslidermodel.h"

#include <QTest>

using ArrowKey = TmkRangeSliderModel::ArrowKey;
enum class Op { SetMin, SetMax, SetMinPosition, SetMaxPosition };
Q_DECLARE_METATYPE(Op)
Q_DECLARE_METATYPE(ArrowKey)
Q_DECLARE_METATYPE(TmkOrientation)
Q_DECLARE_METATYPE(TmkTickStyle)
Q_DECLARE_METATYPE(TmkThumbStyle)

namespace {

// Every notification in the order raised; before-change notes the positions it still sees.
void record(TmkRangeSliderModel& m, QStringList& log) {
    m.OnBeforeChange = [&] {
        log << QString("before %1..%2").arg(m.MinPosition()).arg(m.MaxPosition());
    };
    m.OnMinChange = [&](int v) { log << QString("min %1").arg(v); };
    m.OnMaxChange = [&](int v) { log << QString("max %1").arg(v); };
    m.OnMinPosChange = [&](int v) { log << QString("minpos %1").arg(v); };
    m.OnMaxPosChange = [&](int v) { log << QString("maxpos %1").arg(v); };
    m.OnChange = [&] { log << "change"; };
}

void apply(TmkRangeSliderModel& m, Op op, int value) {
    switch (op) {
    case Op::SetMin:
        m.setMin(value);
        break;
    case Op::SetMax:
        m.setMax(value);
        break;
    case Op::SetMinPosition:
        m.setMinPosition(value);
        break;
    case Op::SetMaxPosition:
        m.setMaxPosition(value);
        break;
    }
}

// 0..max with the positions at minPosition..maxPosition, on a track of `length` pixels.
void prepare(TmkRangeSliderModel& m, int max, int minPosition, int maxPosition, int length = 345) {
    m.setMax(max);
    m.setMaxPosition(maxPosition);
    m.setMinPosition(minPosition);
    m.Layout(QSize(length + 26, 32)); // standard thumbs are 10 wide
}

} // namespace

class TestRangeSliderModel : public QObject {
    Q_OBJECT
private slots:
    void settingValues_data() {
        QTest::addColumn<Op>("op");
        QTest::addColumn<int>("value");
        QTest::addColumn<QList<int>>("positions");
        QTest::addColumn<QString>("log");
        QTest::addColumn<QString>("refused");
        // From 0..10 with the positions at 2..6.
        QTest::newRow("min position crossing the max position")
            << Op::SetMinPosition << 8 << QList{6, 6} << "before 2..6, minpos 6, change"
            << "";
        QTest::newRow("max position crossing the min position")
            << Op::SetMaxPosition << 1 << QList{2, 2} << "before 2..6, maxpos 2, change"
            << "";
        QTest::newRow("min position below Min")
            << Op::SetMinPosition << -4 << QList{0, 6} << "before 2..6, minpos 0, change"
            << "";
        QTest::newRow("a position set to its value") << Op::SetMaxPosition << 6 << QList{2, 6} << ""
                                                     << "";
        QTest::newRow("Min set to its value")
            << Op::SetMin << 0 << QList{2, 6} << "before 2..6, min 0, change"
            << "";
        QTest::newRow("Max set to its value")
            << Op::SetMax << 10 << QList{2, 6} << "before 2..6, max 10, change"
            << "";
        QTest::newRow("narrowing Max pulls the positions in quietly")
            << Op::SetMax << 1 << QList{1, 1} << "before 2..6, max 1, change"
            << "";
        QTest::newRow("raising Min pulls the positions in quietly")
            << Op::SetMin << 8 << QList{8, 8} << "before 2..6, min 8, change"
            << "";
        QTest::newRow("Min at Max") << Op::SetMin << 10 << QList{2, 6} << ""
                                    << "Min >= Max";
        QTest::newRow("Max below Min") << Op::SetMax << -5 << QList{2, 6} << ""
                                       << "Max <= Min";
    }
    void settingValues() {
        TmkRangeSliderModel m;
        prepare(m, 10, 2, 6);
        QStringList log;
        record(m, log);
        QString refused;
        try {
            apply(m, cell<Op>("op"), cell<int>("value"));
        } catch (const EmkRangeSlider& error) {
            refused = error.message();
        }
        QCOMPARE(refused, cell<QString>("refused"));
        QCOMPARE(QList<int>({m.MinPosition(), m.MaxPosition()}), cell<QList<int>>("positions"));
        QCOMPARE(log.join(", "), cell<QString>("log"));
    }

    void layout_data() {
        QTest::addColumn<TmkOrientation>("orientation");
        QTest::addColumn<QSize>("control");
        QTest::addColumn<int>("ownerLength"); // -1: no OnGetRullerLength
        QTest::addColumn<QRect>("track");
        QTest::addColumn<QSize>("resized");
        QTest::newRow("length from the width")
            << rsHorizontal << QSize(371, 32) << -1 << QRect(13, 6, 345, 11) << QSize(371, 32);
        QTest::newRow("the owner's length sets the width")
            << rsHorizontal << QSize(200, 32) << 100 << QRect(13, 6, 100, 11) << QSize(126, 32);
        QTest::newRow("the owner's length is at least 30")
            << rsHorizontal << QSize(200, 32) << 10 << QRect(13, 6, 30, 11) << QSize(56, 32);
        QTest::newRow("vertical") << rsVertical << QSize(32, 200) << -1 << QRect(6, 13, 11, 174)
                                  << QSize(32, 200);
    }
    void layout() {
        QFETCH(int, ownerLength);
        TmkRangeSliderModel m;
        m.setOrientation(cell<TmkOrientation>("orientation"));
        if (ownerLength >= 0)
            m.OnGetRullerLength = [ownerLength](int& length) { length = ownerLength; };
        QCOMPARE(m.Layout(cell<QSize>("control")), cell<QSize>("resized"));
        QCOMPARE(m.TrackRect(), cell<QRect>("track"));
    }

    void pixelsRoundHalvesToEven() {
        TmkRangeSliderModel m;
        prepare(m, 4, 0, 4, 10); // 2.5 pixels a unit
        QCOMPARE(QList<int>({m.PositionToPixel(1), m.PositionToPixel(3)}), QList<int>({2, 8}));
        QCOMPARE(QList<int>({m.PixelToPosition(5), m.PixelToPosition(8)}), QList<int>({2, 3}));
    }

    void tickStep_data() {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("max");
        QTest::addColumn<int>("frequency");
        QTest::addColumn<int>("step");
        QTest::newRow("an hour on 345 px: 50 would be 4 px apart") << 345 << 3600 << 0 << 100;
        QTest::newRow("exactly 5 px") << 345 << 600 << 0 << 10;
        QTest::newRow("a step of 2") << 345 << 100 << 0 << 2;
        QTest::newRow("Frequency wins") << 345 << 3600 << 250 << 250;
        QTest::newRow("no track: one step past the range") << 0 << 3600 << 0 << 5000;
    }
    void tickStep() {
        TmkRangeSliderModel m;
        m.setFrequency(cell<int>("frequency"));
        prepare(m, cell<int>("max"), 0, 0, cell<int>("length"));
        QCOMPARE(m.TickStep(), cell<int>("step"));
    }

    void ticksOverAnHour() {
        TmkRangeSliderModel m;
        prepare(m, 3600, 0, 0);
        const QList<TmkTick> ticks = m.Ticks();
        QCOMPARE(ticks.size(), 36); // 0, 100, ..., 3500: none at Max
        QCOMPARE(ticks.at(1), (TmkTick{10, false}));
        QList<int> large;
        for (int i = 0; i < ticks.size(); ++i)
            if (ticks.at(i).large)
                large << i;
        QCOMPARE(large, QList<int>({0, 10, 20, 30}));
        m.setFrequency(100000); // the time editor's step
        QCOMPARE(m.Ticks(), QList<TmkTick>({{0, true}}));
    }

    void thumbShapes_data() {
        QTest::addColumn<TmkThumbStyle>("style");
        QTest::addColumn<TmkOrientation>("orientation");
        QTest::addColumn<TmkTickStyle>("tickStyle");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("minHotSpot");
        QTest::addColumn<QPoint>("maxHotSpot");
        QTest::newRow("standard") << rsStandard << rsHorizontal << rsBottomRight << QSize(10, 22)
                                  << QPoint(9, 9) << QPoint(0, 9);
        QTest::newRow("ticks on top") << rsStandard << rsHorizontal << rsTopLeft << QSize(10, 22)
                                      << QPoint(9, 12) << QPoint(0, 12);
        QTest::newRow("vertical") << rsStandard << rsVertical << rsBottomRight << QSize(22, 10)
                                  << QPoint(9, 9) << QPoint(9, 0);
        QTest::newRow("triangle") << rsTriangle << rsHorizontal << rsBottomRight << QSize(10, 19)
                                  << QPoint(9, 9) << QPoint(0, 9);
        QTest::newRow("corner") << rsCorner << rsHorizontal << rsBottomRight << QSize(19, 19)
                                << QPoint(18, 9) << QPoint(0, 9);
        QTest::newRow("arrow") << rsArrow << rsHorizontal << rsBottomRight << QSize(22, 25)
                               << QPoint(21, 12) << QPoint(0, 12);
    }
    void thumbShapes() {
        const TmkThumbShapes shapes =
            MakeThumbShapes(cell<TmkThumbStyle>("style"), cell<TmkOrientation>("orientation"),
                            cell<TmkTickStyle>("tickStyle"));
        QCOMPARE(shapes.minThumb.size(), cell<QSize>("size"));
        QCOMPARE(shapes.maxThumb.size(), cell<QSize>("size"));
        QCOMPARE(shapes.minThumb.HotSpot, cell<QPoint>("minHotSpot"));
        QCOMPARE(shapes.maxThumb.HotSpot, cell<QPoint>("maxHotSpot"));
    }

    void arrowKeys_data() {
        QTest::addColumn<TmkOrientation>("orientation");
        QTest::addColumn<ArrowKey>("key");
        QTest::addColumn<bool>("ctrl");
        QTest::addColumn<bool>("shift");
        QTest::addColumn<QList<int>>("from");
        QTest::addColumn<QList<int>>("to");
        // 0..10; the widget's own test presses Ctrl+Right and Shift+Left.
        QTest::newRow("Shift wins over Ctrl")
            << rsHorizontal << ArrowKey::Right << true << true << QList{3, 7} << QList{4, 8};
        QTest::newRow("Shift+Left at Min")
            << rsHorizontal << ArrowKey::Left << false << true << QList{0, 7} << QList{0, 7};
        QTest::newRow("Shift+Right keeps an empty span whole")
            << rsHorizontal << ArrowKey::Right << false << true << QList{5, 5} << QList{6, 6};
        QTest::newRow("vertical: Up goes towards Min")
            << rsVertical << ArrowKey::Up << false << false << QList{3, 7} << QList{2, 7};
    }
    void arrowKeys() {
        TmkRangeSliderModel m;
        m.setOrientation(cell<TmkOrientation>("orientation"));
        const QList<int> from = cell<QList<int>>("from");
        prepare(m, 10, from[0], from[1]);
        m.MoveByArrow(cell<ArrowKey>("key"), cell<bool>("ctrl"), cell<bool>("shift"));
        QCOMPARE(QList<int>({m.MinPosition(), m.MaxPosition()}), cell<QList<int>>("to"));
    }
};

QTEST_APPLESS_MAIN(TestRangeSliderModel)
#include "tst_rangeslidermodel.moc"
