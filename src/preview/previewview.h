#pragma once

#include <QString>

// The preview pane's controls as the player logic reaches them.
class IPreviewView {
public:
    virtual ~IPreviewView() = default;

    virtual void setStartText(const QString& text) = 0;    // labStart
    virtual void setMiddleText(const QString& text) = 0;   // labMiddle
    virtual void setEndText(const QString& text) = 0;      // labEnd
    virtual void setPlayTimeText(const QString& text) = 0; // labPreviewPlayTime
    // TrackBar: shows the position without reporting it back as the user's move.
    virtual void showBarPosition(int position) = 0;
    virtual void setPaneEnabled(bool enabled) = 0; // panPreview
    // A line over the video window saying why the preview stopped; empty takes it away.
    virtual void showNotice(const QString& text) = 0;
};
