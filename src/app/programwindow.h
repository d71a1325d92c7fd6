#pragma once

#include <QStringList>

#include <memory>

// The windowed program, put together in one place: the platform services, the main window, its
// dialogs and the trim controller, created in their fixed order and connected.
class TProgramWindow {
public:
    TProgramWindow(const QString& programDir, const QStringList& arguments);
    ~TProgramWindow();
    TProgramWindow(const TProgramWindow&) = delete;
    TProgramWindow& operator=(const TProgramWindow&) = delete;

    void show();

private:
    struct Parts;
    std::unique_ptr<Parts> m_parts;
};
