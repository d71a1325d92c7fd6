#pragma once

#include "convert/commandlines.h"
#include "convert/conversionjob.h"
#include "convert/toolrunning.h"

#include <QList>
#include <QObject>
#include <QString>

struct ProgramValues;

// Before an item's encode pass, short runs of the encoder (and a field check by the transcoder)
// find where the encoder lands for the item's start and where its sound begins, and what its
// pictures are: film, interlaced video, or film woven into interlaced pictures. An item of some
// length is probed at more points, since a title may hold film in some parts and video in others.
class TItemProbe : public QObject {
    Q_OBJECT
public:
    TItemProbe(IToolRunner& runner, const ProgramValues& values, QObject* parent = nullptr);

    // Probes `item` of the disc at `discPath`; `frameRate` is its title's own, `picturesPath`
    // takes a second of pictures for the field check. `done` follows from the event loop.
    void start(const ConversionItem& item, const QString& discPath, double frameRate,
               const EncoderMemory& memory, const QString& picturesPath);
    // Ends the probe with the run going on: `done` follows with what is known so far.
    void stop() { m_stopped = true; }

signals:
    void done(const EncodeRoute& route);

private:
    enum class Step { None, Seek, Fields, Film };

    void onChunk(IToolRunner::Slot slot, const QString& text);
    void onFinished(IToolRunner::Slot slot);
    void seekProbed();
    void fieldsChecked();
    void nextFilmProbe();
    void filmProbed();
    void finish();

    IToolRunner& m_runner;
    const ProgramValues& m_values;
    ConversionItem m_item;
    QString m_discPath;
    double m_frameRate = 0;
    EncoderMemory m_memory;
    QString m_picturesPath;
    Step m_step = Step::None;
    bool m_stopped = false;
    EncodeRoute m_route;
    QString m_output;           // the running probe's, up to 1 MB
    QList<double> m_filmPoints; // where the item is still to be probed for film
    int m_filmSeen = 0;
};
