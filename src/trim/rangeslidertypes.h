#pragma once

#include <QList>
#include <QPoint>
#include <QSize>
#include <QString>

#include <stdexcept>

enum TmkOrientation { rsHorizontal, rsVertical };
enum TmkTickStyle { rsBottomRight, rsTopLeft }; // the side the thumbs point to
enum TmkThumbStyle { rsStandard, rsTriangle, rsCorner, rsArrow };

// The range slider refused a value, or a thumb was drawn that belongs to no slider.
// message() is the text the user is shown.
class EmkRangeSlider : public std::runtime_error {
public:
    explicit EmkRangeSlider(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

// A thumb's outline: the polygon's points and the hot spot, the pixel that sits on the
// thumb's position.
struct TmkPointsArray {
    QPoint HotSpot;
    QList<QPoint> Points;

    // The bitmap the polygon needs: largest x + 1 by largest y + 1.
    QSize size() const;
    friend bool operator==(const TmkPointsArray&, const TmkPointsArray&) = default;
};
