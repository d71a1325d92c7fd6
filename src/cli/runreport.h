#pragma once

#include "convert/conversiondriver.h"

#include <QJsonObject>
#include <QString>

struct RunResult;

// What a run without a window prints as it goes.

// One progress step: "item 40% total 20% frames 1 / 2 elapsed 00:00:01 remaining 00:00:04".
QString ProgressLine(const ConversionProgress& progress);
// {"event":"progress","item":…,"percent":…,"total_percent":…,"frames":…,"frames_total":…,
// "elapsed_s":…,"remaining_s":…}, figures as numbers; remaining_s is null until it is known.
QJsonObject ProgressJson(const ConversionProgress& progress);
// {"event":"item","item":…,"result":"converted|failed|skipped","file":…,"reason":…}.
QJsonObject ItemJson(const QString& outputPath, ItemResult result, const QString& reason);
// The last object of a run: {"event":"done","converted":N,"failed":N,"skipped":N}, with
// "canceled":true after a cancel. `outputs` are the paths of the items begun.
QJsonObject RunResultJson(const RunResult& result, const QStringList& outputs, bool canceled);
